#include "platform/messages.h"

namespace tillora {

QString withFullStop(const QString& text) {
    if (!text.isEmpty() && text.back().isLetterOrNumber())
        return text + QLatin1Char('.');
    return text;
}

void showDefaultError(IMessages& messages, const QString& text) {
    messages.show(applicationTitle(), withFullStop(text), MsgIcon::Error, {MsgButton::Ok}, MsgButton::Ok);
}

void showPlain(IMessages& messages, const QString& text) {
    messages.show(applicationTitle(), text, MsgIcon::None, {MsgButton::Ok}, MsgButton::Ok);
}

bool confirm(IMessages& messages, const QString& text) {
    return messages.show(QStringLiteral("Confirm"), text, MsgIcon::Question, {MsgButton::Yes, MsgButton::No},
                         MsgButton::Yes) == MsgButton::Yes;
}

} // namespace tillora
