#include "platform/qt/scrollingpanel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

namespace tillora {

namespace {

// Qt's accessibility of a scroll area counts its scroll bars only while they show and reads a
// child by its number without looking whether it still exists: a screen reader asking while a
// screen is shown or hidden (its scroll bars come and go with it) then makes the program read
// freed memory. The panel is described as a plain widget instead, whose children stay
// counted, shown or not.
QAccessibleInterface* describePanel(const QString& className, QObject* object) {
    if (className == QLatin1String(ScrollingPanel::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Pane);
    return nullptr;
}

} // namespace

ScrollingPanel::ScrollingPanel(QWidget* content, Qt::Orientation scrolls, QWidget* parent)
    : QScrollArea(parent), scrolls_(scrolls) {
    static const bool described = (QAccessible::installFactory(describePanel), true);
    Q_UNUSED(described)
    setWidget(content);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    if (scrolls_ == Qt::Horizontal) {
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    } else {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    }
}

QSize ScrollingPanel::least() const {
    return widget()->minimumSizeHint().expandedTo(widget()->minimumSize());
}

int ScrollingPanel::across() const {
    if (scrolls_ == Qt::Horizontal)
        return std::max(widget()->sizeHint().height(), least().height()) +
               (scrolling_ ? horizontalScrollBar()->sizeHint().height() : 0);
    // Upright the room for the bar is kept always, so the panel's width never changes.
    return least().width() + verticalScrollBar()->sizeHint().width();
}

QSize ScrollingPanel::sizeHint() const {
    return scrolls_ == Qt::Horizontal ? QSize(widget()->sizeHint().width(), across())
                                      : QSize(across(), widget()->sizeHint().height());
}

QSize ScrollingPanel::minimumSizeHint() const {
    return scrolls_ == Qt::Horizontal ? QSize(0, across()) : QSize(across(), 0);
}

void ScrollingPanel::resizeEvent(QResizeEvent* event) {
    const bool before = scrolling_;
    scrolling_ = scrolls_ == Qt::Horizontal ? width() < least().width() : height() < least().height();
    QScrollArea::resizeEvent(event);
    if (scrolling_ != before)
        updateGeometry();
}

} // namespace tillora
