#include "platform/qt/qtfiledialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

namespace tillora {

namespace {

// Qt separates filters with ";;"; callers may pass "|"-separated lists too.
QString qtFilter(const QString& filter) {
    QString f = filter;
    return f.replace(QLatin1Char('|'), QStringLiteral(";;"));
}

void prepareSave(QFileDialog& dialog, const QString& filter, const QString& defaultExt,
                 const QString& suggestedName) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The program's save dialogs replace an existing file without a question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(qtFilter(filter));
    QString ext = defaultExt;
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    dialog.setDefaultSuffix(ext);
    if (!suggestedName.isEmpty())
        dialog.selectFile(suggestedName);
}

} // namespace

QString QtFileDialogs::openFile(const QString& caption, const QString& filter, const QString& defaultExt) {
    QFileDialog dialog(QApplication::activeWindow(), caption);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(qtFilter(filter));
    dialog.setDefaultSuffix(defaultExt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtFileDialogs::saveFile(const QString& caption, const QString& filter, const QString& defaultExt,
                                const QString& suggestedName) {
    QFileDialog dialog(QApplication::activeWindow(), caption);
    prepareSave(dialog, filter, defaultExt, suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return withDefaultExtension(dialog.selectedFiles().constFirst(), defaultExt);
}

bool QtFileDialogs::saveFileWithEncoding(const QString& caption, const QString& filter,
                                         const QString& defaultExt, const QString& suggestedName,
                                         SaveChoice& choice) {
    QFileDialog dialog(QApplication::activeWindow(), caption);
    // The encoding choice needs a place in the dialog, which only Qt's own dialog offers.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    prepareSave(dialog, filter, defaultExt, suggestedName);
    auto* encoding = new QComboBox(&dialog);
    encoding->setObjectName(QStringLiteral("EncodingCombo"));
    encoding->addItems({QStringLiteral("ANSI"), QStringLiteral("UTF-8"), QStringLiteral("Unicode")});
    encoding->setCurrentIndex(static_cast<int>(choice.encoding));
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QStringLiteral("Encoding:"), &dialog), row, 0);
        grid->addWidget(encoding, row, 1);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    choice.path = withDefaultExtension(dialog.selectedFiles().constFirst(), defaultExt);
    choice.encoding = static_cast<TextEncoding>(encoding->currentIndex());
    return true;
}

bool QtFileDialogs::chooseFolder(const QString& caption, QString& folder) {
    const QString chosen = QFileDialog::getExistingDirectory(QApplication::activeWindow(), caption, folder);
    if (chosen.isEmpty())
        return false;
    folder = chosen;
    return true;
}

} // namespace tillora
