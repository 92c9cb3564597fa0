// Reference for the start-up benchmark: a bare Qt window that shows and ends at once.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(841, 619);
    window.show();
    QTimer::singleShot(1, &app, &QApplication::quit);
    return QApplication::exec();
}
