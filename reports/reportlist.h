#pragma once
// What the report windows share on screen: the list in report style and the placement of a
// window in the middle of the screen.
#include <QList>
#include <QString>

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace tillora {

// A read-only list of rows: grid lines, whole-row selection of one row, the program's typeface
// 15 pixels high, rows of even height, columns of the given widths in pixels.
QTableView* makeReportList(const QString& name, QAbstractItemModel* model, const QList<int>& widths,
                           QWidget* parent);

// Moves window (not yet shown) to the middle of the screen it will open on.
void centreOnScreen(QWidget& window);

} // namespace tillora
