#include "store/context.h"

namespace tillora {

bool requireFullAccess(const ProgramContext& context) {
    if (context.access.fullAccess())
        return true;
    context.messages().show(context.tr(QStringLiteral("WARNING")),
                            context.tr(QStringLiteral("You are not logged as admin!")), MsgIcon::Warning,
                            {MsgButton::Ok}, MsgButton::Ok);
    return false;
}

} // namespace tillora
