#pragma once
#include <QString>
#include <QtGlobal>

namespace tillora {

// The window of a long piece of work: a caption, a text, a bar and a Cancel button. The
// window stays on top of the program while the work runs; the work asks at each step whether
// the user cancelled.
class IProgress {
public:
    virtual ~IProgress() = default;
    // Shows the window for total steps.
    virtual void start(const QString& caption, const QString& text, const QString& cancelText,
                       qint64 total) = 0;
    // Moves the bar to done steps and lets the window answer the user; false once Cancel was pressed.
    virtual bool step(qint64 done) = 0;
    // Closes the window.
    virtual void finish() = 0;
};

} // namespace tillora
