#include "app/appform.h"
#include "app/application.h"
#include "app/startupprobe.h"
#include "app/themes.h"
#include "platform/qt/qtfiledialogs.h"
#include "platform/qt/qtmessages.h"
#include "platform/qt/qtprinting.h"
#include "platform/qt/qtprogress.h"
#include "platform/qt/qtshell.h"
#include "platform/qt/settingsfile.h"

#include <fontconfig/fontconfig.h>

#include <thread>

using namespace tillora;

int main(int argc, char** argv) {
    // Reading the system's font configuration is a good part of the start: it is read on a
    // thread of its own while the connection to the display is made, and is ready by the time
    // the window's first text is measured.
    std::thread fonts([]() { FcInit(); });
    TilloraApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    // The start-up look until the window applies the stored theme.
    applyTheme(static_cast<int>(ThemeNames().indexOf(QStringLiteral("Amakrits"))));

    QtMessages messages;
    QtPrompts prompts;
    QtFileDialogs files;
    QtPrinting printing;
    QtShell shell;
    SystemClock clock;
    FileSettingsStore settings;
    QtProgress progress;
    Services services{&messages, &prompts, &files, &printing, &shell, &clock, &settings, &progress};
    app.setMessages(&messages);
    fonts.join();

    TAppForm form(services);
    QObject::connect(&form, &TAppForm::programEnded, &app, []() { QCoreApplication::exit(0); });
    if (qEnvironmentVariableIsSet("TILLORA_STARTUP_PROBE")) {
        auto* probe = new StartupProbe(&form);
        QObject::connect(&form, &TAppForm::startupFinished, probe, [probe]() { probe->startupFinished(); });
    }
    form.show();
    const int code = QApplication::exec();
    app.setMessages(nullptr);
    return code;
}
