// The Qt save dialogs: an existing file is replaced without a question, a name without
// extension gets the default one.
#include "platform/qt/qtfiledialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tillora;

class TestQtFileDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void saveReplacesWithoutAQuestion() {
        QTemporaryDir dir;
        const QString existing = dir.filePath(QStringLiteral("backup.db"));
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        bool asked = true;
        QTimer::singleShot(0, [&]() {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                if (!dialog || !dialog->isVisible())
                    continue;
                asked = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
                dialog->selectFile(dir.filePath(QStringLiteral("backup")));
                // Accepting a dialog that asks would wait for the question's answer.
                if (asked)
                    dialog->reject();
                else
                    static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, as the Save button
            }
        });
        QtFileDialogs dialogs;
        const QString chosen = dialogs.saveFile(QStringLiteral("Save As"), QStringLiteral("DB (*.db)"),
                                                QStringLiteral("db"), QString());
        QVERIFY(!asked);
        QCOMPARE(chosen, existing);
    }
};

QTEST_MAIN(TestQtFileDialogs)
#include "test_qtfiledialogs.moc"
