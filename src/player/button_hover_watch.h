#pragma once

#include <QObject>

class PlayerControls;
class QWidget;
class TransportButtonPictures;

// Tells the buttons' pictures where the pointer is: over one of the five
// buttons, or over the bare client area around them.
class ButtonHoverWatch : public QObject {
    Q_OBJECT
public:
    ButtonHoverWatch(QWidget *client, const PlayerControls &controls,
                     TransportButtonPictures &pictures);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_client;
    TransportButtonPictures &m_pictures;
};
