#pragma once
// Scripted doubles of the platform layer. Each records what the program showed or did and
// answers from a queue, so a test reads like the behaviour it checks:
//   messages.answers << MsgButton::Yes;  ...  QCOMPARE(messages.shown.last().caption, "Confirm");
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/printing.h"
#include "platform/progress.h"
#include "platform/scripted/memorysettings.h"
#include "platform/services.h"
#include "platform/shell.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <optional>

namespace tillora {

struct ShownMessage {
    QString caption;
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons;
    // The captions given to the buttons (showCaptioned); empty for their usual captions.
    QStringList buttonTexts;
};

class ScriptedMessages : public IMessages {
public:
    // Answers in order; when the queue is empty the box's default button is taken.
    QQueue<MsgButton> answers;
    QList<ShownMessage> shown;
    int beeps = 0;

    MsgButton show(const QString& caption, const QString& text, MsgIcon icon, const MsgButtons& buttons,
                   MsgButton defaultButton) override;
    MsgButton showCaptioned(const QString& caption, const QString& text, MsgIcon icon,
                            const MsgButtons& buttons, MsgButton defaultButton,
                            const QStringList& buttonTexts) override;
    void beep() override { ++beeps; }
    // The texts of all boxes shown, in order.
    QStringList texts() const;
    void clear();
};

struct ShownPrompt {
    QString caption;
    QString promptText;
    QString okText;
    QString cancelText;
    QString initialValue;
};

class ScriptedPrompts : public IPrompts {
public:
    // A value answers OK with that text; nullopt answers Cancel. An empty queue answers Cancel.
    QQueue<std::optional<QString>> answers;
    QList<ShownPrompt> shown;

    bool prompt(const QString& caption, const QString& promptText, QString& value, const QString& okText,
                const QString& cancelText) override;
};

class ScriptedFileDialogs : public IFileDialogs {
public:
    struct Request {
        QString kind; // "open", "save", "saveEncoding", "folder"
        QString caption;
        QString filter;
        QString defaultExt;
        QString suggestedName;
    };
    // Paths to answer with, in order; the empty text (or an empty queue) means cancelled.
    QQueue<QString> answers;
    QQueue<TextEncoding> encodings;
    QList<Request> requests;

    QString openFile(const QString& caption, const QString& filter, const QString& defaultExt) override;
    QString saveFile(const QString& caption, const QString& filter, const QString& defaultExt,
                     const QString& suggestedName) override;
    bool saveFileWithEncoding(const QString& caption, const QString& filter, const QString& defaultExt,
                              const QString& suggestedName, SaveChoice& choice) override;
    bool chooseFolder(const QString& caption, QString& folder) override;

private:
    QString next();
};

class ScriptedPrinting : public IPrinting {
public:
    struct Job {
        QString title;
        QString text;
        QImage image;
        QSize dots; // the size an image is printed at, in printer dots
    };
    bool dialogAccepts = true;    // false: the dialog is cancelled
    bool printerAvailable = true; // false: no printer, every step fails
    QSize dotsPerInch{600, 600};  // the printer's resolution
    QList<Job> jobs;
    int dialogs = 0;

    bool choosePrinter(QString& error) override;
    bool printText(const QString& title, const QString& text, QString& error) override;
    bool printerResolution(QSize& dotsPerInch, QString& error) override;
    bool printImage(const QString& title, const QImage& image, const QSize& dots, QString& error) override;
};

class ScriptedShell : public IShell {
public:
    struct Started {
        QString program;
        QStringList arguments;
        QString workingDir;
    };
    bool succeeds = true;
    QStringList openedUrls;
    QList<Started> started;

    bool openUrl(const QString& url) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDir) override;
};

class ScriptedProgress : public IProgress {
public:
    struct Started {
        QString caption;
        QString text;
        QString cancelText;
        qint64 total = 0;
    };
    // Cancel is pressed once the work reaches this many steps; -1 never.
    qint64 cancelAt = -1;
    QList<Started> started;
    QList<qint64> steps;
    int finished = 0;
    bool showing = false;

    void start(const QString& caption, const QString& text, const QString& cancelText, qint64 total) override;
    bool step(qint64 done) override;
    void finish() override;
};

class FixedClock : public IClock {
public:
    QDateTime time = QDateTime(QDate(2026, 1, 15), QTime(14, 5, 9));
    QDateTime now() const override { return time; }
};

// Every service of a run scripted, for a main window under test.
struct ScriptedServices {
    ScriptedMessages messages;
    ScriptedPrompts prompts;
    ScriptedFileDialogs files;
    ScriptedPrinting printing;
    ScriptedShell shell;
    FixedClock clock;
    MemorySettingsStore settings;
    ScriptedProgress progress;
    Services services{&messages, &prompts, &files, &printing, &shell, &clock, &settings, &progress};

    ScriptedServices() = default;
    ScriptedServices(const ScriptedServices&) = delete;
    ScriptedServices& operator=(const ScriptedServices&) = delete;
};

} // namespace tillora
