// Reference for the start-up benchmark: a bare Qt main window of the program's design size.
// It prints the moment its first frame is painted (nanoseconds of the monotonic clock), as
// the program does under TILLORA_STARTUP_PROBE, and ends. It shares no code with the program.
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

class FirstFrame : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_ && watched->isWidgetType()) {
            seen_ = true;
            QTimer::singleShot(0, this, []() {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                const long long ns = static_cast<long long>(now.tv_sec) * 1000000000 + now.tv_nsec;
                std::printf("frame %lld\nstartup %lld\nstall 0\n", ns, ns);
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool seen_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    FirstFrame probe;
    window.installEventFilter(&probe);
    window.resize(841, 619);
    window.show();
    return QApplication::exec();
}
