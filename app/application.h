#pragma once
#include <QApplication>
#include <QIcon>

namespace tillora {

class IMessages;

// The application object. It gives every window the program's font and icon. Every handler
// of the program's windows runs under the guard, so no error should ever reach Qt's event
// dispatch; should one slip through all the same, it is shown in the default error box here
// instead of ending the program with the sale on screen.
class TilloraApplication : public QApplication {
public:
    TilloraApplication(int& argc, char** argv);
    void setMessages(IMessages* messages) { messages_ = messages; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    IMessages* messages_ = nullptr;
};

// Makes the program's typeface (common/font.h) the application font at 8 pt, the main
// window's design font, so every window and control that sets no font of its own uses it.
void useProgramFont();

// The application icon in the sizes of the icon set, from the program's resources.
QIcon programIcon(int largest = 256);

} // namespace tillora
