#pragma once
// A ProgramContext for tests of the commands that take one: its own temporary folder with a
// data file made from the schema, scripted services, full access that the test switches, and
// a translator that marks what it translates when asked to.
#include "platform/scripted/scripted.h"
#include "receipts/receipts.h"
#include "store/context.h"
#include "store/database.h"
#include "tests/support/datafile.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace tillora::test {

class SwitchableAccess : public AccessView {
public:
    void set(bool on) { setOn(on); }
};

// A language that marks every text it translates: <text>.
inline QString marked(const QString& text) {
    return QLatin1Char('<') + text + QLatin1Char('>');
}

// The bytes of a file, "<missing>" when it cannot be read.
inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct ContextFixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("data.db"));
    ScriptedServices fake;
    Database db{fake.messages};
    SwitchableAccess access;
    ReceiptSettings receipts;
    ProgramContext context{db,
                           fake.services,
                           Translate(),
                           Guard(fake.messages),
                           access,
                           receipts,
                           [] { return QStringLiteral("$"); },
                           QStringLiteral(";"),
                           nullptr};

    // Lays a copy of an empty data file (made from the schema once per run) and opens it.
    bool open() {
        static QTemporaryDir master;
        static const bool made = makeDataFile(master.filePath(QStringLiteral("empty.db")));
        return made && QFile::copy(master.filePath(QStringLiteral("empty.db")), path) && db.open(path);
    }
    QString file(const QString& name) const { return dir.filePath(name); }
};

} // namespace tillora::test
