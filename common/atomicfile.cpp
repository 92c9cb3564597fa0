#include "common/atomicfile.h"

namespace tillora {

AtomicFile::AtomicFile(const QString& path) : path_(path), file_(path) {}

AtomicFile::~AtomicFile() {
    cancel();
}

bool AtomicFile::fail(const QString& reason) {
    if (!failed_) {
        failed_ = true;
        error_ = reason.isEmpty() ? QStringLiteral("Unknown error") : reason;
    }
    file_.cancelWriting();
    return false;
}

bool AtomicFile::open() {
    if (!file_.open(QIODevice::WriteOnly))
        return fail(file_.errorString());
    return true;
}

bool AtomicFile::setPermissions(QFileDevice::Permissions permissions) {
    if (failed_ || !file_.isOpen())
        return fail(error_.isEmpty() ? QStringLiteral("The file is not open") : error_);
    // QSaveFile works on its temporary file here, so the target never shows other rights.
    if (!file_.setPermissions(permissions))
        return fail(file_.errorString());
    return true;
}

bool AtomicFile::write(const QByteArray& bytes) {
    if (failed_ || !file_.isOpen())
        return fail(error_.isEmpty() ? QStringLiteral("The file is not open") : error_);
    if (file_.write(bytes) != bytes.size() || file_.error() != QFileDevice::NoError)
        return fail(file_.errorString());
    return true;
}

bool AtomicFile::commit() {
    if (failed_ || !file_.isOpen())
        return fail(error_.isEmpty() ? QStringLiteral("The file is not open") : error_);
    // A buffered write fails only here, on a full disk: QSaveFile::commit() alone may report
    // success after its last flush failed, and would then put a short file in place.
    if (!file_.flush() || file_.error() != QFileDevice::NoError)
        return fail(file_.errorString());
    if (!file_.commit())
        return fail(file_.errorString());
    return true;
}

void AtomicFile::cancel() {
    if (file_.isOpen())
        file_.cancelWriting();
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString& error) {
    AtomicFile file(path);
    if (file.open() && file.write(bytes) && file.commit())
        return true;
    error = file.error();
    return false;
}

} // namespace tillora
