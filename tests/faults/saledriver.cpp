// Sells the planned carts (saleplan.h) into a data file through the logic library, one after
// the other, as the cash sale of the register does: the power-loss test kills it at random
// moments, the two-instance test runs two of it on one file.
//
//   tillora_saledriver DATA_FILE SEED [COUNT]
//
// Prints "ready" once the file is open, then "sold N" after each recorded sale. Without COUNT
// it sells until it is killed. Exits 2 when a sale is not recorded.
#include "platform/scripted/scripted.h"
#include "receipts/receipts.h"
#include "register/cart.h"
#include "register/cashsale.h"
#include "store/database.h"
#include "tests/faults/saleplan.h"

#include <QCoreApplication>

#include <cstdio>
#include <limits>

using namespace tillora;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: tillora_saledriver DATA_FILE SEED [COUNT]\n");
        return 1;
    }
    const quint64 seed = args[2].toULongLong();
    const int count = args.size() > 3 ? args[3].toInt() : std::numeric_limits<int>::max();

    ScriptedServices fake; // "Confirm?" is answered Yes; "Ask Print" is off: no receipt
    Database db(fake.messages);
    if (!db.open(args[1])) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(args[1]), qPrintable(db.lastError()));
        return 2;
    }
    SaleRegister reg(db);
    ReceiptSettings receipts;
    SaleContext sale{db, reg, fake.services, receipts, [](const QString& text) { return text; }, {}, {}};
    std::printf("ready\n");
    std::fflush(stdout);

    for (int index = 0; index < count; ++index) {
        for (const test::PlannedLine& line : test::plannedSale(seed, index)) {
            if (line.barcode.isEmpty()) {
                reg.addByHand(line.name, 1, line.quantity);
                continue;
            }
            reg.ScanBuffer = line.barcode;
            reg.QuantityToAdd = line.quantity;
            if (!reg.lookUpScanBuffer()) {
                std::fprintf(stderr, "product %s not found\n", qPrintable(line.barcode));
                return 2;
            }
        }
        if (SellByCash(sale) != SaleResult::Completed) {
            std::fprintf(stderr, "sale %d not recorded: %s\n", index,
                         qPrintable(fake.messages.texts().join(QLatin1Char('|'))));
            return 2;
        }
        std::printf("sold %d\n", index);
        std::fflush(stdout);
    }
    return 0;
}
