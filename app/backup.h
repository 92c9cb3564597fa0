#pragma once
// "Backup..." and "Restore from Backup..." of the "Operations" menu: the data file copied to
// a file the user names, and a backup put in its place.
#include <QString>

#include <functional>

namespace tillora {

struct ProgramContext;

// The data file the connection works on: the one it opened, else data.db beside the program.
QString liveDataFile(const ProgramContext& context);

// Asks for a file (.db) and copies the data file into it, a whole database even while the
// program runs; an existing file is replaced. The data file itself is refused as the target.
// Success is silent; a failure raises AppError naming the file and the reason.
void backupDataFile(ProgramContext& context);

// What a restore needs from the main window.
struct RestoreHooks {
    // Opens the data file again and runs the start-up work on it (upgrade, filter lists of the
    // sales records screen), as at the start of the program.
    std::function<void()> rerunStartup;
    // Ends this run and starts the program again (RestartApplication).
    std::function<void()> restart;
};

// Asks for a backup file and puts it in place of the data file. A file that is the data file
// itself, or no undamaged database with the four tables, is refused and nothing is touched.
// Otherwise the connection is closed, the replaced file kept as data.db.bak and the copy put
// in place; the data file is opened again and the start-up work rerun (on the old file when
// the copy failed, which is then said). After a successful restore "Restart Application?":
// Yes restarts the program, No goes on with the restored data.
void restoreFromBackup(ProgramContext& context, const RestoreHooks& hooks);

} // namespace tillora
