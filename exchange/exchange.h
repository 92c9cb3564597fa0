#pragma once
// The commands of the "Export", "Import" and "Delete" submenus of the "Operations" menu. Each
// runs one command from start to end, dialogs included; an error that abandons it is raised
// as AppError for the guard the menu item is connected through.
#include "exchange/csvexport.h"

namespace tillora {

struct ProgramContext;

// "Export" > "Products", "Customers", "Payments", "Credits": asks for a file and writes every
// row of the table to it. A failure to write shows why; an older file of that name stays
// whole then, and after a cancel.
void exportTable(ProgramContext& context, ExchangeTable table);

// "Import" > "Products": asks for a file and adds its products, then shows how many were
// imported (and which lines were not).
void importProducts(ProgramContext& context);

// "Delete" > "Products", "Customers", "Payments", "Credits": with full access and after a
// Yes to the question, empties the table. Nothing else changes.
void deleteAllRows(ProgramContext& context, ExchangeTable table);

} // namespace tillora
