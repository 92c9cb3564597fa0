#include "platform/scripted/scripted.h"

namespace tillora {

MsgButton ScriptedMessages::show(const QString& caption, const QString& text, MsgIcon icon,
                                 const MsgButtons& buttons, MsgButton defaultButton) {
    return showCaptioned(caption, text, icon, buttons, defaultButton, {});
}

MsgButton ScriptedMessages::showCaptioned(const QString& caption, const QString& text, MsgIcon icon,
                                          const MsgButtons& buttons, MsgButton defaultButton,
                                          const QStringList& buttonTexts) {
    shown.append({caption, text, icon, buttons, buttonTexts});
    return answers.isEmpty() ? defaultButton : answers.dequeue();
}

QStringList ScriptedMessages::texts() const {
    QStringList out;
    for (const auto& m : shown)
        out << m.text;
    return out;
}

void ScriptedMessages::clear() {
    shown.clear();
    answers.clear();
    beeps = 0;
}

bool ScriptedPrompts::prompt(const QString& caption, const QString& promptText, QString& value,
                             const QString& okText, const QString& cancelText) {
    shown.append({caption, promptText, okText, cancelText, value});
    if (answers.isEmpty())
        return false;
    const auto answer = answers.dequeue();
    if (!answer)
        return false;
    value = *answer;
    return true;
}

QString ScriptedFileDialogs::next() {
    return answers.isEmpty() ? QString() : answers.dequeue();
}

QString ScriptedFileDialogs::openFile(const QString& caption, const QString& filter,
                                      const QString& defaultExt) {
    requests.append({QStringLiteral("open"), caption, filter, defaultExt, {}});
    return next();
}

QString ScriptedFileDialogs::saveFile(const QString& caption, const QString& filter,
                                      const QString& defaultExt, const QString& suggestedName) {
    requests.append({QStringLiteral("save"), caption, filter, defaultExt, suggestedName});
    return withDefaultExtension(next(), defaultExt);
}

bool ScriptedFileDialogs::saveFileWithEncoding(const QString& caption, const QString& filter,
                                               const QString& defaultExt, const QString& suggestedName,
                                               SaveChoice& choice) {
    requests.append({QStringLiteral("saveEncoding"), caption, filter, defaultExt, suggestedName});
    const QString path = next();
    if (path.isEmpty())
        return false;
    choice.path = withDefaultExtension(path, defaultExt);
    choice.encoding = encodings.isEmpty() ? TextEncoding::Utf8 : encodings.dequeue();
    return true;
}

bool ScriptedFileDialogs::chooseFolder(const QString& caption, QString& folder) {
    requests.append({QStringLiteral("folder"), caption, {}, {}, folder});
    const QString path = next();
    if (path.isEmpty())
        return false;
    folder = path;
    return true;
}

bool ScriptedPrinting::choosePrinter(QString& error) {
    ++dialogs;
    if (!printerAvailable) {
        error = QStringLiteral("no printer");
        return false;
    }
    return dialogAccepts;
}

bool ScriptedPrinting::printText(const QString& title, const QString& text, QString& error) {
    if (!printerAvailable) {
        error = QStringLiteral("no printer");
        return false;
    }
    jobs.append({title, text, {}, {}});
    return true;
}

bool ScriptedPrinting::printerResolution(QSize& resolution, QString& error) {
    if (!printerAvailable) {
        error = QStringLiteral("no printer");
        return false;
    }
    resolution = dotsPerInch;
    return true;
}

bool ScriptedPrinting::printImage(const QString& title, const QImage& image, const QSize& dots,
                                  QString& error) {
    if (!printerAvailable) {
        error = QStringLiteral("no printer");
        return false;
    }
    jobs.append({title, {}, image, dots});
    return true;
}

bool ScriptedShell::openUrl(const QString& url) {
    openedUrls << url;
    return succeeds;
}

bool ScriptedShell::startDetached(const QString& program, const QStringList& arguments,
                                  const QString& workingDir) {
    started.append({program, arguments, workingDir});
    return succeeds;
}

void ScriptedProgress::start(const QString& caption, const QString& text, const QString& cancelText,
                             qint64 total) {
    started.append({caption, text, cancelText, total});
    showing = true;
}

bool ScriptedProgress::step(qint64 done) {
    steps.append(done);
    return cancelAt < 0 || done < cancelAt;
}

void ScriptedProgress::finish() {
    if (showing)
        ++finished;
    showing = false;
}

} // namespace tillora
