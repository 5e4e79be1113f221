#pragma once

#include <QWidget>

class QFrame;
class QLabel;

namespace quillory {
class DesktopLinks;
class LanguageTable;
} // namespace quillory

// The about box: product name, version, description, credits and the home page
// link. A click anywhere on it closes it; the window that opened it learns that
// through unloaded() and shows itself again.
class frmAbout : public QWidget {
    Q_OBJECT
public:
    frmAbout(const quillory::LanguageTable &language, quillory::DesktopLinks *links,
             QWidget *parent = nullptr);

    // Fills the labels; run each time the box is shown.
    void Form_Load();
    void lblHomePage_Click();

    QFrame *Frame1 = nullptr;
    QLabel *imgTitle = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblCredits = nullptr;
    QLabel *lblHomePageCap = nullptr;
    QLabel *lblHomePage = nullptr;

signals:
    // The box was closed (by a click, Esc or the window's close button).
    void unloaded();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const quillory::LanguageTable &m_language;
    quillory::DesktopLinks *m_links;
    bool m_pressed = false;
};
