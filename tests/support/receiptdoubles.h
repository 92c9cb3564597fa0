#pragma once
// What the receipt and reprint tests share: the two languages they translate with, a file read
// back whole, and a printer whose jobs fail.
#include "platform/scripted/scripted.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tillora::test {

inline QString english(const QString& text) {
    return text;
}

// A language that marks every text it translates.
inline QString marked(const QString& text) {
    return QStringLiteral("<") + text + QStringLiteral(">");
}

// The bytes of a file, or "<missing>".
inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A printer whose dialog is accepted but whose job fails.
struct JammedPrinting : ScriptedPrinting {
    bool printText(const QString&, const QString&, QString& error) override {
        error = QStringLiteral("paper jam");
        return false;
    }
};

} // namespace tillora::test
