#pragma once
// A small file system of its own for one test: a tmpfs mounted on a temporary folder and
// removed again with the object. Mounting needs root; elsewhere isMounted() is false and
// reason() says why, for QSKIP.
#include <QString>
#include <QTemporaryDir>

namespace tillora::test {

class SmallFileSystem {
public:
    explicit SmallFileSystem(qint64 bytes = 1024 * 1024);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool isMounted() const { return mounted_; }
    const QString& reason() const { return reason_; }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Takes every free byte with a filler file: from now on a write that needs a new block fails.
    bool fill();
    // Removes the filler: the space is free again.
    void release();

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString reason_;
};

} // namespace tillora::test

// Skips the current test where no small file system can be made here.
#define TILLORA_REQUIRE_SMALL_FS(fs)                                                                         \
    do {                                                                                                     \
        if (!(fs).isMounted())                                                                               \
            QSKIP(qPrintable(QStringLiteral("needs a small file system of its own: ") + (fs).reason()));     \
    } while (false)
