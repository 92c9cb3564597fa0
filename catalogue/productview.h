#pragma once
// The picker's list of products. Every entry has the same size, so where an entry lies follows
// from its number alone: the view lays out, paints and hit-tests only what is on the screen,
// and a list of a million entries is shown as fast as one of ten. In the icon mode the tiles
// run left to right in rows; in the list mode the entries stand in one column.
#include <QListView>

namespace tillora {

class ProductView : public QListView {
public:
    explicit ProductView(QWidget* parent = nullptr);

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void doItemsLayout() override;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void paintEvent(QPaintEvent* event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    QSize viewportSizeHint() const override;

private:
    // The size of the cell of one entry, the number of entries per row and of rows.
    QSize cell() const;
    int columns() const;
    int rowCount() const;
    int count() const;
    // The cell of entry row in the content (not scrolled).
    QRect cellRect(int row) const;
    // The entries whose cells meet rect (viewport coordinates): first and one past the last.
    std::pair<int, int> rowsIn(const QRect& rect) const;
};

} // namespace tillora
