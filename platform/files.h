#pragma once
#include <QString>

namespace tillora {

// Encodings offered by the save dialog with an encoding choice.
enum class TextEncoding { Ansi, Utf8, Unicode };

struct SaveChoice {
    QString path;
    TextEncoding encoding = TextEncoding::Utf8;
};

// File open and save dialogs and the folder chooser.
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // filter in the form "CSV files (*.csv)"; an empty result means cancelled.
    virtual QString openFile(const QString& caption, const QString& filter, const QString& defaultExt) = 0;
    // The default extension is appended when the chosen name has none.
    virtual QString saveFile(const QString& caption, const QString& filter, const QString& defaultExt,
                             const QString& suggestedName) = 0;
    // Save with the choice "ANSI", "UTF-8", "Unicode"; returns false when cancelled.
    virtual bool saveFileWithEncoding(const QString& caption, const QString& filter,
                                      const QString& defaultExt, const QString& suggestedName,
                                      SaveChoice& choice) = 0;
    // Returns false when cancelled; folder holds the chosen folder then.
    virtual bool chooseFolder(const QString& caption, QString& folder) = 0;
};

// Appends defaultExt (without dot) when the file name has no extension.
QString withDefaultExtension(const QString& path, const QString& defaultExt);

} // namespace tillora
