#include "tests/support/smallfs.h"

#include <QFile>

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tillora::test {

namespace {

const QString fillerName = QStringLiteral(".filler");

} // namespace

SmallFileSystem::SmallFileSystem(qint64 bytes) {
    if (!dir_.isValid()) {
        reason_ = QStringLiteral("no temporary folder");
        return;
    }
    if (::geteuid() != 0) {
        reason_ = QStringLiteral("mounting a tmpfs needs root");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    if (::mount("tillora-test", QFile::encodeName(dir_.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData()) != 0) {
        reason_ = QStringLiteral("mount failed: ") + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    mounted_ = true;
}

SmallFileSystem::~SmallFileSystem() {
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

bool SmallFileSystem::fill() {
    QFile filler(filePath(fillerName));
    if (!filler.open(QIODevice::Append))
        return false;
    const QByteArray block(4096, 'x');
    // Page by page until the file system refuses: nothing is left for anyone else.
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    // A last partial page may still fit.
    while (filler.write(QByteArray(1, 'x')) == 1 && filler.flush()) {
    }
    return true;
}

void SmallFileSystem::release() {
    QFile::remove(filePath(fillerName));
}

} // namespace tillora::test
