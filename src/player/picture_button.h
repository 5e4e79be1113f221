#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A transport or open button drawn from a picture file. The picture is scaled
// into the button; when it is missing the button shows its fallback text, so a
// lost file never leaves an unusable button.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(const QString &fallbackText, QWidget *parent = nullptr);

    // Loads the picture from disk (nothing is cached). Returns false when it is
    // missing or unreadable; the button then draws its fallback text.
    bool loadPicture(const QString &path);
    const QString &picturePath() const { return m_path; }
    bool hasPicture() const { return !m_pixmap.isNull(); }

    // The tag of the original controls: a text the window keeps with the button.
    QString tag;

signals:
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    QSize sizeHint() const override;

private:
    QPixmap m_pixmap;
    QString m_path;
};
