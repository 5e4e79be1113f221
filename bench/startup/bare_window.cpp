// The references for the start-up benchmark: the least a Qt Widgets program does
// to put a window on screen, and with --menu-and-text the least it does to put
// up one that shows text, as the player does (a menu bar with the player's six
// titles and a line of text).
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>
#include <cstring>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (argc > 1 && std::strcmp(argv[1], "--menu-and-text") == 0) {
        auto textWindow = std::make_unique<QMainWindow>();
        for (const char *title : {"&File", "&Bookmarks", "&Options", "&Language", "&Window", "&?"})
            textWindow->menuBar()->addMenu(QString::fromLatin1(title));
        textWindow->setCentralWidget(new QLabel(QStringLiteral("0:00 / 0:00")));
        window = std::move(textWindow);
    } else {
        window = std::make_unique<QWidget>();
    }
    window->setWindowTitle(QStringLiteral("Quillory"));
    window->resize(320, 170);
    window->show();
    return app.exec();
}
