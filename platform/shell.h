#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tillora {

// Opening web addresses and starting other processes.
class IShell {
public:
    virtual ~IShell() = default;
    virtual bool openUrl(const QString& url) = 0;
    // Starts program with arguments in workingDir, detached from this process.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingDir) = 0;
};

// The clock, so tests can fix "now".
class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime now() const = 0;
};

} // namespace tillora
