#pragma once
#include "platform/shell.h"

namespace tillora {

class QtShell : public IShell {
public:
    bool openUrl(const QString& url) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDir) override;
};

class SystemClock : public IClock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace tillora
