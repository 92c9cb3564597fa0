#include "platform/qt/qtshell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace tillora {

bool QtShell::openUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

bool QtShell::startDetached(const QString& program, const QStringList& arguments, const QString& workingDir) {
    return QProcess::startDetached(program, arguments, workingDir);
}

} // namespace tillora
