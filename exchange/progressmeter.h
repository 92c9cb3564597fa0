#pragma once
#include <QString>
#include <QtGlobal>

namespace tillora {

class IProgress;

// The progress window of an export or an import: shown only for work of more than a few
// thousand rows, asked every thousand rows whether the user cancelled, closed when the meter
// goes away (also when an error abandons the work).
class ProgressMeter {
public:
    // Work of more rows than this shows the window.
    static constexpr qint64 windowFrom = 5000;
    // Rows between two questions to the window.
    static constexpr qint64 stride = 1000;

    // progress may be null: the work then runs without a window.
    ProgressMeter(IProgress* progress, const QString& caption, const QString& text, const QString& cancelText,
                  qint64 total);
    ~ProgressMeter();
    ProgressMeter(const ProgressMeter&) = delete;
    ProgressMeter& operator=(const ProgressMeter&) = delete;

    // Counts one row; false once the user cancelled.
    bool advance() {
        ++done_;
        return done_ % stride != 0 || ask();
    }
    // Moves the bar to the end; false when the user cancelled at the last moment.
    bool complete();

private:
    bool ask();

    IProgress* progress_ = nullptr; // null while no window shows
    qint64 done_ = 0;
    bool cancelled_ = false;
};

} // namespace tillora
