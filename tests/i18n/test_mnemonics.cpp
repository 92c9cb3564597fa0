#include "i18n/mnemonics.h"

#include <QtTest>

using namespace tillora;

// Mnemonics chosen for the captions of one menu: one each, none twice, letters A-Z and digits
// first, word starts before the rest.
class TestMnemonics : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chosen_data();
    void chosen();
    void withoutMnemonic_data();
    void withoutMnemonic();
};

void TestMnemonics::chosen_data() {
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("marked");
    QTest::newRow("first letters") << QStringList{"Operations", "Reports", "Settings", "Help"}
                                   << QStringList{"&Operations", "&Reports", "&Settings", "&Help"};
    QTest::newRow("a later word when the first letter is taken")
        << QStringList{"Print", "Print Template"} << QStringList{"&Print", "Print &Template"};
    QTest::newRow("a letter inside the word when every word start is taken")
        << QStringList{"Export", "Exit"} << QStringList{"&Export", "E&xit"};
    QTest::newRow("letter case does not count")
        << QStringList{"save", "Settings"} << QStringList{"&save", "S&ettings"};
    QTest::newRow("letters A-Z before others")
        << QStringList{QString::fromUtf8("İşlemler"), QString::fromUtf8("Ödeme")}
        << QStringList{QString::fromUtf8("İş&lemler"), QString::fromUtf8("Ö&deme")};
    QTest::newRow("another letter when no A-Z is free")
        << QStringList{"A", QString::fromUtf8("AÖ")} << QStringList{"&A", QString::fromUtf8("A&Ö")};
    QTest::newRow("no free character left: none")
        << QStringList{"AB", "BA", "AB"} << QStringList{"&AB", "&BA", "AB"};
    QTest::newRow("an ampersand shows as itself")
        << QStringList{"Salt & Pepper"} << QStringList{"&Salt && Pepper"};
    QTest::newRow("digits") << QStringList{"Day", "2 Days"} << QStringList{"&Day", "&2 Days"};
}

void TestMnemonics::chosen() {
    QFETCH(QStringList, captions);
    QFETCH(QStringList, marked);
    QCOMPARE(withMnemonics(captions), marked);
}

void TestMnemonics::withoutMnemonic_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("marked") << "E&xit"
                            << "Exit";
    QTest::newRow("doubled ampersand") << "&Salt && Pepper"
                                       << "Salt & Pepper";
    QTest::newRow("unmarked") << "Exit"
                              << "Exit";
}

void TestMnemonics::withoutMnemonic() {
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    QCOMPARE(tillora::withoutMnemonic(caption), shown);
}

QTEST_APPLESS_MAIN(TestMnemonics)
#include "test_mnemonics.moc"
