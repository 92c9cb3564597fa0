#pragma once
// The one guard between the widgets and the program's actions. Qt's widget library unwinds no
// exception, so an error must stop before it reaches an event handler of Qt's own: every
// handler of a window or screen is connected through a Guard, which runs it and shows what it
// raised in the default error box. The program then goes on with the next event.
#include "common/errors.h"
#include "platform/messages.h"

#include <QEvent>
#include <QObject>
#include <QPointer>

#include <exception>
#include <functional>
#include <stdexcept>
#include <utility>

namespace tillora {

// Shows the error an action raised: an AppError's text (nothing for a quiet one), or the text
// of any other exception, in the default error box.
void reportAppError(IMessages& messages, const AppError& error);
void reportUnexpected(IMessages& messages, const std::exception& error);

// Runs action; an error it raises is shown. Returns false when it raised one.
template <typename Action> bool runGuarded(IMessages& messages, Action&& action) {
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const AppError& error) {
        reportAppError(messages, error);
    } catch (const std::exception& error) {
        reportUnexpected(messages, error);
    } catch (...) {
        reportUnexpected(messages, std::runtime_error("unknown error"));
    }
    return false;
}

// The event filter of a guarded handler: the handler sees the events of the watched object
// and returns true for those it took.
class GuardedFilter : public QObject {
public:
    using Handler = std::function<bool(QObject* watched, QEvent* event)>;
    GuardedFilter(IMessages& messages, Handler handler, QObject* parent)
        : QObject(parent), messages_(messages), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        bool taken = false;
        // An event whose handler failed counts as taken: what it began is abandoned.
        if (!runGuarded(messages_, [&]() { taken = handler_(watched, event); }))
            return true;
        return taken;
    }

private:
    IMessages& messages_;
    Handler handler_;
};

// Connects signals and events of widgets to handlers that always run inside runGuarded.
class Guard {
public:
    explicit Guard(IMessages& messages) : messages_(&messages) {}

    IMessages& messages() const { return *messages_; }

    // Runs one action under the guard (for the virtual event functions of a window).
    template <typename Action> bool run(Action&& action) const {
        return runGuarded(*messages_, std::forward<Action>(action));
    }

    // QObject::connect, with the handler run under the guard. The handler takes the
    // signal's arguments, or fewer of them, as with QObject::connect itself.
    template <typename Sender, typename Signal, typename Handler>
    QMetaObject::Connection on(Sender* sender, Signal signal, QObject* context, Handler handler) const {
        return QObject::connect(sender, signal, context, Guarded<Handler>{messages_, std::move(handler)});
    }

    // Installs handler as an event filter of watched, under the guard. The handler works on
    // owner (a window or screen that watched belongs to). Closing or destroying a window
    // still sends its children events (focus, hide) while the window's own destructor has
    // already run; from then on the events go past the handler, which would otherwise call
    // into a half-destroyed owner.
    template <typename Owner>
    void filter(Owner* owner, QObject* watched, GuardedFilter::Handler handler) const {
        QPointer<QObject> alive(owner);
        auto whileOwned = [alive, handler = std::move(handler)](QObject* w, QEvent* e) {
            // During the owner's base destructors its dynamic type is no longer Owner.
            if (alive.isNull() || dynamic_cast<Owner*>(alive.data()) == nullptr)
                return false;
            return handler(w, e);
        };
        watched->installEventFilter(new GuardedFilter(*messages_, std::move(whileOwned), watched));
    }

private:
    // A handler that runs under the guard; it is callable with exactly the arguments the
    // handler takes, so Qt hands it as many of the signal's arguments as it wants.
    template <typename Handler> struct Guarded {
        IMessages* messages;
        Handler handler;
        template <typename... Args>
        auto operator()(Args&&... args) const
            -> decltype(std::declval<const Handler&>()(std::forward<Args>(args)...), void()) {
            runGuarded(*messages, [&]() { handler(std::forward<Args>(args)...); });
        }
    };

    IMessages* messages_;
};

} // namespace tillora
