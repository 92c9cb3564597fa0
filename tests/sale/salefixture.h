#pragma once
// What the sale tests share: a data file made once from the schema and a fixture, copied
// fresh for every test, with a register and scripted services working on the copy.
#include "platform/scripted/memorysettings.h"
#include "platform/scripted/scripted.h"
#include "receipts/receipts.h"
#include "register/cart.h"
#include "store/database.h"
#include "tests/support/datafile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace tillora::test {

struct SaleFixture {
    QTemporaryDir dir;
    QString master; // the fixture, made once and copied for each test
    QString path;   // this test's copy
    std::unique_ptr<ScriptedServices> fake;
    std::unique_ptr<Database> db;
    std::unique_ptr<SaleRegister> reg;
    ReceiptSettings receipts;
    int fileNumber = 0;

    bool makeMaster(const QString& sql) {
        master = dir.filePath(QStringLiteral("master.db"));
        return makeDataFile(master, sql);
    }
    // A fresh copy of the fixture, opened, with an empty register and the receipt values of
    // empty settings.
    bool fresh(const Translate& translate) {
        path = dir.filePath(QStringLiteral("data%1.db").arg(++fileNumber));
        if (!QFile::copy(master, path))
            return false;
        fake = std::make_unique<ScriptedServices>();
        db = std::make_unique<Database>(fake->messages);
        if (!db->open(path))
            return false;
        reg = std::make_unique<SaleRegister>(*db);
        receipts.load(fake->settings, translate);
        return true;
    }
    void close() {
        reg.reset();
        db.reset();
    }
};

} // namespace tillora::test
