#pragma once
#include <QApplication>

namespace tillora {

class IMessages;

// The application object. Every handler of the program's windows runs under the guard, so no
// error should ever reach Qt's event dispatch; should one slip through all the same, it is
// shown in the default error box here instead of ending the program with the sale on screen.
class TilloraApplication : public QApplication {
public:
    using QApplication::QApplication;
    void setMessages(IMessages* messages) { messages_ = messages; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    IMessages* messages_ = nullptr;
};

} // namespace tillora
