#include "platform/qt/qtmessages.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace tillora {

namespace {

QMessageBox::Icon toQt(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonInfo {
    MsgButton button;
    QMessageBox::ButtonRole role;
    const char* caption;
};

constexpr ButtonInfo buttonTable[] = {
    {MsgButton::Ok, QMessageBox::AcceptRole, "OK"},
    {MsgButton::Cancel, QMessageBox::RejectRole, "Cancel"},
    {MsgButton::Yes, QMessageBox::YesRole, "Yes"},
    {MsgButton::No, QMessageBox::NoRole, "No"},
};

} // namespace

MsgButton QtMessages::show(const QString& caption, const QString& text, MsgIcon icon,
                           const MsgButtons& buttons, MsgButton defaultButton) {
    return showCaptioned(caption, text, icon, buttons, defaultButton, {});
}

MsgButton QtMessages::showCaptioned(const QString& caption, const QString& text, MsgIcon icon,
                                    const MsgButtons& buttons, MsgButton defaultButton,
                                    const QStringList& buttonTexts) {
    QMessageBox box(toQt(icon), caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    QList<QPair<QAbstractButton*, MsgButton>> made;
    for (MsgButton b : buttons) {
        for (const ButtonInfo& info : buttonTable) {
            if (info.button != b)
                continue;
            QPushButton* pb = box.addButton(QString::fromLatin1(info.caption), info.role);
            if (made.size() < buttonTexts.size())
                pb->setText(buttonTexts.at(made.size()));
            pb->setObjectName(QStringLiteral("MsgButton") + QString::fromLatin1(info.caption));
            made.append({pb, b});
            if (b == defaultButton)
                box.setDefaultButton(pb);
            if (b == MsgButton::Cancel || b == MsgButton::No || buttons.size() == 1)
                box.setEscapeButton(pb);
        }
    }
    box.exec();
    for (const auto& [pb, b] : made) {
        if (box.clickedButton() == pb)
            return b;
    }
    return MsgButton::None;
}

void QtMessages::beep() {
    QApplication::beep();
}

bool QtPrompts::prompt(const QString& caption, const QString& promptText, QString& value,
                       const QString& okText, const QString& cancelText) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("PromptDialog"));
    dialog.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dialog);
    const bool masked = promptText.startsWith(QChar(31));
    auto* label = new QLabel(masked ? promptText.mid(1) : promptText, &dialog);
    auto* edit = new QLineEdit(value, &dialog);
    edit->setObjectName(QStringLiteral("PromptEdit"));
    if (masked) {
        edit->setEchoMode(QLineEdit::Password);
        edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    }
    auto* box = new QDialogButtonBox(&dialog);
    QPushButton* ok = box->addButton(okText, QDialogButtonBox::AcceptRole);
    QPushButton* cancel = box->addButton(cancelText, QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("PromptOK"));
    cancel->setObjectName(QStringLiteral("PromptCancel"));
    ok->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(box);
    dialog.setMinimumWidth(320);
    edit->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = edit->text();
    return true;
}

} // namespace tillora
