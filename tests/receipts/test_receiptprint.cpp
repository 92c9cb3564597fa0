#include "platform/qt/qtprinting.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace tillora;

// Receipt text printed through Qt into a PDF file and read back as laid-out text.
class TestReceiptPrint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void layout();

private:
    // The pages of the PDF as pdftotext -layout reads them.
    QStringList printAndRead(const QString& text);

    QTemporaryDir dir;
};

void TestReceiptPrint::initTestCase() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
}

QStringList TestReceiptPrint::printAndRead(const QString& text) {
    const QString pdf = dir.filePath(QStringLiteral("receipt.pdf"));
    QtPrinting printing(pdf);
    QString error;
    if (!printing.choosePrinter(error) || !printing.printText(QStringLiteral("Receipt 1"), text, error)) {
        qWarning("printing failed: %s", qPrintable(error));
        return {};
    }
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!reader.waitForFinished(20000) || reader.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

void TestReceiptPrint::layout() {
    QString longLine;
    for (int i = 0; i < 40; ++i)
        longLine += QStringLiteral("%1ABCDEFGH").arg(i % 10);
    const QString text = QStringLiteral("Welcome to Our Shop\r\n\r\nReceipt Number: 7\r\n") + longLine +
                         QStringLiteral("\r\n\tX\r\nab\tX\r\nabcdefghij\tY\r\nTotal: $ 3.00\fPage two\r\n");
    const QStringList pages = printAndRead(text);
    QCOMPARE(pages.size(), 2);
    QStringList lines = pages[0].split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = line.trimmed() == QString() ? QString() : line;
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    // Lines in order; the empty line keeps its place.
    QCOMPARE(lines.value(0).trimmed(), QStringLiteral("Welcome to Our Shop"));
    QCOMPARE(lines.value(1).trimmed(), QString());
    QCOMPARE(lines.value(2).trimmed(), QStringLiteral("Receipt Number: 7"));

    // The long line is broken over several lines and nothing of it is lost.
    int row = 3;
    QString joined;
    while (row < lines.size() && !lines[row].contains(QLatin1Char('X'))) {
        QVERIFY2(lines[row].trimmed().size() < longLine.size(), qPrintable(lines[row]));
        joined += lines[row].trimmed();
        ++row;
    }
    QVERIFY(row > 4);
    QCOMPARE(joined, longLine);

    // Tabs move to the next multiple of eight character widths.
    const qsizetype tab1 = lines.value(row).indexOf(QLatin1Char('X'));
    const qsizetype tab2 = lines.value(row + 1).indexOf(QLatin1Char('X'));
    const qsizetype tab3 = lines.value(row + 2).indexOf(QLatin1Char('Y'));
    QVERIFY(tab1 > 0);
    QCOMPARE(tab2, tab1);
    QCOMPARE(tab3, 2 * tab1);
    QCOMPARE(lines.value(row + 3).trimmed(), QStringLiteral("Total: $ 3.00"));

    // The form feed started the second page.
    QCOMPARE(pages[1].trimmed(), QStringLiteral("Page two"));
}

QTEST_MAIN(TestReceiptPrint)
#include "test_receiptprint.moc"
