#include "app/startupprobe.h"

#include <QEvent>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tillora {

namespace {

qint64 monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

StartupProbe::StartupProbe(QWidget* window) : QObject(window) {
    window->installEventFilter(this);
}

// The first paint event of the window: the frame is on the screen once this event, the
// painting of its children and the flush to the display have run, that is at the next turn
// of the event loop.
bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && frameNs_ == 0 && watched->isWidgetType()) {
        frameNs_ = -1;
        QTimer::singleShot(0, this, [this]() {
            frameNs_ = monotonicNs();
            lastTickNs_ = frameNs_;
            // A fine timer from the first frame on: a late tick means the loop was kept busy.
            tickTimer_ = startTimer(2, Qt::PreciseTimer);
            reportWhenBothDone();
        });
    }
    return false;
}

void StartupProbe::timerEvent(QTimerEvent* event) {
    if (event->timerId() != tickTimer_)
        return;
    const qint64 now = monotonicNs();
    longestStallNs_ = std::max(longestStallNs_, now - lastTickNs_);
    lastTickNs_ = now;
}

void StartupProbe::startupFinished() {
    if (startupNs_ == 0)
        startupNs_ = monotonicNs();
    reportWhenBothDone();
}

void StartupProbe::reportWhenBothDone() {
    // TILLORA_STARTUP_PROBE=frame ends at the first frame, for a profile of what comes before.
    static const bool frameOnly = qgetenv("TILLORA_STARTUP_PROBE") == "frame";
    if (frameNs_ <= 0 || (startupNs_ == 0 && !frameOnly))
        return;
    // The stall that counts is the one after the first frame until the start-up work is done.
    const qint64 now = monotonicNs();
    longestStallNs_ = std::max(longestStallNs_, now - lastTickNs_);
    std::printf("frame %lld\nstartup %lld\nstall %lld\n", static_cast<long long>(frameNs_),
                static_cast<long long>(std::max(startupNs_, frameNs_)),
                static_cast<long long>(longestStallNs_));
    std::fflush(stdout);
    // Ends at once: what the benchmark measures is over, and the program's data are all
    // written by then.
    std::_Exit(0);
}

} // namespace tillora
