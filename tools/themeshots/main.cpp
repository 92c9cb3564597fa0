// Draws the real main window with a cart in every theme and saves one PNG per theme:
// NN-name.png in the folder given as the only argument (lower case, blanks as "-").
#include "app/appform.h"
#include "app/application.h"
#include "app/themes.h"
#include "platform/scripted/scripted.h"
#include "tools/common/samplecart.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

using namespace tillora;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TilloraApplication app(argc, argv); // the program's font
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    ScriptedServices fake;
    TAppForm form(fake.services);
    form.setDataFile(QTemporaryDir().path() +
                     QStringLiteral("/none.db")); // no data file: the cart is made by hand
    form.show();
    while (!form.startupDone())
        QCoreApplication::processEvents();
    fillSampleCart(form);

    const QStringList names = ThemeNames();
    int failures = 0;
    for (int i = 0; i < names.size(); ++i) {
        applyTheme(i);
        QCoreApplication::processEvents();
        QString name = names[i].toLower();
        name.replace(QLatin1Char(' '), QLatin1Char('-'));
        const QString path =
            QDir(folder).filePath(QStringLiteral("%1-%2.png").arg(i, 2, 10, QLatin1Char('0')).arg(name));
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !form.grab().save(&file, "PNG") || !file.commit()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
