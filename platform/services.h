#pragma once
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/printing.h"
#include "platform/progress.h"
#include "platform/shell.h"

namespace tillora {

class ISettingsStore;

// The platform services one run of the program uses. The main window receives them at
// creation; tests hand in scripted doubles.
struct Services {
    IMessages* messages = nullptr;
    IPrompts* prompts = nullptr;
    IFileDialogs* files = nullptr;
    IPrinting* printing = nullptr;
    IShell* shell = nullptr;
    IClock* clock = nullptr;
    ISettingsStore* settings = nullptr;
    // The window of long work; none means the work runs without one.
    IProgress* progress = nullptr;
};

} // namespace tillora
