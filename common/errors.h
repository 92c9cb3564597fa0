#pragma once
#include <QByteArray>
#include <QString>

#include <exception>
#include <utility>

namespace tillora {

// An error that abandons the action that raised it; the handler that started the action
// shows its text in the default error box and the program goes on. A quiet error abandons
// the action too but shows nothing: the same failure was already shown once.
class AppError : public std::exception {
public:
    explicit AppError(QString message, bool quiet = false)
        : message_(std::move(message)), bytes_(message_.toUtf8()), quiet_(quiet) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return bytes_.constData(); }
    bool quiet() const noexcept { return quiet_; }

private:
    QString message_;
    QByteArray bytes_;
    bool quiet_ = false;
};

} // namespace tillora
