#pragma once
// Data files of products for the benchmarks.
#include <QByteArray>
#include <QString>

#include <functional>

namespace tillora::bench {

// The barcode of product i: 13 digits, spread over the range so the index is not filled in order.
QByteArray benchBarcode(qint64 i);

// The name of product i: "Product i" unless a benchmark names its products itself.
using ProductName = std::function<QByteArray(int i)>;

// A data file from the schema with count products (barcode benchBarcode(i), prices from 0.50
// up), made in one transaction with one prepared insert. Replaces any file at path.
bool makeProductFile(const QString& path, int count, const ProductName& name = {});

// A program folder of its own under the scratch folder: the program and a data file of count
// products, named after what measures it.
QString programFolder(const QString& name, int count);

// The bare run of a statement on the file at path: prepare, read every field of every row,
// finalize; the median of repeats runs in milliseconds, -1 when no row came back.
double bareQueryMs(const QString& path, const QString& sql, int repeats);

} // namespace tillora::bench
