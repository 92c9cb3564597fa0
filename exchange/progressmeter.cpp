#include "exchange/progressmeter.h"

#include "platform/progress.h"

namespace tillora {

ProgressMeter::ProgressMeter(IProgress* progress, const QString& caption, const QString& text,
                             const QString& cancelText, qint64 total) {
    if (progress && total > windowFrom) {
        progress_ = progress;
        progress_->start(caption, text, cancelText, total);
    }
}

ProgressMeter::~ProgressMeter() {
    if (progress_)
        progress_->finish();
}

bool ProgressMeter::ask() {
    if (progress_ && !cancelled_)
        cancelled_ = !progress_->step(done_);
    return !cancelled_;
}

bool ProgressMeter::complete() {
    return ask();
}

} // namespace tillora
