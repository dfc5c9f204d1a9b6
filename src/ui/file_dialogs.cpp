#include "ui/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace velmora::ui {

QString QtFileDialogs::OpenFileName(QWidget* parent, const QString& caption, const QString& start,
                                    const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, start, filter);
}

QString QtFileDialogs::SaveFileName(QWidget* parent, const QString& caption, const QString& start,
                                    const QString& filter) {
    // The dialog asks before replacing a file.
    return QFileDialog::getSaveFileName(parent, caption, start, filter);
}

QStringList FileDialogs::OpenFileNames(QWidget* parent, const QString& caption, const QString& start,
                                       const QString& filter) {
    const QString one = OpenFileName(parent, caption, start, filter);
    return one.isEmpty() ? QStringList() : QStringList{one};
}

QString FileDialogs::FolderName(QWidget* parent, const QString& caption, const QString& start) {
    const QString file = SaveFileName(parent, caption, start, QString());
    return file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
}

QStringList QtFileDialogs::OpenFileNames(QWidget* parent, const QString& caption, const QString& start,
                                         const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, caption, start, filter);
}

QString QtFileDialogs::FolderName(QWidget* parent, const QString& caption, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

QString WithSuffix(const QString& path, const QString& suffix) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + suffix;
}

}  // namespace velmora::ui
