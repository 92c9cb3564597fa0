#pragma once
// For the start-up benchmark: with TILLORA_STARTUP_PROBE set, the program prints on standard
// output the moments (nanoseconds of the system's monotonic clock, which the benchmark also
// reads before it starts the process) at which the main window's first frame was painted and
// the start-up work had run, and the longest time the event loop was kept from running in
// between, then ends. Nothing of this runs in a normal start.
#include <QElapsedTimer>
#include <QObject>

class QWidget;

namespace tillora {

class StartupProbe : public QObject {
public:
    // Watches window; startupFinished is to be called when the start-up work has run.
    explicit StartupProbe(QWidget* window);
    void startupFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void reportWhenBothDone();

    qint64 frameNs_ = 0;
    qint64 startupNs_ = 0;
    qint64 lastTickNs_ = 0;
    qint64 longestStallNs_ = 0;
    int tickTimer_ = 0;
};

} // namespace tillora
