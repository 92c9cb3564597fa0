#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace tillora {

enum class MsgIcon { None, Information, Warning, Error, Question };

// Values follow the usual dialog results, so a double's log reads like the screen.
enum class MsgButton { None = 0, Ok = 1, Cancel = 2, Yes = 6, No = 7 };

using MsgButtons = QList<MsgButton>;

// Message boxes and the system beep.
class IMessages {
public:
    virtual ~IMessages() = default;
    // Shows a modal box and returns the button pressed (None when it was closed otherwise).
    virtual MsgButton show(const QString& caption, const QString& text, MsgIcon icon,
                           const MsgButtons& buttons, MsgButton defaultButton) = 0;
    // show, with the buttons captioned by buttonTexts, the first text on the first button of
    // buttons and so on; a button past the last text keeps its usual caption. A box that cannot
    // caption its buttons shows them as show does.
    virtual MsgButton showCaptioned(const QString& caption, const QString& text, MsgIcon icon,
                                    const MsgButtons& buttons, MsgButton defaultButton,
                                    const QStringList& buttonTexts) {
        Q_UNUSED(buttonTexts)
        return show(caption, text, icon, buttons, defaultButton);
    }
    virtual void beep() = 0;
};

// The messages of work done away from the screen, on a thread of its own: kept, each answered
// with its default button, to be shown later on the screen's thread in the order they came.
class KeptMessages : public IMessages {
public:
    MsgButton show(const QString& caption, const QString& text, MsgIcon icon, const MsgButtons& buttons,
                   MsgButton defaultButton) override;
    void beep() override {}
    bool isEmpty() const { return kept_.isEmpty(); }
    // Shows every kept message on messages and forgets them.
    void showOn(IMessages& messages);

private:
    struct Kept {
        QString caption;
        QString text;
        MsgIcon icon;
        MsgButtons buttons;
        MsgButton defaultButton;
    };
    QList<Kept> kept_;
};

// One-line text prompt with OK and Cancel.
class IPrompts {
public:
    virtual ~IPrompts() = default;
    // A prompt text that starts with character 31 is shown without it and masks the entry with "*".
    // Returns true for OK; value holds the text then. okText and cancelText are the button captions.
    virtual bool prompt(const QString& caption, const QString& promptText, QString& value,
                        const QString& okText, const QString& cancelText) = 0;
};

// The application title: caption of plain message boxes and of the default error box.
inline QString applicationTitle() {
    return QStringLiteral("Tillora");
}

// The default error box: application title, error icon, OK; a full stop is added when the
// text ends in a letter or a digit.
void showDefaultError(IMessages& messages, const QString& text);
QString withFullStop(const QString& text);

// A plain box with the application title as caption and an OK button.
void showPlain(IMessages& messages, const QString& text);

// The standard confirmation dialog: caption "Confirm", question icon, buttons "Yes" and "No"
// (these stay English). Returns true for Yes.
bool confirm(IMessages& messages, const QString& text);

} // namespace tillora
