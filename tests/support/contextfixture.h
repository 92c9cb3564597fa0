#pragma once
// A program context for tests of windows: a data file of its own made from the schema (plus
// the statements a test adds), the scripted services, full access, the receipt values of
// empty settings, "," as list separator and no main window. Texts pass untranslated unless
// the test sets a translator.
#include "platform/scripted/scripted.h"
#include "receipts/receipts.h"
#include "store/context.h"
#include "store/database.h"
#include "tests/support/datafile.h"

#include <QByteArray>
#include <QDebug>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <memory>

namespace tillora::test {

// Full access that a test switches off and on.
class SwitchableAccess : public AccessView {
public:
    void set(bool on) { setOn(on); }
};

struct ContextFixture {
    QTemporaryDir dir;
    QString path;
    ScriptedServices fake;
    Database db{fake.messages};
    SwitchableAccess access;
    ReceiptSettings receipts;
    ProgramContext context{db,
                           fake.services,
                           {},
                           Guard(fake.messages),
                           access,
                           receipts,
                           [] { return QStringLiteral("$"); },
                           QStringLiteral(","),
                           nullptr};

    // Makes and opens the data file; false (with a warning) when either fails. A file made
    // once from the same statements is copied: making one costs a disk sync per statement.
    bool open(const QString& extraSql = QString()) {
        static QHash<QString, QByteArray> made;
        path = dir.filePath(QStringLiteral("data.db"));
        const auto found = made.constFind(extraSql);
        if (found != made.constEnd()) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(*found) != found->size())
                return false;
        } else {
            if (!makeDataFile(path, extraSql))
                return false;
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return false;
            made.insert(extraSql, file.readAll());
        }
        return db.open(path);
    }
    // Runs sql on the data file with the bare library, beside the program's connection.
    bool exec(const QString& sql) const { return execOn(path, sql); }
    // A file of that name in the test's own folder.
    QString file(const QString& name) const { return dir.filePath(name); }
};

// The bytes of a file, "<missing>" when it cannot be read.
inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A translator that marks every text it translates: "~" + text.
inline QString marked(const QString& text) {
    return QStringLiteral("~") + text;
}

// The child of parent named name (a control's objectName); warns when there is none.
template <typename T> T* child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no child %s", name);
    return found;
}

} // namespace tillora::test
