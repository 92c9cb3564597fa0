// The barcode image window, driven through its named controls with scripted dialogs and a
// scripted printer: drawing, the stop at a character outside the table, the refusal of an image
// too large, the BMP export and printing at whole printer dots per pixel.
#include "barcode/generatebarcode.h"
#include "store/context.h"
#include "tests/support/contextfixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace tillora;

namespace {

QImage expectedImage(const QString& text, int narrow, int wide, bool readable) {
    return monoImage(drawCode39(layoutCode39(text, narrow, wide, readable), fixedPitchGlyph));
}

// Black pixels of image inside rect.
int blackIn(const QImage& image, const QRect& rect) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += image.pixel(x, y) == qRgb(0, 0, 0);
    }
    return count;
}

} // namespace

class TestGenerateBarcode : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::ContextFixture> fx;
    std::unique_ptr<TGenerateBarcodeForm> form;

    void generate(const QString& text, int narrow = 1, int wide = 2, bool readable = false) {
        test::child<QLineEdit>(form.get(), "Edit4")->setText(text);
        test::child<QSpinBox>(form.get(), "SpinEdit5")->setValue(narrow);
        test::child<QSpinBox>(form.get(), "SpinEdit6")->setValue(wide);
        test::child<QCheckBox>(form.get(), "CheckBox1")->setChecked(readable);
        test::child<QPushButton>(form.get(), "BitBtn1")->click();
    }
    void click(const char* button) { test::child<QPushButton>(form.get(), button)->click(); }

