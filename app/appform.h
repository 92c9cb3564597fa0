#pragma once
#include "i18n/language.h"
#include "platform/services.h"
#include "store/database.h"

#include <QMainWindow>

class QComboBox;
class QTimer;

namespace tillora {

// The main window: holds the one database connection, the settings store, the loaded
// language and the screens of the program for the whole run.
class TAppForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TAppForm(Services& services, QWidget* parent = nullptr);
    ~TAppForm() override;

    // Company name + " - " + product name: the normal caption of the window.
    static QString WindowTitle();
    // The locale's list separator: ";" where the decimal point is ",", else ",".
    static QString localeCsvSeparator();

    QString TranslateText(const QString& english) const { return language_.translateText(english); }

    Services& services() const { return services_; }
    Database& database() { return database_; }
    const Language& language() const { return language_; }
    ISettingsStore& settings() const { return *services_.settings; }
    const QString& CsvSeparator() const { return csvSeparator_; }
    bool startupDone() const { return startupDone_; }

    // Controls that later screens build on; named as the program names them.
    QTimer* TimerActivate = nullptr;
    QWidget* PanelSellings = nullptr; // sales records screen
    QComboBox* ComboBox3 = nullptr;   // customer filter of the sales records
    QComboBox* ComboBox4 = nullptr;   // product filter of the sales records

Q_SIGNALS:
    // The start-up work (data file opened and upgraded, filter lists filled) has run.
    void startupFinished();

private:
    // Runs one step of the window's creation; an error is shown and the next steps still run.
    template <typename Step> void creationStep(Step&& step);
    void TimerActivateTimer();

    Services& services_;
    Database database_;
    Language language_;
    QString csvSeparator_;
    bool startupDone_ = false;
};

} // namespace tillora
