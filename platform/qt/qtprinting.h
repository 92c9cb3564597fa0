#pragma once
#include "platform/printing.h"

#include <QFont>
#include <QRect>
#include <QStringList>

#include <functional>
#include <memory>

class QPrinter;
class QPaintDevice;
class QPainter;

namespace tillora {

// Lays out plain text the way receipts are printed: lines from the top left of the printable
// area, each next line lower by the height of the line just printed plus 2 device units,
// long lines broken at the last character that fits, tabs to multiples of eight average
// character widths, a form feed or a full page starting a new page.
// newPage is called between pages. Returns the number of pages drawn.
int layoutPlainText(QPainter& painter, const QRect& printable, const QString& text,
                    const std::function<bool()>& newPage);

// Printing through Qt's print dialog over the system's printers (CUPS). With a PDF output
// path the dialog is skipped and every job goes into that file.
class QtPrinting : public IPrinting {
public:
    explicit QtPrinting(QString pdfOutput = {});
    ~QtPrinting() override;
    bool choosePrinter(QString& error) override;
    bool printText(const QString& title, const QString& text, QString& error) override;
    bool printerResolution(QSize& dotsPerInch, QString& error) override;
    bool printImage(const QString& title, const QImage& image, const QSize& dots, QString& error) override;

    // The font receipts are printed in: the system's fixed-pitch font, so a template lined
    // up in the editor prints lined up.
    static QFont receiptFont();

private:
    bool ready(QString& error);
    QString pdfOutput_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace tillora
