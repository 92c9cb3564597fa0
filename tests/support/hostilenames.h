#pragma once
// Names a cashier, a customer or another program may put into any field: quotes and SQL
// fragments, LIKE wildcards, emoji, right-to-left text, a very long name and U+0000. A test of a
// field that reaches a statement types each of them and checks that it is stored and shown
// exactly as typed; addHostileNameRows() makes the rows of such a test.
#include <QList>
#include <QString>
#include <QTest>

namespace tillora::test {

struct HostileName {
    const char* label;
    QString text;
};

inline QList<HostileName> hostileNames() {
    return {
        {"apostrophe", QStringLiteral("O'Brien")},
        {"statement end", QStringLiteral("'); DROP TABLE urunler;--")},
        {"quotes", QStringLiteral("\"a\" ''b'' `c`")},
        {"percent", QStringLiteral("%")},
        {"underscore", QStringLiteral("_")},
        {"backslash", QStringLiteral("C:\\shop\\%_\\")},
        {"emoji", QString::fromUtf8("\xF0\x9F\x8D\x9E bread \xF0\x9F\xA7\x80")},
        {"right to left",
         QString::fromUtf8("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7")},
        {"10,000 characters", QString(9999, QLatin1Char('x')) + QLatin1Char('\'')},
        {"U+0000", QStringLiteral("nul") + QChar(u'\0') + QStringLiteral("after")},
    };
}

// One row per hostile name, with a column "name" (QString).
inline void addHostileNameRows() {
    QTest::addColumn<QString>("name");
    for (const HostileName& name : hostileNames())
        QTest::newRow(name.label) << name.text;
}

} // namespace tillora::test
