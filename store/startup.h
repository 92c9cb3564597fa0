#pragma once
#include "common/translate.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tillora {

class Database;

// The filter lists of the sales records screen, filled once at start. The first entry of
// each ("All Customers", "All Products", translated) is the selected one.
struct StartupLists {
    QStringList customers;
    QStringList products;
};

// Adds what data files made by earlier versions lack: the columns urunler.stok and
// veresiyeler.odemetarihi, and the index odemeler_barkod_toplam the top selling ranking reads.
// Runs no command when all are there.
void upgradeDataFile(Database& db);

// "All Customers" and then every customer name, in name order.
QStringList customerFilterList(Database& db, const Translate& translate);
// "All Products" and then every product name, in name order.
QStringList productFilterList(Database& db, const Translate& translate);

// Called with the filter lists made once a data file that could not be opened at start has
// opened after all.
using LaterLists = std::function<void(const StartupLists& lists)>;

// The start-up work: opens the data file at path (a failure is reported and the upgrade
// skipped), upgrades it and fills the two filter lists, which are filled also when the
// file could not be opened. An empty translate leaves the texts as they are.
// When the file could not be opened (locked by another program, for example), the next
// statement that needs it opens it again; the upgrade then runs and the lists are made anew
// and handed to laterLists, before that statement.
StartupLists runStartupWork(Database& db, const QString& path, const Translate& translate,
                            LaterLists laterLists = {});

} // namespace tillora
