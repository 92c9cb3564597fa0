#include "barcode/generatebarcode.h"

#include "common/atomicfile.h"
#include "common/errors.h"
#include "store/context.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cstring>

namespace tillora {

namespace {

// The font of the readable text: fixed pitch, as large as fits a cell of 8 × 15 pixels.
struct CellFont {
    QFont font;
    int left = 0;     // where a character starts in its cell
    int baseline = 0; // the baseline's row in the cell
};

CellFont makeCellFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setStyleStrategy(QFont::NoAntialias);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setStyleStrategy(QFont::NoAntialias);
    }
    CellFont cell;
    for (int pixels = glyphHeight; pixels >= 6; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(QLatin1Char('M')) <= glyphWidth && metrics.height() <= glyphHeight) {
            cell.left = (glyphWidth - metrics.horizontalAdvance(QLatin1Char('M'))) / 2;
            cell.baseline = (glyphHeight - metrics.height()) / 2 + metrics.ascent();
            break;
        }
    }
    cell.font = font;
    return cell;
}

} // namespace

// The image area: the image centred and unscaled, cut at the edges of the area.
class BarcodeView : public QWidget {
public:
    using QWidget::QWidget;
    void setImage(const QImage& image) {
        image_ = image;
        update();
    }
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        if (image_.isNull())
            return;
        const QPoint origin((width() - image_.width()) / 2, (height() - image_.height()) / 2);
        // Only the part inside the area is converted for the screen: an image may be far wider.
        const QRect visible = QRect(-origin, size()).intersected(image_.rect());
        if (visible.isEmpty())
            return;
        QPainter painter(this);
        painter.drawImage(origin + visible.topLeft(), image_.copy(visible));
    }

private:
    QImage image_;
};

Glyph fixedPitchGlyph(QChar c) {
    static const CellFont cell = makeCellFont();
    static QHash<char16_t, Glyph> cache;
    const auto found = cache.constFind(c.unicode());
    if (found != cache.constEnd())
        return *found;
    QImage canvas(glyphWidth, glyphHeight, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(cell.font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(cell.left, cell.baseline), QString(c));
    }
    Glyph glyph{};
    for (int y = 0; y < glyphHeight; ++y) {
        for (int x = 0; x < glyphWidth; ++x) {
            if (qGray(canvas.pixel(x, y)) < 128)
                glyph[static_cast<size_t>(y)] |= static_cast<quint8>(0x80 >> x);
        }
    }
    cache.insert(c.unicode(), glyph);
    return glyph;
}

QImage monoImage(const MonoBitmap& bitmap) {
    if (bitmap.isNull())
        return {};
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_Mono);
    if (image.isNull())
        throw AppError(QStringLiteral("There is not enough memory for an image of %1 x %2 pixels")
                           .arg(bitmap.width())
                           .arg(bitmap.height()));
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    const auto bytes = static_cast<size_t>(std::min<qsizetype>(image.bytesPerLine(), bitmap.bytesPerLine()));
    for (int y = 0; y < bitmap.height(); ++y)
        std::memcpy(image.scanLine(y), bitmap.line(y), bytes);
    return image;
}

