#pragma once
#include "platform/progress.h"

#include <QPointer>

class QProgressDialog;

namespace tillora {

// A modal QProgressDialog, shown at once. Its Cancel button is named "ProgressCancel".
class QtProgress : public IProgress {
public:
    ~QtProgress() override;
    void start(const QString& caption, const QString& text, const QString& cancelText, qint64 total) override;
    bool step(qint64 done) override;
    void finish() override;

private:
    QPointer<QProgressDialog> dialog_;
    qint64 total_ = 0;
};

} // namespace tillora
