#include "common/errors.h"
#include "platform/qt/settingsfile.h"
#include "platform/scripted/memorysettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace tillora;

namespace {

// The text of the AppError that action raises, or "no error".
QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const AppError& error) {
        return error.message();
    }
    return QStringLiteral("no error");
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> home_;
    // A fresh store of the kind named in the current data row ("file" or "memory").
    std::unique_ptr<ISettingsStore> makeStore(const QString& kind) const;
    void addKinds();

private slots:
    void init();

    void settingsFolder();
    void roundTrip_data();
    void roundTrip();
    void integerRoundTrip_data();
    void integerRoundTrip();
    void caseInsensitiveNames_data() { addKinds(); }
    void caseInsensitiveNames();
    void emptyTextIsNotAbsent_data() { addKinds(); }
    void emptyTextIsNotAbsent();
    void wrongKindAndAbsent_data() { addKinds(); }
    void wrongKindAndAbsent();
    void twoInstancesShareValues();
    void writesLeaveNoTemporaryFiles();
    void onlyTheOwnerCanReadThem_data();
    void onlyTheOwnerCanReadThem();
    void unwritableStore_data();
    void unwritableStore();
    void unreadableFileIsNotReplaced();
    void damagedLinesAreSkipped();
    void deleteKeyRemovesEverything();
    void memoryStoreWriteSwitch();
};

void TestSettingsStore::init() {
    home_ = std::make_unique<QTemporaryDir>();
    QVERIFY(home_->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_->path()));
}

std::unique_ptr<ISettingsStore> TestSettingsStore::makeStore(const QString& kind) const {
    if (kind == QLatin1String("memory"))
        return std::make_unique<MemorySettingsStore>();
    return std::make_unique<FileSettingsStore>();
}

void TestSettingsStore::addKinds() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("file") << QStringLiteral("file");
    QTest::newRow("memory") << QStringLiteral("memory");
}

void TestSettingsStore::settingsFolder() {
    QCOMPARE(FileSettingsStore::settingsFolder(), home_->path() + QStringLiteral("/KESTRUM/Tillora"));
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", "/home/someone");
    qputenv("XDG_CONFIG_HOME", "");
    const QString unset = FileSettingsStore::settingsFolder();
    qputenv("XDG_CONFIG_HOME", "relative/config");
    const QString relative = FileSettingsStore::settingsFolder();
    qputenv("HOME", savedHome);
    QCOMPARE(unset, QStringLiteral("/home/someone/.config/KESTRUM/Tillora"));
    QCOMPARE(relative, unset);
}

void TestSettingsStore::roundTrip_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << QStringLiteral("$");
    QTest::newRow("empty") << QString();
    QTest::newRow("lines and tabs") << QStringLiteral("line 1\nline 2\r\n\tindented\n");
    QTest::newRow("equals and hash") << QStringLiteral("#a=b==c");
    QTest::newRow("blanks around") << QStringLiteral("  x  ");
    QTest::newRow("only a blank") << QStringLiteral(" ");
    QTest::newRow("backslash escapes typed") << QStringLiteral("C:\\new\\u0041\\");
    QTest::newRow("non-ASCII") << QStringLiteral("€ ğüş 日本 \U0001F600");
    QTest::newRow("control characters") << QString::fromUtf16(u"a\u0000b\u001Fc\u2028d\uFEFF", 9);
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QStringLiteral("x");
}

void TestSettingsStore::roundTrip() {
    QFETCH(QString, value);
    FileSettingsStore(FileSettingsStore::settingsFolder())
        .writeString(QStringLiteral("PrintTemplate"), value);
    FileSettingsStore(FileSettingsStore::settingsFolder()).writeInteger(QStringLiteral("After"), 5);
    const FileSettingsStore reopened;
    QVERIFY(reopened.valueExists(QStringLiteral("PrintTemplate")));
    QCOMPARE(reopened.readString(QStringLiteral("PrintTemplate")), value);
    QCOMPARE(reopened.readInteger(QStringLiteral("After")), 5);
}

