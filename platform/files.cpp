#include "platform/files.h"

#include <QFileInfo>

namespace tillora {

QString withDefaultExtension(const QString& path, const QString& defaultExt) {
    if (path.isEmpty() || defaultExt.isEmpty())
        return path;
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    QString ext = defaultExt;
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    return path + QLatin1Char('.') + ext;
}

} // namespace tillora
