#include "platform/messages.h"

#include <utility>

namespace tillora {

MsgButton KeptMessages::show(const QString& caption, const QString& text, MsgIcon icon,
                             const MsgButtons& buttons, MsgButton defaultButton) {
    kept_.append(Kept{caption, text, icon, buttons, defaultButton});
    return defaultButton;
}

void KeptMessages::showOn(IMessages& messages) {
    const QList<Kept> kept = std::exchange(kept_, {});
    for (const Kept& k : kept)
        messages.show(k.caption, k.text, k.icon, k.buttons, k.defaultButton);
}

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
