#pragma once

#include <QImage>
#include <QWidget>

namespace quillory {

class MpvVideoRenderer;

// Paints the renderer's frames (already letterboxed by libmpv to the view's size)
// and, over them, a one-line notice when the picture cannot be shown.
class VideoView : public QWidget {
    Q_OBJECT
public:
    explicit VideoView(MpvVideoRenderer &renderer, QWidget *parent = nullptr);

    void setNotice(const QString &text);
    QString notice() const { return m_notice; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    MpvVideoRenderer &m_renderer;
    QString m_notice;
};

} // namespace quillory
