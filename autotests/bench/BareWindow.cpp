// The yardstick for start-up: a bare Qt window of the tester's size that
// shows one line of Chinese text.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.setFixedSize(431, 309);
    QLabel line(QStringLiteral("欢迎使用Kestrova有限公司打印机"), &window);
    line.move(8, 8);
    window.show();
    return application.exec();
}