private Q_SLOTS:
    void init() {
        fx = std::make_unique<test::ContextFixture>();
        // Captions of this window stay English: a translator that marks every text shows it.
        fx->context.translate = test::marked;
        form = std::make_unique<TGenerateBarcodeForm>(fx->context);
        form->show();
    }

    void cleanup() {
        form.reset();
        fx.reset();
    }

    void startsWithTheDefaults() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Generate Barcode"));
        QVERIFY(form->isModal());
        QVERIFY(test::child<QLineEdit>(form.get(), "Edit4")->text().isEmpty());
        QVERIFY(!test::child<QCheckBox>(form.get(), "CheckBox1")->isChecked());
        QCOMPARE(test::child<QCheckBox>(form.get(), "CheckBox1")->text(),
                 QStringLiteral("Include Readable Text"));
        auto* narrow = test::child<QSpinBox>(form.get(), "SpinEdit5");
        auto* wide = test::child<QSpinBox>(form.get(), "SpinEdit6");
        QCOMPARE(narrow->value(), 1);
        QCOMPARE(narrow->minimum(), 1);
        QCOMPARE(narrow->maximum(), 999999);
        QCOMPARE(wide->value(), 2);
        QCOMPARE(wide->minimum(), 2);
        QCOMPARE(wide->maximum(), 999999);
        QCOMPARE(test::child<QPushButton>(form.get(), "BitBtn1")->text(), QStringLiteral("Generate Barcode"));
        QCOMPARE(test::child<QPushButton>(form.get(), "BitBtn2")->text(), QStringLiteral("Export Image"));
        QCOMPARE(test::child<QPushButton>(form.get(), "BitBtn3")->text(), QStringLiteral("Print Image"));
        QVERIFY(form->image().isNull());
    }

    void drawsTheSymbol_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("narrow");
        QTest::addColumn<int>("wide");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QSize>("size");
        QTest::newRow("13 digits with text") << "5901234123457" << 1 << 2 << true << QSize(196, 35);
        QTest::newRow("wider than the image area")
            << "TILLORA-2026" << 3 << 8 << true << QSize(1 + 14 * 45, 95);
    }

    void drawsTheSymbol() {
        QFETCH(QString, text);
        QFETCH(int, narrow);
        QFETCH(int, wide);
        QFETCH(bool, readable);
        QFETCH(QSize, size);
        generate(text, narrow, wide, readable);
        const QImage image = form->image();
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), QImage::Format_Mono);
        QCOMPARE(image, expectedImage(text, narrow, wide, readable));
        QVERIFY(fx->fake.messages.shown.isEmpty());
    }

    // The readable text lies in 8-pixel cells centred under the bars; "abc" shows as ABC.
    void readableTextIsUpperCaseInEightPixelCells() {
        generate(QStringLiteral("abc"), 1, 2, true);
        const QImage lower = form->image();
        generate(QStringLiteral("ABC"), 1, 2, true);
        QCOMPARE(lower, form->image());
        const QImage image = form->image();
        const int left = image.width() / 2 - 4 * 3;
        QVERIFY(blackIn(image, QRect(left, 20, 8, 15)) > 0);
        QVERIFY(blackIn(image, QRect(left + 8, 20, 8, 15)) > 0);
        QVERIFY(blackIn(image, QRect(left + 16, 20, 8, 15)) > 0);
        QCOMPARE(blackIn(image, QRect(0, 20, left, 15)), 0);
        QCOMPARE(blackIn(image, QRect(left + 24, 20, image.width() - left - 24, 15)), 0);
        // Each glyph differs: three letters, not one repeated.
        QVERIFY(image.copy(left, 20, 8, 15) != image.copy(left + 8, 20, 8, 15));
        QVERIFY(fixedPitchGlyph(u' ') == Glyph{});
    }

    void aCharacterOutsideTheTableStopsTheDrawing() {
        generate(QStringLiteral("ABé9"), 1, 2, true);
        QCOMPARE(fx->fake.messages.texts(), QStringList{QStringLiteral("é cannot be encoded!")});
        QCOMPARE(fx->fake.messages.shown.value(0).caption, applicationTitle());
        QCOMPARE(fx->fake.messages.shown.value(0).icon, MsgIcon::None);
        // "*", "A", "B" drawn, no stop character; the whole text under it.
        QCOMPARE(form->image().size(), QSize(1 + 3 * 13, 35));
        QCOMPARE(form->image(), expectedImage(QStringLiteral("ABé9"), 1, 2, true));
    }

    void anImageTooLargeIsRefused_data() {
        QTest::addColumn<int>("narrow");
        QTest::addColumn<int>("wide");
        QTest::newRow("largest modules") << 999999 << 999999;
        QTest::newRow("bars too high") << 1 << 3277;
        QTest::newRow("too wide") << 3000 << 2;
    }

    void anImageTooLargeIsRefused() {
        QFETCH(int, narrow);
        QFETCH(int, wide);
        generate(QStringLiteral("5901234123457"));
        QVERIFY(!form->image().isNull());
        generate(QStringLiteral("5901234123457"), narrow, wide);
        QVERIFY(form->image().isNull());
        QCOMPARE(fx->fake.messages.shown.size(), 1);
        QCOMPARE(fx->fake.messages.shown[0].icon, MsgIcon::Warning);
        QCOMPARE(fx->fake.messages.shown[0].caption, QStringLiteral("~WARNING"));
        QVERIFY(fx->fake.messages.shown[0].text.contains(QStringLiteral("32767")));
        // Nothing to save or print: a beep, no dialog, no job.
        click("BitBtn2");
        click("BitBtn3");
        QCOMPARE(fx->fake.messages.beeps, 2);
        QVERIFY(fx->fake.files.requests.isEmpty());
        QVERIFY(fx->fake.printing.jobs.isEmpty());
    }

    void exportWritesTheBmpFile() {
        generate(QStringLiteral("5901234123457"), 1, 2, true);
        const QString path = fx->dir.filePath(QStringLiteral("code"));
        fx->fake.files.answers << path;
        click("BitBtn2");
        QCOMPARE(fx->fake.files.requests.size(), 1);
        QCOMPARE(fx->fake.files.requests[0].kind, QStringLiteral("save"));
        QCOMPARE(fx->fake.files.requests[0].filter, QStringLiteral("Bitmap (*.bmp)"));
        QCOMPARE(fx->fake.files.requests[0].defaultExt, QStringLiteral("bmp"));
        QFile file(path + QStringLiteral(".bmp"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes, bmpFile(drawCode39(layoutCode39(QStringLiteral("5901234123457"), 1, 2, true),
                                           fixedPitchGlyph)));
        QCOMPARE(QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_Mono), form->image());

        // The image with its readable text reads back with a real decoder.
        const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
        QVERIFY2(!zbarimg.isEmpty(), "zbarimg is missing: the set-up script installs zbar-tools");
        QProcess process;
        process.start(zbarimg, {QStringLiteral("--raw"), QStringLiteral("-q"), file.fileName()});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()).trimmed(),
                 QStringLiteral("5901234123457"));
    }

    void exportCancelledOrFailing() {
        generate(QStringLiteral("1"));
        click("BitBtn2"); // cancelled: no answer queued
        QVERIFY(fx->fake.messages.shown.isEmpty());
        QCOMPARE(QDir(fx->dir.path()).entryList({QStringLiteral("*.bmp")}).size(), 0);

        const QString path = fx->dir.filePath(QStringLiteral("missing/code.bmp"));
        fx->fake.files.answers << path;
        click("BitBtn2");
        QVERIFY(!QFile::exists(path));
        QCOMPARE(fx->fake.messages.shown.size(), 1);
        QCOMPARE(fx->fake.messages.shown[0].icon, MsgIcon::Error);
        QVERIFY(fx->fake.messages.shown[0].text.contains(path));
    }

    void printingScalesEveryPixelToWholeDots_data() {
        QTest::addColumn<int>("printerDpi");
        QTest::newRow("600 dpi") << 600;
        QTest::newRow("300 dpi") << 300;
        QTest::newRow("72 dpi, coarser than the screen") << 72;
    }

    void printingScalesEveryPixelToWholeDots() {
        QFETCH(int, printerDpi);
        fx->fake.printing.dotsPerInch = QSize(printerDpi, printerDpi);
        generate(QStringLiteral("5901234123457"), 1, 2, true);
        click("BitBtn3");
        QCOMPARE(fx->fake.printing.jobs.size(), 1);
        const auto& job = fx->fake.printing.jobs[0];
        QCOMPARE(job.title, QStringLiteral("Generate Barcode"));
        QCOMPARE(job.image, form->image());
        const int sx = std::max(1, printerDpi / form->logicalDpiX());
        const int sy = std::max(1, printerDpi / form->logicalDpiY());
        QCOMPARE(job.dots, QSize(196 * sx, 35 * sy));
        if (form->logicalDpiX() == 96 && printerDpi == 600)
            QCOMPARE(job.dots, QSize(196 * 6, 35 * 6));
        QCOMPARE(fx->fake.printing.dialogs, 0);
    }

    void printingWithoutAPrinterShowsTheError() {
        fx->fake.printing.printerAvailable = false;
        generate(QStringLiteral("1"));
        click("BitBtn3");
        QVERIFY(fx->fake.printing.jobs.isEmpty());
        QCOMPARE(fx->fake.messages.texts(), QStringList{QStringLiteral("no printer.")});
        QCOMPARE(fx->fake.messages.shown[0].icon, MsgIcon::Error);
    }

    // The stock sheet's way in: a new modal window with the barcode, drawn at once.
    void openedWithABarcodeDrawsItAtOnce() {
        form.reset();
        QString seenText;
        QImage seenImage;
        bool modal = false;
        QTimer::singleShot(0, [&]() {
            auto* window = qobject_cast<TGenerateBarcodeForm*>(QApplication::activeModalWidget());
            if (!window)
                return;
            seenText = window->findChild<QLineEdit*>(QStringLiteral("Edit4"))->text();
            seenImage = window->image();
            modal = window->isModal();
            window->close();
        });
        openBarcodeImage(fx->context, QStringLiteral("5901234123457"), nullptr);
        QCOMPARE(seenText, QStringLiteral("5901234123457"));
        QCOMPARE(seenImage.size(), QSize(196, 21));
        QVERIFY(modal);
        // Destroyed when closed.
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<TGenerateBarcodeForm*>(window));
    }
};

QTEST_MAIN(TestGenerateBarcode)
#include "test_generatebarcode.moc"
