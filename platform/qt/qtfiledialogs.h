#pragma once
#include "platform/files.h"

namespace tillora {

// File and folder dialogs through QFileDialog.
class QtFileDialogs : public IFileDialogs {
public:
    QString openFile(const QString& caption, const QString& filter, const QString& defaultExt) override;
    QString saveFile(const QString& caption, const QString& filter, const QString& defaultExt,
                     const QString& suggestedName) override;
    bool saveFileWithEncoding(const QString& caption, const QString& filter, const QString& defaultExt,
                              const QString& suggestedName, SaveChoice& choice) override;
    bool chooseFolder(const QString& caption, QString& folder) override;
};

} // namespace tillora
