#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace velmora::ui {

// The file choosers the windows ask. The program uses the Qt ones; tests
// answer in their place.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file, or an empty text when the user cancelled. filter is a
    // QFileDialog filter ("Birth files (*.vbirth)"); start is a folder or a
    // suggested file.
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter) = 0;
    // Several files to open; without a chooser of its own, the one
    // OpenFileName gives.
    virtual QStringList OpenFileNames(QWidget* parent, const QString& caption, const QString& start,
                                      const QString& filter);
    // A folder, or an empty text when cancelled; without a chooser of its
    // own, the folder of the file SaveFileName gives.
    virtual QString FolderName(QWidget* parent, const QString& caption, const QString& start);
};

// QFileDialog's choosers.
class QtFileDialogs final : public FileDialogs {
public:
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filter) override;
    QStringList OpenFileNames(QWidget* parent, const QString& caption, const QString& start,
                              const QString& filter) override;
    QString FolderName(QWidget* parent, const QString& caption, const QString& start) override;
};

// A chosen save name without an ending gets the given one (".pdf"); a name
// with any ending is kept as chosen.
QString WithSuffix(const QString& path, const QString& suffix);

}  // namespace velmora::ui
