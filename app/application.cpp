#include "app/application.h"

#include "common/font.h"
#include "platform/guard.h"

#include <QFont>

namespace tillora {

TilloraApplication::TilloraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    useProgramFont();
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

} // namespace tillora
