#pragma once
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
    // Prints an image stretched to the given size in millimetres at the top left of the page.
    virtual bool printImage(const QString& title, const QImage& image, double widthMm, double heightMm,
                            QString& error) = 0;
};

} // namespace tillora
