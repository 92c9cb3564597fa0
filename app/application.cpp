#include "app/application.h"

#include "platform/guard.h"

namespace tillora {

bool TilloraApplication::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    auto dispatch = [&]() { result = QApplication::notify(receiver, event); };
    if (messages_)
        runGuarded(*messages_, dispatch);
    else
        dispatch();
    return result;
}

} // namespace tillora