TGenerateBarcodeForm::TGenerateBarcodeForm(ProgramContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("TGenerateBarcodeForm"));
    setWindowTitle(QStringLiteral("Generate Barcode"));
    setModal(true);
    setFixedSize(331, 339);

    Image1 = new BarcodeView(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(331, 194);
    Label4 = new QLabel(QStringLiteral("Text:"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Edit4 = new QLineEdit(this);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    CheckBox1 = new QCheckBox(QStringLiteral("Include Readable Text"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Label5 = new QLabel(QStringLiteral("Narrow Pixel:"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    SpinEdit5 = new QSpinBox(this);
    SpinEdit5->setObjectName(QStringLiteral("SpinEdit5"));
    SpinEdit5->setRange(1, 999999);
    SpinEdit5->setValue(1);
    Label6 = new QLabel(QStringLiteral("Wide Pixel:"), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    SpinEdit6 = new QSpinBox(this);
    SpinEdit6->setObjectName(QStringLiteral("SpinEdit6"));
    SpinEdit6->setRange(2, 999999);
    SpinEdit6->setValue(2);
    BitBtn1 = new QPushButton(QStringLiteral("Generate Barcode"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("Export Image"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn3 = new QPushButton(QStringLiteral("Print Image"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    for (QPushButton* button : {BitBtn1, BitBtn2, BitBtn3})
        button->setAutoDefault(false);
    // The captions name the boxes beside them.
    Label4->setBuddy(Edit4);
    Label5->setBuddy(SpinEdit5);
    Label6->setBuddy(SpinEdit6);

    auto* fields = new QGridLayout;
    fields->addWidget(Label4, 0, 0);
    fields->addWidget(Edit4, 0, 1);
    fields->addWidget(CheckBox1, 1, 1);
    fields->addWidget(Label5, 2, 0);
    fields->addWidget(SpinEdit5, 2, 1);
    fields->addWidget(Label6, 3, 0);
    fields->addWidget(SpinEdit6, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);
    auto* panel = new QVBoxLayout;
    panel->setContentsMargins(8, 4, 8, 6);
    panel->setSpacing(3);
    panel->addLayout(fields);
    panel->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Image1);
    layout->addLayout(panel);

    context_.guard.on(BitBtn1, &QPushButton::clicked, this, [this]() { BitBtn1Click(); });
    context_.guard.on(BitBtn2, &QPushButton::clicked, this, [this]() { BitBtn2Click(); });
    context_.guard.on(BitBtn3, &QPushButton::clicked, this, [this]() { BitBtn3Click(); });
}

TGenerateBarcodeForm::~TGenerateBarcodeForm() = default;

void TGenerateBarcodeForm::setText(const QString& text) {
    Edit4->setText(text);
}

QImage TGenerateBarcodeForm::image() const {
    return Image1->image();
}

void TGenerateBarcodeForm::BitBtn1Click() {
    bitmap_ = MonoBitmap();
    Image1->setImage({});
    const Code39Layout layout =
        layoutCode39(Edit4->text(), SpinEdit5->value(), SpinEdit6->value(), CheckBox1->isChecked());
    if (layout.unencodableAt >= 0)
        showPlain(context_.messages(), layout.unencodableCharacter() + QStringLiteral(" cannot be encoded!"));
    if (layout.tooLarge()) {
        context_.messages().show(
            context_.tr(QStringLiteral("WARNING")),
            context_
                .tr(QStringLiteral("The image would be %1 x %2 pixels; it may be at most %3 pixels wide "
                                   "and %3 pixels high. Choose smaller module widths."))
                .arg(layout.width)
                .arg(layout.height)
                .arg(maxImageSide),
            MsgIcon::Warning, {MsgButton::Ok}, MsgButton::Ok);
        return;
    }
    MonoBitmap bitmap = drawCode39(layout, fixedPitchGlyph);
    Image1->setImage(monoImage(bitmap));
    bitmap_ = std::move(bitmap);
}

void TGenerateBarcodeForm::BitBtn2Click() {
    if (bitmap_.isNull()) {
        context_.messages().beep();
        return;
    }
    const QString path = context_.services.files->saveFile(
        QStringLiteral("Save As"), QStringLiteral("Bitmap (*.bmp)"), QStringLiteral("bmp"), QString());
    if (path.isEmpty())
        return;
    QString error;
    if (!writeFileAtomically(path, bmpFile(bitmap_), error))
        throw AppError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, error));
}

void TGenerateBarcodeForm::BitBtn3Click() {
    if (bitmap_.isNull()) {
        context_.messages().beep();
        return;
    }
    IPrinting& printing = *context_.services.printing;
    QSize printerDpi;
    QString error;
    if (!printing.printerResolution(printerDpi, error))
        throw AppError(error);
    const QSize dots(bitmap_.width() * dotsPerPixel(printerDpi.width(), logicalDpiX()),
                     bitmap_.height() * dotsPerPixel(printerDpi.height(), logicalDpiY()));
    if (!printing.printImage(windowTitle(), Image1->image(), dots, error))
        throw AppError(error);
}

void openBarcodeImage(ProgramContext& context, const QString& text, QWidget* parent) {
    TGenerateBarcodeForm form(context, parent);
    form.setText(text);
    context.guard.run([&]() { form.BitBtn1Click(); });
    form.exec();
}

} // namespace tillora
