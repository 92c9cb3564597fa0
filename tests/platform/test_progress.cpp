// The progress window: shown at once with its caption, text and Cancel caption; the bar
// follows the steps; a click on Cancel is seen by the next step; finish closes it.
#include "platform/qt/qtprogress.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>

using namespace tillora;

class TestProgress : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsStepsAndCancel() {
        QtProgress progress;
        progress.start(QStringLiteral("Import"), QStringLiteral("Importing..."), QStringLiteral("Stop"),
                       200000);
        QProgressDialog* dialog = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            dialog = dialog ? dialog : qobject_cast<QProgressDialog*>(w);
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->isModal());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Import"));
        QCOMPARE(dialog->labelText(), QStringLiteral("Importing..."));
        auto* cancel = dialog->findChild<QPushButton*>(QStringLiteral("ProgressCancel"));
        QVERIFY(cancel);
        QCOMPARE(cancel->text(), QStringLiteral("Stop"));

        QVERIFY(progress.step(100000));
        QCOMPARE(dialog->findChild<QProgressBar*>()->value(), 500);
        QVERIFY(progress.step(150000));
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!progress.step(160000));
        QVERIFY(!progress.step(170000));

        const QPointer<QProgressDialog> watched(dialog);
        progress.finish();
        QVERIFY(watched.isNull());
        QVERIFY(progress.step(1)); // no window: nothing to cancel
    }
};

QTEST_MAIN(TestProgress)
#include "test_progress.moc"