void TestSettingsStore::integerRoundTrip_data() {
    QTest::addColumn<int>("value");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -1;
    QTest::newRow("smallest") << int(-2147483647 - 1);
    QTest::newRow("largest") << 2147483647;
}

void TestSettingsStore::integerRoundTrip() {
    QFETCH(int, value);
    FileSettingsStore().writeInteger(QStringLiteral("ReceiptNumber"), value);
    QCOMPARE(FileSettingsStore().readInteger(QStringLiteral("ReceiptNumber")), qint32(value));
}

void TestSettingsStore::caseInsensitiveNames() {
    QFETCH(QString, kind);
    auto store = makeStore(kind);
    store->writeString(QStringLiteral("CurrencySymbol"), QStringLiteral("$"));
    store->writeString(QStringLiteral("CURRENCYSYMBOL"), QStringLiteral("EUR"));
    QVERIFY(store->valueExists(QStringLiteral("currencysymbol")));
    QCOMPARE(store->readString(QStringLiteral("currencySymbol")), QStringLiteral("EUR"));
    if (kind == QLatin1String("memory")) {
        QCOMPARE(static_cast<MemorySettingsStore&>(*store).names(),
                 QStringList{QStringLiteral("CurrencySymbol")});
    } else {
        QFile file(static_cast<FileSettingsStore&>(*store).filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.contains("text CurrencySymbol=EUR\n"));
        QVERIFY(!content.contains("CURRENCYSYMBOL"));
    }
}

void TestSettingsStore::emptyTextIsNotAbsent() {
    QFETCH(QString, kind);
    auto store = makeStore(kind);
    QVERIFY(!store->valueExists(QStringLiteral("CurrencySymbol")));
    QCOMPARE(store->readString(QStringLiteral("CurrencySymbol")), QString());
    store->writeString(QStringLiteral("CurrencySymbol"), QString());
    QVERIFY(store->valueExists(QStringLiteral("CurrencySymbol")));
    QCOMPARE(store->readString(QStringLiteral("CurrencySymbol")), QString());
    if (kind == QLatin1String("file"))
        QVERIFY(FileSettingsStore().valueExists(QStringLiteral("CurrencySymbol")));
}

void TestSettingsStore::wrongKindAndAbsent() {
    QFETCH(QString, kind);
    auto store = makeStore(kind);
    store->writeString(QStringLiteral("VCL"), QStringLiteral("3"));
    store->writeInteger(QStringLiteral("Print"), 1);
    QCOMPARE(errorOf([&] { store->readInteger(QStringLiteral("VCL")); }),
             QStringLiteral("Invalid data type for 'VCL'"));
    QCOMPARE(errorOf([&] { store->readString(QStringLiteral("print")); }),
             QStringLiteral("Invalid data type for 'print'"));
    QCOMPARE(errorOf([&] { store->readInteger(QStringLiteral("ReceiptNumber")); }),
             QStringLiteral("Failed to get data for 'ReceiptNumber'"));
    // A write of the other kind replaces the value and its kind.
    store->writeInteger(QStringLiteral("VCL"), 4);
    QCOMPARE(store->readInteger(QStringLiteral("VCL")), 4);
}

void TestSettingsStore::twoInstancesShareValues() {
    FileSettingsStore first;
    FileSettingsStore second;
    first.writeString(QStringLiteral("ReceiptFolder"), QStringLiteral("/tmp/receipts"));
    QCOMPARE(second.readString(QStringLiteral("ReceiptFolder")), QStringLiteral("/tmp/receipts"));
    // Interleaved writes: neither instance undoes the other's values.
    for (int i = 1; i <= 20; ++i) {
        first.writeInteger(QStringLiteral("MainColumn%1").arg(i), i);
        second.writeInteger(QStringLiteral("PaymentColumn%1").arg(i), -i);
    }
    second.writeString(QStringLiteral("ReceiptFolder"), QStringLiteral("/srv/receipts"));
    QCOMPARE(first.readString(QStringLiteral("ReceiptFolder")), QStringLiteral("/srv/receipts"));
    const FileSettingsStore third;
    for (int i = 1; i <= 20; ++i) {
        QCOMPARE(third.readInteger(QStringLiteral("MainColumn%1").arg(i)), i);
        QCOMPARE(third.readInteger(QStringLiteral("PaymentColumn%1").arg(i)), -i);
    }
}

