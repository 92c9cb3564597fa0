#pragma once
// The barcode image window "Generate Barcode": draws a text as a Code 39 symbol into a
// black-and-white image, optionally with the text underneath, and saves it as a BMP file or
// prints it. The module widths are chosen in pixels. Its captions are English.
//
// Opened modally from the stock count sheet with the selected product's barcode, created anew
// for each opening and destroyed when closed:
//   openBarcodeImage(context, barcode, this);
#include "barcode/code39.h"

#include <QDialog>
#include <QImage>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tillora {

struct ProgramContext;
class BarcodeView;

// The glyph of c in the fixed-pitch font of the readable text (8 × 15 pixels, drawn without
// antialiasing so it is pure black and white).
Glyph fixedPitchGlyph(QChar c);

// A bitmap as a 1-bit image (white and black palette), the same pixels.
QImage monoImage(const MonoBitmap& bitmap);

class TGenerateBarcodeForm : public QDialog {
    Q_OBJECT

public:
    TGenerateBarcodeForm(ProgramContext& context, QWidget* parent = nullptr);
    ~TGenerateBarcodeForm() override;

    // The text box's content.
    void setText(const QString& text);
    // The image drawn last; null before the first drawing and after a refused one.
    QImage image() const;

    void BitBtn1Click(); // "Generate Barcode"
    void BitBtn2Click(); // "Export Image"
    void BitBtn3Click(); // "Print Image"

private:
    ProgramContext& context_;
    MonoBitmap bitmap_;

    BarcodeView* Image1 = nullptr;
    QLabel* Label4 = nullptr; // "Text:"
    QLineEdit* Edit4 = nullptr;
    QCheckBox* CheckBox1 = nullptr; // "Include Readable Text"
    QLabel* Label5 = nullptr;       // "Narrow Pixel:"
    QSpinBox* SpinEdit5 = nullptr;  // narrow module width
    QLabel* Label6 = nullptr;       // "Wide Pixel:"
    QSpinBox* SpinEdit6 = nullptr;  // wide module width
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
};

// Opens the window modally over parent with text in its text box, drawn at once.
void openBarcodeImage(ProgramContext& context, const QString& text, QWidget* parent);

} // namespace tillora
