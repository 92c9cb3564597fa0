#pragma once
// A panel that scrolls its content in one direction where the window is too small for it (a
// small screen, a large scale factor), and otherwise shows it whole. Across the other
// direction it keeps the content's size, with room for its scroll bar.
#include <QScrollArea>

namespace tillora {

class ScrollingPanel : public QScrollArea {
    Q_OBJECT

public:
    ScrollingPanel(QWidget* content, Qt::Orientation scrolls, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The room across the scrolling direction: the content's, and the scroll bar's while it shows.
    int across() const;
    // The content's least size.
    QSize least() const;
    Qt::Orientation scrolls_;
    bool scrolling_ = false;
};

} // namespace tillora
