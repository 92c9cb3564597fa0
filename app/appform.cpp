#include "app/appform.h"

#include "app/errors.h"
#include "app/settingsstore.h"
#include "buildinfo.h"
#include "i18n/locale.h"
#include "store/startup.h"

#include <QComboBox>
#include <QLocale>
#include <QTimer>
#include <QVBoxLayout>

namespace tillora {

TAppForm::TAppForm(Services& services, QWidget* parent)
    : QMainWindow(parent), services_(services), database_(*services.messages) {
    setObjectName(QStringLiteral("AppForm"));
    resize(841, 619);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto* layout = new QVBoxLayout(central);
    PanelSellings = new QWidget(central);
    PanelSellings->setObjectName(QStringLiteral("PanelSellings"));
    ComboBox3 = new QComboBox(PanelSellings);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox4 = new QComboBox(PanelSellings);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    layout->addWidget(PanelSellings);
    PanelSellings->hide();
    setCentralWidget(central);

    TimerActivate = new QTimer(this);
    TimerActivate->setObjectName(QStringLiteral("TimerActivate"));
    TimerActivate->setInterval(1);
    connect(TimerActivate, &QTimer::timeout, this, &TAppForm::TimerActivateTimer);

    // The creation sequence; each step's error is shown and the remaining steps still run,
    // so a damaged setting never leaves the program half set up.
    creationStep([this]() { setWindowTitle(WindowTitle()); });
    creationStep([this]() { csvSeparator_ = localeCsvSeparator(); });
    creationStep([this]() {
        language_.loadLanguageFile(languagesFolder(), settings().readString(QStringLiteral("LanguageFile")),
                                   userLanguageId());
    });

    TimerActivate->start();
}

TAppForm::~TAppForm() = default;

QString TAppForm::WindowTitle() {
    return QString::fromLatin1(buildinfo::CompanyName) + QStringLiteral(" - ") +
           QString::fromLatin1(buildinfo::ProductName);
}

QString TAppForm::localeCsvSeparator() {
    return QLocale::system().decimalPoint() == QStringLiteral(",") ? QStringLiteral(";")
                                                                   : QStringLiteral(",");
}

template <typename Step> void TAppForm::creationStep(Step&& step) {
    runGuarded(*services_.messages, std::forward<Step>(step));
}

// Start-up work: open and upgrade the data file, then fill the two filter lists of the
// sales records (also when the file could not be opened).
void TAppForm::TimerActivateTimer() {
    TimerActivate->stop();
    const StartupLists lists = runStartupWork(database_, dataFilePath(),
                                              [this](const QString& text) { return TranslateText(text); });
    ComboBox3->clear();
    ComboBox3->addItems(lists.customers);
    ComboBox3->setCurrentIndex(0);
    ComboBox4->clear();
    ComboBox4->addItems(lists.products);
    ComboBox4->setCurrentIndex(0);
    startupDone_ = true;
    Q_EMIT startupFinished();
}

} // namespace tillora