void TestSettingsStore::writesLeaveNoTemporaryFiles() {
    FileSettingsStore store;
    for (int i = 0; i < 10; ++i)
        store.writeString(QStringLiteral("Value%1").arg(i), QString(i * 100, QLatin1Char('x')));
    store.writeInteger(QStringLiteral("Value0"), 1);
    const QStringList entries =
        QDir(store.folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QCOMPARE(entries, QStringList{FileSettingsStore::fileName()});
}

// The file holds the passwords: after any write the file is 0600 and its folder 0700, also
// where an older version left them readable by everyone.
void TestSettingsStore::onlyTheOwnerCanReadThem_data() {
    QTest::addColumn<bool>("oldOpenFiles");
    QTest::newRow("new store") << false;
    QTest::newRow("left open by an older version") << true;
}

void TestSettingsStore::onlyTheOwnerCanReadThem() {
    QFETCH(bool, oldOpenFiles);
    const QString folder = FileSettingsStore::settingsFolder();
    const QString file = folder + QLatin1Char('/') + FileSettingsStore::fileName();
    const auto open =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (oldOpenFiles) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, open | QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                                                  QFileDevice::ExeOther));
        writeFile(file, "text Secret64=cGFzcw==\n");
        QVERIFY(QFile::setPermissions(file, open));
    }
    FileSettingsStore store;
    store.writeString(QStringLiteral("CurrencySymbol"), QStringLiteral("EUR"));
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileInfo fileInfo(file);
    const QFileInfo folderInfo(folder);
    QCOMPARE(fileInfo.permissions() & others, QFileDevice::Permissions());
    QVERIFY(fileInfo.permissions() & QFileDevice::ReadOwner);
    QCOMPARE(folderInfo.permissions() & others, QFileDevice::Permissions());
    QVERIFY(folderInfo.permissions() & QFileDevice::ExeOwner);
    QCOMPARE(store.readString(QStringLiteral("Secret64")),
             oldOpenFiles ? QStringLiteral("cGFzcw==") : QString());
}

void TestSettingsStore::unwritableStore_data() {
    QTest::addColumn<QString>("blocked");
    QTest::newRow("a file where the folder belongs") << QStringLiteral("KESTRUM");
    QTest::newRow("a folder where the file belongs") << QStringLiteral("KESTRUM/Tillora/settings.conf");
}

void TestSettingsStore::unwritableStore() {
    QFETCH(QString, blocked);
    const QString path = home_->filePath(blocked);
    if (blocked.endsWith(QLatin1String(".conf")))
        QVERIFY(QDir().mkpath(path));
    else
        writeFile(path, "not a folder");
    FileSettingsStore store;
    QVERIFY(!store.valueExists(QStringLiteral("X")));
    QCOMPARE(errorOf([&] { store.writeString(QStringLiteral("X"), QStringLiteral("1")); }),
             QStringLiteral("Failed to set data for 'X'"));
    QCOMPARE(errorOf([&] { store.writeInteger(QStringLiteral("Print"), 1); }),
             QStringLiteral("Failed to set data for 'Print'"));
    QVERIFY(!store.valueExists(QStringLiteral("X")));
}

