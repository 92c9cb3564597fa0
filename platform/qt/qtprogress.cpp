#include "platform/qt/qtprogress.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>

#include <algorithm>

namespace tillora {

namespace {

// The bar counts in thousandths, so any number of steps fits its int range.
constexpr int barSteps = 1000;

} // namespace

QtProgress::~QtProgress() {
    delete dialog_.data();
}

void QtProgress::start(const QString& caption, const QString& text, const QString& cancelText, qint64 total) {
    finish();
    total_ = total;
    dialog_ = new QProgressDialog(text, QString(), 0, barSteps, QApplication::activeWindow());
    auto* cancel = new QPushButton(cancelText, dialog_);
    cancel->setObjectName(QStringLiteral("ProgressCancel"));
    dialog_->setCancelButton(cancel);
    dialog_->setWindowTitle(caption);
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    dialog_->setValue(0);
    dialog_->show();
    QCoreApplication::processEvents();
}

bool QtProgress::step(qint64 done) {
    if (!dialog_)
        return true;
    const qint64 value = total_ > 0 ? std::clamp<qint64>(done * barSteps / total_, 0, barSteps) : 0;
    // A modal dialog's setValue lets the events through, the Cancel button's click included.
    dialog_->setValue(static_cast<int>(value));
    QCoreApplication::processEvents();
    return !dialog_->wasCanceled();
}

void QtProgress::finish() {
    delete dialog_.data();
    dialog_.clear();
}

} // namespace tillora
