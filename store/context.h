#pragma once
// What a screen or a window of the program works on, handed to it at creation: the one
// connection to the data file, the platform services (settings store included), the
// translator, the guard its handlers run under, full access as a read-only view, and the
// values the main window holds for the whole run. Screens and windows never see the main
// window itself.
#include "common/translate.h"
#include "platform/guard.h"
#include "platform/services.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace tillora {

class Database;
class ISettingsStore;
struct ReceiptSettings;

// FullAccess: whether the admin password was given (or none is set). Screens read it and
// hear its changes; only the main window sets it.
class AccessView : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    bool fullAccess() const { return on_; }

Q_SIGNALS:
    void changed(bool fullAccess);

protected:
    void setOn(bool on) {
        if (on_ == on)
            return;
        on_ = on;
        Q_EMIT changed(on);
    }

private:
    bool on_ = true;
};

struct ProgramContext {
    Database& db;
    Services& services;
    Translate translate;
    Guard guard;
    const AccessView& access;
    // The receipt values in use (next number, folder, "Ask Print", template).
    ReceiptSettings& receipts;
    // The currency symbol in use; it can change while a screen is open.
    std::function<QString()> currencySymbol;
    // The locale's list separator, taken at start.
    QString csvSeparator;
    // The main window, as the parent of the windows a screen opens.
    QWidget* window = nullptr;

    ISettingsStore& settings() const { return *services.settings; }
    IMessages& messages() const { return *services.messages; }
    QString tr(const QString& english) const { return translate ? translate(english) : english; }
};

// The "You are not logged as admin!" warning (caption "WARNING") when full access is off;
// true when it is on.
bool requireFullAccess(const ProgramContext& context);

} // namespace tillora
