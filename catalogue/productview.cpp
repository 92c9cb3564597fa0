#include "catalogue/productview.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionViewItem>

#include <algorithm>

namespace tillora {

ProductView::ProductView(QWidget* parent) : QListView(parent) {
    setUniformItemSizes(true);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int ProductView::count() const {
    return model() ? model()->rowCount(rootIndex()) : 0;
}

QSize ProductView::cell() const {
    if (viewMode() == IconMode && gridSize().isValid())
        return gridSize();
    // One column of entries as high as the first one asks to be.
    int height = std::max(iconSize().height(), fontMetrics().height()) + 4;
    if (count() > 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QModelIndex first = model()->index(0, modelColumn(), rootIndex());
        height = std::max(height, itemDelegateForIndex(first)->sizeHint(option, first).height());
    }
    return QSize(std::max(1, viewport()->width()), height);
}

int ProductView::columns() const {
    if (viewMode() != IconMode)
        return 1;
    return std::max(1, viewport()->width() / std::max(1, cell().width()));
}

int ProductView::rowCount() const {
    const int perRow = columns();
    return (count() + perRow - 1) / perRow;
}

QRect ProductView::cellRect(int row) const {
    const QSize size = cell();
    const int perRow = columns();
    return QRect(QPoint((row % perRow) * size.width(), (row / perRow) * size.height()), size);
}

QRect ProductView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.parent() != rootIndex() || index.row() >= count())
        return QRect();
    QRect rect = cellRect(index.row()).translated(-horizontalOffset(), -verticalOffset());
    if (viewMode() == IconMode) {
        // The tile stands in the middle of its cell.
        const QSize tile = model()->data(index, Qt::SizeHintRole).toSize();
        if (tile.isValid() && tile.width() <= rect.width() && tile.height() <= rect.height())
            rect = QRect(rect.left() + (rect.width() - tile.width()) / 2,
                         rect.top() + (rect.height() - tile.height()) / 2, tile.width(), tile.height());
    }
    return rect;
}

std::pair<int, int> ProductView::rowsIn(const QRect& rect) const {
    const QSize size = cell();
    const int perRow = columns();
    const int top = std::max(0, (rect.top() + verticalOffset()) / size.height());
    const int bottom = (rect.bottom() + verticalOffset()) / size.height();
    const int first = std::min(count(), top * perRow);
    const int last = std::min(count(), (bottom + 1) * perRow);
    return {first, std::max(first, last)};
}

QModelIndex ProductView::indexAt(const QPoint& point) const {
    const auto [first, last] = rowsIn(QRect(point, QSize(1, 1)));
    for (int row = first; row < last; ++row) {
        const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
        if (visualRect(index).contains(point))
            return index;
    }
    return QModelIndex();
}

void ProductView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid())
        return;
    const QRect rect = cellRect(index.row());
    const int viewHeight = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    int value = bar->value();
    switch (hint) {
    case PositionAtTop:
        value = rect.top();
        break;
    case PositionAtBottom:
        value = rect.bottom() + 1 - viewHeight;
        break;
    case PositionAtCenter:
        value = rect.center().y() - viewHeight / 2;
        break;
    case EnsureVisible:
        if (rect.top() < value)
            value = rect.top();
        else if (rect.bottom() + 1 > value + viewHeight)
            value = rect.bottom() + 1 - viewHeight;
        break;
    }
    bar->setValue(value);
}

void ProductView::doItemsLayout() {
    // Nothing to lay out: where an entry lies follows from its number.
    // Past the list view: its own layout of every entry is what this view does without.
    QAbstractItemView::doItemsLayout(); // NOLINT(bugprone-parent-virtual-call)
}

QModelIndex ProductView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const int total = count();
    if (total == 0)
        return QModelIndex();
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(0, modelColumn(), rootIndex());
    const int perRow = columns();
    const int perPage = std::max(1, viewport()->height() / std::max(1, cell().height())) * perRow;
    int row = current.row();
    switch (action) {
    case MoveLeft:
    case MovePrevious:
        --row;
        break;
    case MoveRight:
    case MoveNext:
        ++row;
        break;
    case MoveUp:
        row -= perRow;
        break;
    case MoveDown:
        row += perRow;
        break;
    case MovePageUp:
        row -= perPage;
        break;
    case MovePageDown:
        row += perPage;
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = total - 1;
        break;
    }
    return model()->index(std::clamp(row, 0, total - 1), modelColumn(), rootIndex());
}

int ProductView::horizontalOffset() const {
    return 0;
}

int ProductView::verticalOffset() const {
    return verticalScrollBar()->value();
}

bool ProductView::isIndexHidden(const QModelIndex&) const {
    return false;
}

void ProductView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    if (!selectionModel())
        return;
    QItemSelection selection;
    const auto [first, last] = rowsIn(rect.normalized());
    for (int row = first; row < last; ++row) {
        const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
        if (visualRect(index).intersects(rect.normalized()))
            selection.select(index, index);
    }
    selectionModel()->select(selection, command);
}

QRegion ProductView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const auto [first, last] = rowsIn(viewport()->rect());
    for (const QItemSelectionRange& range : selection) {
        if (range.parent() != rootIndex())
            continue;
        for (int row = std::max(first, range.top()); row <= std::min(last - 1, range.bottom()); ++row)
            region += visualRect(model()->index(row, modelColumn(), rootIndex()));
    }
    return region;
}

void ProductView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State state = option.state;
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const auto [first, last] = rowsIn(event->rect());
    for (int row = first; row < last; ++row) {
        const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
        option.rect = visualRect(index);
        option.state = state;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (focus && index == current)
            option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

void ProductView::updateGeometries() {
    const int height = rowCount() * cell().height();
    QScrollBar* bar = verticalScrollBar();
    bar->setSingleStep(std::max(1, cell().height() / 3));
    bar->setPageStep(viewport()->height());
    bar->setRange(0, std::max(0, height - viewport()->height()));
    // Past the list view: its own layout of every entry is what this view does without.
    QAbstractItemView::updateGeometries(); // NOLINT(bugprone-parent-virtual-call)
}

void ProductView::scrollContentsBy(int dx, int dy) {
    // Past the list view: its own layout of every entry is what this view does without.
    QAbstractItemView::scrollContentsBy(dx, dy); // NOLINT(bugprone-parent-virtual-call)
}

void ProductView::resizeEvent(QResizeEvent* event) {
    // Past the list view: its own layout of every entry is what this view does without.
    QAbstractItemView::resizeEvent(event); // NOLINT(bugprone-parent-virtual-call)
    updateGeometries();
    viewport()->update();
}

QSize ProductView::viewportSizeHint() const {
    return QSize(cell().width() * columns(), rowCount() * cell().height());
}

} // namespace tillora
