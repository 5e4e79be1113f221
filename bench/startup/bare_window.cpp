// The reference for the start-up benchmark: the least a Qt Widgets program does
// to put a window on screen.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Quillory"));
    window.resize(320, 170);
    window.show();
    return app.exec();
}
