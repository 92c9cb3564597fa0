#pragma once
#include "platform/messages.h"

class QWidget;

namespace tillora {

// Message boxes through QMessageBox; button captions stay English ("OK", "Cancel", "Yes", "No").
class QtMessages : public IMessages {
public:
    MsgButton show(const QString& caption, const QString& text, MsgIcon icon, const MsgButtons& buttons,
                   MsgButton defaultButton) override;
    MsgButton showCaptioned(const QString& caption, const QString& text, MsgIcon icon,
                            const MsgButtons& buttons, MsgButton defaultButton,
                            const QStringList& buttonTexts) override;
    void beep() override;
};

// One-line prompts: a small dialog with a label, an entry box and OK/Cancel. The entry box,
// the OK and the Cancel buttons are named "PromptEdit", "PromptOK", "PromptCancel".
class QtPrompts : public IPrompts {
public:
    bool prompt(const QString& caption, const QString& promptText, QString& value, const QString& okText,
                const QString& cancelText) override;
};

} // namespace tillora
