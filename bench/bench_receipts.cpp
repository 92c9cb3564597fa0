// Completing a cash sale of 20 lines, from the click to the cleared cart (confirmation and
// print question answered by doubles), against the bare sqlite3 transaction of the same
// statements on the same file; and rendering a receipt of 500 lines.
#include "bench/bench.h"
#include "bench/products.h"

#include "common/formats.h"
#include "platform/scripted/scripted.h"
#include "receipts/receipts.h"
#include "register/cart.h"
#include "register/cashsale.h"
#include "store/database.h"
#include "store/sql.h"

#include <QDir>
#include <QElapsedTimer>

#include <sqlite3.h>

#include <algorithm>
#include <vector>

using namespace tillora;
using namespace tillora::bench;

namespace {

constexpr int saleLines = 20;
constexpr int saleRepeats = 21;

QString english(const QString& text) {
    return text;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Work> double timedMs(Work&& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

QList<Row> cashSaleRows() {
    const QString operation = QStringLiteral("cash sale, click to cleared cart");
    const QString size = QString::number(saleLines) + QStringLiteral(" lines");
    const QString goal = QStringLiteral("ratio <= 1.2");
    const QString path = QDir(scratchFolder()).filePath(QStringLiteral("receipts_sale.db"));
    if (!makeProductFile(path, 1000))
        return {Row{operation, size, 0, -1, goal, false}};

    ScriptedServices fake;
    Database db(fake.messages);
    if (!db.open(path) || !db.command(QStringLiteral("update urunler set stok='100000000';")))
        return {Row{operation, size, 0, -1, goal, false}};
    SaleRegister reg(db);
    ReceiptSettings receipts;
    receipts.load(fake.settings, english);
    receipts.askPrint = true;
    QList<CartLine> lines;
    for (int i = 0; i < saleLines; ++i) {
        const QString barcode = QString::fromLatin1(benchBarcode(i));
        const double price = 0.5 + i * 0.25;
        lines.append({barcode,
                      QStringLiteral("Product %1").arg(i),
                      FormatMoney(price),
                      QStringLiteral("2"),
                      FormatMoney(price * 2),
                      {},
                      {}});
    }
    SaleContext sale{db, reg, fake.services, receipts, english, {}, {}};
    auto ours = [&]() {
        for (const CartLine& line : lines)
            reg.cart().append(line);
        fake.messages.answers << MsgButton::Yes << MsgButton::Yes;
        SellByCash(sale);
    };

    sqlite3* bare = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &bare, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(bare, 5000);
    auto exec = [&](const QByteArray& sql) {
        sqlite3_exec(bare, sql.constData(), nullptr, nullptr, nullptr);
    };
    auto reference = [&]() {
        exec("BEGIN IMMEDIATE;");
        for (const CartLine& line : lines) {
            exec(("insert into odemeler (barkod,urunadi,adet,fiyat) values (" + quote(line.barcode) + ", " +
                  quote(line.name) + "," + quote(line.quantity) + "," + quote(line.price) + ");")
                     .toUtf8());
            const QByteArray query =
                ("SELECT stok FROM urunler where barkod=" + quote(line.barcode) + ";").toUtf8();
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(bare, query.constData(), -1, &stmt, nullptr);
            qint64 stock = 0;
            while (sqlite3_step(stmt) == SQLITE_ROW)
                stock = sqlite3_column_int64(stmt, 0);
            sqlite3_finalize(stmt);
            const qint64 remaining = std::max<qint64>(0, stock - line.quantity.toLongLong());
            exec(("update urunler set stok=" + quote(QString::number(remaining)) +
                  " where barkod=" + quote(line.barcode) + ";")
                     .toUtf8());
        }
        exec("COMMIT;");
    };

    // Alternate the two so both see the same disk.
    ours();
    reference();
    std::vector<double> oursTimes;
    std::vector<double> referenceTimes;
    for (int i = 0; i < saleRepeats; ++i) {
        oursTimes.push_back(timedMs(ours));
        referenceTimes.push_back(timedMs(reference));
    }
    sqlite3_close(bare);

    const bool sound = fake.messages.texts().count(QStringLiteral("Confirm?")) == saleRepeats + 1 &&
                       fake.printing.jobs.size() == saleRepeats + 1 && reg.cart().isEmpty() &&
                       db.failureCount() == 0;
    const double o = median(oursTimes);
    const double r = median(referenceTimes);
    return {Row{operation, size, o, r, goal, sound && o <= 1.2 * r}};
}

QList<Row> renderRows() {
    const QString operation = QStringLiteral("render receipt (default template)");
    ReceiptValues values;
    values.number = 123456;
    values.total = 0;
    values.moment = QDateTime::currentDateTime();
    QList<ReceiptLine> lines;
    for (int i = 0; i < 500; ++i) {
        lines.append(
            {QStringLiteral("Product name %1").arg(i), FormatMoney(1.25 + i), QString::number(i % 7 + 1)});
        values.total = *values.total + (1.25 + i) * (i % 7 + 1);
    }
    values.lines = lines;
    const QString templ = DefaultPrintTemplate(english);
    qsizetype checksum = 0;
    const double ms = medianMs([&]() { checksum += RenderReceipt(templ, values).size(); }, 201);
    return {Row{operation, QStringLiteral("500 lines"), ms, -1, QStringLiteral("< 1 ms"),
                checksum > 0 && ms < 1.0}};
}

} // namespace

TILLORA_BENCHMARK(receiptsCashSale) {
    return cashSaleRows();
}

TILLORA_BENCHMARK(receiptsRender) {
    return renderRows();
}
