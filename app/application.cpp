#include "app/application.h"

#include "common/font.h"
#include "platform/guard.h"

#include <QFont>

namespace tillora {

TilloraApplication::TilloraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    useProgramFont();
    // Ties the windows to the installed tillora.desktop (its name and icon in docks and
    // window lists).
    setDesktopFileName(QStringLiteral("tillora"));
}

bool TilloraApplication::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    auto dispatch = [&]() { result = QApplication::notify(receiver, event); };
    if (messages_)
        runGuarded(*messages_, dispatch);
    else
        dispatch();
    return result;
}

void useProgramFont() {
    QApplication::setFont(QFont(fontFamily(), 8));
}

QIcon programIcon(int largest) {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        if (size > largest)
            break;
        icon.addFile(QStringLiteral(":/icons/%1x%1/tillora.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace tillora
