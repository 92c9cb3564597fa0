#pragma once
#include <QSize>
#include <QString>

class QImage; // drawn by the widget side; the logic only passes it on

namespace tillora {

// The system print dialog and print jobs. Failures (no printer, the dialog failing, the job
// failing) are returned as false with a reason; the caller decides what the user sees.
class IPrinting {
public:
    virtual ~IPrinting() = default;
    // Shows the print dialog; false when cancelled or when no printer can be used.
    virtual bool choosePrinter(QString& error) = 0;
    // Prints plain text on the chosen (or default) printer as one job titled title.
    virtual bool printText(const QString& title, const QString& text, QString& error) = 0;
    // The resolution of the printer the next job goes to (the one chosen last, else the
    // system's default), in dots per inch across and down.
    virtual bool printerResolution(QSize& dotsPerInch, QString& error) = 0;
    // Prints an image as one job titled title, stretched to dots (printer dots across and down)
    // at the top left of the printable area, without smoothing: a whole number of dots per
    // pixel keeps every pixel an even block.
    virtual bool printImage(const QString& title, const QImage& image, const QSize& dots, QString& error) = 0;
};

} // namespace tillora
