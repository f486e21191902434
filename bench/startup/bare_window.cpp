// The yardstick for the program's start-up: a bare Qt 6 frameless window of the program's size,
// centred, filled with one colour, and nothing else.
#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.resize(388, 409);
    window.setPalette(QPalette(QColor(0x2b, 0x57, 0x9a)));
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    return application.exec();
}
