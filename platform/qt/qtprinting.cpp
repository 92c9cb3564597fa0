#include "platform/qt/qtprinting.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace tillora {

namespace {

// Width of text drawn from x with tabs expanded to multiples of tabWidth.
int advance(const QFontMetrics& fm, int x, QChar c, int tabWidth) {
    if (c == QLatin1Char('\t'))
        return tabWidth > 0 ? (x / tabWidth + 1) * tabWidth : x;
    return x + fm.horizontalAdvance(c);
}

} // namespace

int layoutPlainText(QPainter& painter, const QRect& printable, const QString& text,
                    const std::function<bool()>& newPage) {
    const QFontMetrics fm(painter.font(), painter.device());
    const int tabWidth = 8 * fm.averageCharWidth();
    const int width = printable.width();
    int pages = 1;
    int y = printable.top();
    int lastHeight = fm.height();

    auto startPage = [&]() {
        if (!newPage())
            return false;
        ++pages;
        y = printable.top();
        return true;
    };
    // Draws one visual line (already fitting the width), tabs expanded.
    auto drawLine = [&](const QString& line) {
        if (y > printable.top() && y > printable.bottom() - 2 * lastHeight && !startPage())
            return false;
        int x = 0;
        QString run;
        int runStart = 0;
        for (QChar c : line) {
            if (c == QLatin1Char('\t')) {
                painter.drawText(printable.left() + runStart, y + fm.ascent(), run);
                run.clear();
                x = advance(fm, x, c, tabWidth);
                runStart = x;
            } else {
                run += c;
                x = advance(fm, x, c, tabWidth);
            }
        }
        painter.drawText(printable.left() + runStart, y + fm.ascent(), run);
        lastHeight = fm.height();
        y += lastHeight + 2;
        return true;
    };

    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList pagesText = normal.split(QLatin1Char('\f'));
    for (qsizetype p = 0; p < pagesText.size(); ++p) {
        if (p > 0 && !startPage())
            return pages;
        QStringList lines = pagesText[p].split(QLatin1Char('\n'));
        if (lines.size() > 1 && lines.last().isEmpty())
            lines.removeLast();
        for (const QString& line : lines) {
            // Break the line at the last character that fits the printable width.
            qsizetype start = 0;
            do {
                int x = 0;
                qsizetype end = start;
                while (end < line.size()) {
                    const int next = advance(fm, x, line[end], tabWidth);
                    if (next > width && end > start)
                        break;
                    x = next;
                    ++end;
                }
                if (!drawLine(line.mid(start, end - start)))
                    return pages;
                start = end;
            } while (start < line.size());
        }
    }
    return pages;
}

QtPrinting::QtPrinting(QString pdfOutput) : pdfOutput_(std::move(pdfOutput)) {}

QtPrinting::~QtPrinting() = default;

QFont QtPrinting::receiptFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(10);
    return font;
}

bool QtPrinting::ready(QString& error) {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!pdfOutput_.isEmpty()) {
            printer_->setOutputFormat(QPrinter::PdfFormat);
            printer_->setOutputFileName(pdfOutput_);
        } else if (QPrinterInfo::availablePrinters().isEmpty()) {
            printer_.reset();
            error = QStringLiteral("No printer is installed");
            return false;
        }
    }
    if (!printer_->isValid()) {
        error = QStringLiteral("The printer cannot be used");
        return false;
    }
    return true;
}

bool QtPrinting::choosePrinter(QString& error) {
    if (!ready(error))
        return false;
    if (!pdfOutput_.isEmpty())
        return true;
    QPrintDialog dialog(printer_.get(), QApplication::activeWindow());
    // A cancelled dialog is no failure: false with no reason, and the caller just stops.
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrinting::printText(const QString& title, const QString& text, QString& error) {
    if (!ready(error))
        return false;
    printer_->setDocName(title);
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        error = QStringLiteral("The print job could not be started");
        return false;
    }
    painter.setFont(receiptFont());
    const QRect area(QPoint(0, 0), printer_->pageLayout().paintRectPixels(printer_->resolution()).size());
    layoutPlainText(painter, area, text, [this]() { return printer_->newPage(); });
    if (!painter.end()) {
        error = QStringLiteral("The print job failed");
        return false;
    }
    return true;
}

bool QtPrinting::printerResolution(QSize& dotsPerInch, QString& error) {
    if (!ready(error))
        return false;
    dotsPerInch = QSize(printer_->logicalDpiX(), printer_->logicalDpiY());
    return true;
}

bool QtPrinting::printImage(const QString& title, const QImage& image, const QSize& dots, QString& error) {
    if (!ready(error))
        return false;
    printer_->setDocName(title);
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        error = QStringLiteral("The print job could not be started");
        return false;
    }
    // Nearest pixel, never a blend: the bars keep their edges on paper.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(QPoint(0, 0), dots), image);
    if (!painter.end()) {
        error = QStringLiteral("The print job failed");
        return false;
    }
    return true;
}

} // namespace tillora
