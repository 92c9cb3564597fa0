// Prints one barcode image the way the barcode window does, on the system's default printer
// through the program's Qt printing, without the rest of the program:
//   tillora_barcode_print TEXT [--readable]
// Every message the window would show goes to stderr; the exit code is 1 when there was one.
#include "barcode/generatebarcode.h"
#include "platform/qt/qtprinting.h"
#include "tests/support/contextfixture.h"

#include <QApplication>
#include <QCheckBox>

#include <cstdio>

using namespace tillora;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tillora_barcode_print TEXT [--readable]\n");
        return 2;
    }
    test::ContextFixture fx; // no data file: the window needs none
    QtPrinting printing;
    fx.fake.services.printing = &printing;
    ProgramContext& context = fx.context;
    TGenerateBarcodeForm form(context);
    form.setText(QString::fromLocal8Bit(argv[1]));
    if (argc > 2 && QByteArray(argv[2]) == "--readable")
        form.findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->setChecked(true);
    context.guard.run([&]() { form.BitBtn1Click(); });
    context.guard.run([&]() { form.BitBtn3Click(); });
    std::fprintf(stdout, "image %d x %d at %d pixels per inch\n", form.image().width(), form.image().height(),
                 form.logicalDpiX());
    for (const ShownMessage& message : fx.fake.messages.shown)
        std::fprintf(stderr, "%s\n", qPrintable(message.text));
    return fx.fake.messages.shown.isEmpty() ? 0 : 1;
}