void TestSettingsStore::unreadableFileIsNotReplaced() {
    FileSettingsStore store;
    store.writeString(QStringLiteral("Secret64"), QStringLiteral("cGFzcw=="));
    QVERIFY(QFile::setPermissions(store.filePath(), QFileDevice::WriteOwner));
    if (QFile probe(store.filePath()); probe.open(QIODevice::ReadOnly))
        QSKIP("the file stays readable for this user (root)");
    FileSettingsStore other;
    QCOMPARE(errorOf([&] { other.writeInteger(QStringLiteral("Print"), 1); }),
             QStringLiteral("Failed to set data for 'Print'"));
    QVERIFY(QFile::setPermissions(store.filePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(FileSettingsStore().readString(QStringLiteral("Secret64")), QStringLiteral("cGFzcw=="));
}

void TestSettingsStore::damagedLinesAreSkipped() {
    const QString folder = FileSettingsStore::settingsFolder();
    QVERIFY(QDir().mkpath(folder));
    writeFile(folder + QStringLiteral("/settings.conf"), "# comment\r\n"
                                                         "text CurrencySymbol=EUR\r\n"
                                                         "garbage without equals\n"
                                                         "float Rate=1.5\n"
                                                         "integer ReceiptNumber=12x\n"
                                                         "integer Huge=99999999999\n"
                                                         "text Broken=bad \\q escape\n"
                                                         "text Cut=ends in \\u00\n"
                                                         "text =no name\n"
                                                         "\n"
                                                         "integer Print=1");
    FileSettingsStore store;
    QCOMPARE(store.readString(QStringLiteral("CurrencySymbol")), QStringLiteral("EUR"));
    QCOMPARE(store.readInteger(QStringLiteral("Print")), 1);
    for (const char* name : {"Rate", "ReceiptNumber", "Huge", "Broken", "Cut", "garbage"})
        QVERIFY2(!store.valueExists(QString::fromLatin1(name)), name);
    store.writeInteger(QStringLiteral("ReceiptNumber"), 13);
    const FileSettingsStore reopened;
    QCOMPARE(reopened.readString(QStringLiteral("CurrencySymbol")), QStringLiteral("EUR"));
    QCOMPARE(reopened.readInteger(QStringLiteral("ReceiptNumber")), 13);
}

void TestSettingsStore::deleteKeyRemovesEverything() {
    FileSettingsStore store;
    FileSettingsStore other;
    store.writeString(QStringLiteral("Secret64"), QStringLiteral("cGFzcw=="));
    store.writeInteger(QStringLiteral("ReceiptNumber"), 42);
    QVERIFY(other.valueExists(QStringLiteral("Secret64")));
    QVERIFY(store.deleteKey());
    QVERIFY(!QFileInfo::exists(store.folder()));
    QVERIFY(!store.valueExists(QStringLiteral("Secret64")));
    QVERIFY(!other.valueExists(QStringLiteral("ReceiptNumber")));
    QCOMPARE(other.readString(QStringLiteral("Secret64")), QString());
    QVERIFY(store.deleteKey()); // nothing left to delete
    other.writeInteger(QStringLiteral("Print"), 1);
    QVERIFY(QFileInfo::exists(store.filePath()));
    QCOMPARE(store.readInteger(QStringLiteral("Print")), 1);
    QVERIFY(!store.valueExists(QStringLiteral("ReceiptNumber")));
}

void TestSettingsStore::memoryStoreWriteSwitch() {
    MemorySettingsStore store;
    store.writeInteger(QStringLiteral("Print"), 1);
    store.setWritesFail(true);
    QCOMPARE(errorOf([&] { store.writeString(QStringLiteral("CurrencySymbol"), QStringLiteral("$")); }),
             QStringLiteral("Failed to set data for 'CurrencySymbol'"));
    QCOMPARE(errorOf([&] { store.writeInteger(QStringLiteral("Print"), 0); }),
             QStringLiteral("Failed to set data for 'Print'"));
    QVERIFY(!store.deleteKey());
    QCOMPARE(store.readInteger(QStringLiteral("Print")), 1);
    QVERIFY(!store.valueExists(QStringLiteral("CurrencySymbol")));
    store.setWritesFail(false);
    QVERIFY(store.deleteKey());
    QVERIFY(!store.valueExists(QStringLiteral("Print")));
    QCOMPARE(store.writeCount(), 1);
    QCOMPARE(store.deleteCount(), 1);
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
