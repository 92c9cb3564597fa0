#include "reports/reportlist.h"

#include "common/font.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>

namespace tillora {

QTableView* makeReportList(const QString& name, QAbstractItemModel* model, const QList<int>& widths,
                           QWidget* parent) {
    auto* list = new QTableView(parent);
    list->setObjectName(name);
    QFont font = list->font();
    font.setFamily(fontFamily());
    font.setPixelSize(15);
    list->setFont(font);
    list->setModel(model);
    list->setShowGrid(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setWordWrap(false);
    list->verticalHeader()->hide();
    // Rows of one height: the view then lays out a long list without measuring every row.
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setStretchLastSection(false);
    for (int column = 0; column < widths.size(); ++column)
        list->horizontalHeader()->resizeSection(column, widths[column]);
    return list;
}

void centreOnScreen(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

} // namespace tillora
