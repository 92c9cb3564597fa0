#pragma once
// A catalogue screen on its own: a data file of its own in a temporary folder, the scripted
// services, full access the test switches, and the context the screen is built on. Every
// statement the screen runs is logged.
#include "platform/scripted/scripted.h"
#include "receipts/receipts.h"
#include "store/context.h"
#include "store/database.h"
#include "tests/support/datafile.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace tillora::test {

class SwitchableAccess : public AccessView {
public:
    void set(bool on) { setOn(on); }
};

struct ScreenFixture {
    explicit ScreenFixture(Translate translate = {})
        : context{db,
                  fake.services,
                  std::move(translate),
                  Guard(fake.messages),
                  access,
                  receipts,
                  []() { return QStringLiteral("$"); },
                  QStringLiteral(","),
                  nullptr} {}

    // Makes the data file from the schema and extraSql and opens it. Each different file is
    // made once per test run and copied for every test that asks for it.
    bool open(const QString& extraSql = QString()) {
        static QTemporaryDir made;
        static QHash<QString, QString> files;
        QString& original = files[extraSql];
        if (original.isEmpty()) {
            const QString path = made.filePath(QString::number(files.size()) + QStringLiteral(".db"));
            if (!makeDataFile(path, extraSql))
                return false;
            original = path;
        }
        if (!QFile::copy(original, path()) ||
            !QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner) || !db.open(path()))
            return false;
        log.attach(db);
        return true;
    }
    QString path() const { return dir.filePath(QStringLiteral("data.db")); }
    // What the data file holds, read with the bare library.
    QStringList rows(const QString& sql) const { return rowsOf(path(), sql); }
    // Runs sql on the data file behind the program's back (a trigger, a dropped table).
    bool exec(const QString& sql) const { return execOn(path(), sql); }
    // The statements of a kind run since the last clear.
    QStringList statements(Database::StatementKind kind) const {
        QStringList list;
        for (const StatementLog::Entry& e : log.entries) {
            if (e.kind == kind)
                list << e.sql;
        }
        return list;
    }
    QStringList queries() const { return statements(Database::StatementKind::Query); }
    QStringList commands() const { return statements(Database::StatementKind::Command); }

    // Shows a screen in a window of its own, as the main window shows it.
    static bool show(QWidget& screen) {
        screen.resize(1000, 560);
        screen.show();
        screen.activateWindow();
        return QTest::qWaitForWindowExposed(&screen);
    }
    // Presses a key on whatever has the keyboard focus in the screen's window.
    static void key(QWidget& screen, Qt::Key key) { QTest::keyClick(focused(screen), key); }
    static void type(QWidget& screen, const QString& text) { QTest::keyClicks(focused(screen), text); }
    static QWidget* focused(QWidget& screen) {
        QWidget* widget = screen.window()->focusWidget();
        return widget ? widget : &screen;
    }

    QTemporaryDir dir;
    ScriptedServices fake;
    ScriptedMessages& messages = fake.messages;
    Database db{fake.messages};
    SwitchableAccess access;
    ReceiptSettings receipts;
    ProgramContext context;
    StatementLog log;
};

} // namespace tillora::test
