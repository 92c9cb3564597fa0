#include "app/backup.h"

#include "common/errors.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "store/backupfile.h"
#include "store/context.h"
#include "store/database.h"
#include "store/startup.h"

#include <QDir>

namespace tillora {

namespace {

const QString dbFilter = QStringLiteral("DB (*.db)");
const QString dbExtension = QStringLiteral("db");

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Input to correct: a warning box, and the command stops.
void refuse(const ProgramContext& context, const QString& text) {
    context.messages().show(context.tr(QStringLiteral("WARNING")), text, MsgIcon::Warning, {MsgButton::Ok},
                            MsgButton::Ok);
}

QString checkProblem(const ProgramContext& context, const BackupCheck& check) {
    switch (check.problem) {
    case BackupCheck::Problem::MissingTable:
        return context.tr(QStringLiteral("The table %1 is missing.")).arg(check.detail);
    case BackupCheck::Problem::Damaged:
        return context.tr(QStringLiteral("The file is damaged:")) + QLatin1Char(' ') +
               withFullStop(check.detail);
    default:
        return withFullStop(check.detail);
    }
}

void reopen(ProgramContext& context, const RestoreHooks& hooks, const QString& live) {
    if (hooks.rerunStartup)
        hooks.rerunStartup();
    else
        runStartupWork(context.db, live, context.translate);
}

} // namespace

QString liveDataFile(const ProgramContext& context) {
    return context.db.path().isEmpty() ? dataFilePath() : context.db.path();
}

void backupDataFile(ProgramContext& context) {
    const QString target = context.services.files->saveFile(context.tr(QStringLiteral("Save As")), dbFilter,
                                                            dbExtension, QString());
    if (target.isEmpty())
        return;
    const QString live = liveDataFile(context);
    if (isSameFile(target, live)) {
        refuse(context, context
                            .tr(QStringLiteral("\"%1\" is the data file in use. Choose another file for the "
                                               "backup."))
                            .arg(native(target)));
        return;
    }
    QString error;
    if (!copyDatabase(live, target, error))
        throw AppError(
            context.tr(QStringLiteral("Cannot create file \"%1\". %2")).arg(native(target), error));
}

void restoreFromBackup(ProgramContext& context, const RestoreHooks& hooks) {
    const QString source =
        context.services.files->openFile(context.tr(QStringLiteral("Open")), dbFilter, dbExtension);
    if (source.isEmpty())
        return;
    const QString live = liveDataFile(context);
    if (isSameFile(source, live)) {
        refuse(context,
               context.tr(QStringLiteral("\"%1\" is the data file in use. Choose a backup to restore."))
                   .arg(native(source)));
        return;
    }
    const BackupCheck check = checkBackupFile(source);
    if (!check.ok()) {
        refuse(context, context.tr(QStringLiteral("\"%1\" is not a backup of the data file. %2"))
                            .arg(native(source), checkProblem(context, check)));
        return;
    }

    // No connection may stay open on a file that is being replaced.
    context.db.close();
    QString error;
    const bool replaced = replaceDataFile(live, source, error);
    // The program goes on with a data file in any case: the restored one, or the old one.
    reopen(context, hooks, live);
    if (!replaced)
        throw AppError(context
                           .tr(QStringLiteral("The backup \"%1\" could not be restored: %2 The data file was "
                                              "not changed."))
                           .arg(native(source), withFullStop(error)));
    if (confirm(context.messages(), context.tr(QStringLiteral("Restart Application?"))) && hooks.restart)
        hooks.restart();
}

} // namespace tillora
