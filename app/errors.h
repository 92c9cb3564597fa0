#pragma once
#include <QString>

#include <exception>
#include <utility>

namespace tillora {

class IMessages;

// An error that abandons the action that raised it; the handler that started the action
// shows its text in the default error box and the program goes on.
class AppError : public std::exception {
public:
    explicit AppError(QString message) : message_(std::move(message)), bytes_(message_.toUtf8()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return bytes_.constData(); }

private:
    QString message_;
    QByteArray bytes_;
};

// Runs action; an AppError it raises is shown in the default error box. Returns false then.
template <typename Action> bool runGuarded(IMessages& messages, Action&& action);

void reportAppError(IMessages& messages, const AppError& error);

template <typename Action> bool runGuarded(IMessages& messages, Action&& action) {
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const AppError& error) {
        reportAppError(messages, error);
        return false;
    }
}

} // namespace tillora
