// The input window's birth files: Open, Open Recent, Save and Save As.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>

#include <string_view>

#include "core/birth_file.h"
#include "core/form_reading.h"
#include "core/place_zone.h"
#include "core/zones.h"
#include "report/whole_file.h"
#include "ui/main_window.h"
#include "ui/platform.h"
#include "ui/result_window.h"
#include "ui/window_line_edit.h"
#include "report/qt_text.h"

namespace velmora {

namespace {

// Where the recent files are remembered: their paths, one a line, the
// latest first.
const QString kRecentFilesKey = QStringLiteral("Files/Recent");

QString BirthFileFilter() {
    return QStringLiteral("Birth files (*%1);;All files (*)").arg(report::ToQString(core::kBirthFileSuffix));
}

// "“asha.vbirth”" for messages.
QString Quoted(const QString& path) { return QStringLiteral("\u201C%1\u201D").arg(QFileInfo(path).fileName()); }

// A file's bytes for core::ReadBirthFile, or why they could not be read. A file
// above the limit is mapped rather than read, so the refusal can name its
// size without the program holding it.
struct FileBytes {
    QByteArray Bytes;
    std::optional<core::BirthFileReading> TooLarge;
    QString Error;
};

FileBytes ReadBirthBytes(const QString& path) {
    FileBytes read;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.Error = file.errorString();
        return read;
    }
    const qint64 size = file.size();
    if (size > static_cast<qint64>(core::kBirthFileMaxBytes)) {
        if (uchar* whole = file.map(0, size)) {
            read.TooLarge = core::ReadBirthFile({reinterpret_cast<const char*>(whole), static_cast<std::size_t>(size)});
            file.unmap(whole);
            return read;
        }
    }
    // One byte past the limit is enough to be refused for it.
    read.Bytes = file.read(static_cast<qint64>(core::kBirthFileMaxBytes) + 1);
    if (file.error() != QFileDevice::NoError) read.Error = file.errorString();
    return read;
}

}  // namespace

void MainWindow::BuildFileCommands(QMenu* file, QAction* before) {
    auto command = [&](const QString& text, const char* name, QKeySequence::StandardKey key) {
        auto* action = new QAction(text, file);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        file->insertAction(before, action);
        return action;
    };
    connect(command(QStringLiteral("&Open Birth\u2026"), "mnuOpenBirth", QKeySequence::Open), &QAction::triggered, this,
            &MainWindow::OpenBirth);
    recentMenu_ = new QMenu(QStringLiteral("Open &Recent"), file);
    recentMenu_->setObjectName(QStringLiteral("mnuOpenRecent"));
    recentMenu_->menuAction()->setObjectName(QStringLiteral("mnuOpenRecent"));
    file->insertMenu(before, recentMenu_);
    connect(command(QStringLiteral("&Save Birth\u2026"), "mnuSaveBirth", QKeySequence::Save), &QAction::triggered, this,
            &MainWindow::SaveBirth);
    connect(command(QStringLiteral("Save Birth &As\u2026"), "mnuSaveBirthAs", QKeySequence::SaveAs),
            &QAction::triggered, this, &MainWindow::SaveBirthAs);
    file->insertSeparator(before)->setObjectName(QStringLiteral("mnuFileSep"));
    ShowRecentFiles();
}

void MainWindow::SetFileDialogs(ui::FileDialogs* dialogs) {
    dialogs_ = dialogs ? dialogs : ownDialogs_.get();
    if (result_) result_->SetFileDialogs(dialogs_);
}

QString MainWindow::StartFolder() const {
    if (!birthPath_.isEmpty()) return QFileInfo(birthPath_).absolutePath();
    const QStringList recent = recentFiles();
    if (!recent.isEmpty()) return QFileInfo(recent.first()).absolutePath();
    return QDir::homePath();
}

void MainWindow::OpenBirth() {
    const QString path = dialogs_->OpenFileName(this, QStringLiteral("Open Birth"), StartFolder(), BirthFileFilter());
    if (!path.isEmpty()) OpenBirthFile(path);
}

bool MainWindow::OpenBirthFile(const QString& path) {
    const FileBytes read = ReadBirthBytes(path);
    if (!read.Error.isEmpty()) {
        messages_.ShowNotice(this, QStringLiteral("Cannot open %1: %2").arg(Quoted(path), read.Error),
                             core::MessageIcon::Critical);
        return false;
    }
    const core::BirthFileReading reading =
        read.TooLarge ? *read.TooLarge
                      : core::ReadBirthFile({read.Bytes.constData(), static_cast<std::size_t>(read.Bytes.size())});
    if (!reading.Birth) {
        messages_.ShowNotice(
            this, QStringLiteral("Cannot open %1:\r\n%2").arg(Quoted(path), report::ToQString(reading.Error)),
            reading.Check ? reading.Check->Icon : core::MessageIcon::Critical);
        return false;
    }
    // The lists hold every value the checks let through; should one not
    // be there, nothing is changed rather than half the form.
    const core::FormInput& form = reading.Birth->Form;
    const auto listed = [](const QComboBox* list, const std::string& text) {
        return list->findText(report::ToQString(text)) >= 0;
    };
    const bool fits = form.MonthIndex >= 0 && form.MonthIndex < monthList_->count() && listed(dayList_, form.Day) &&
                      listed(yearList_, form.Year) && listed(hourList_, form.Hour) &&
                      listed(minuteList_, form.Minute) && listed(secondList_, form.Second) && form.ZoneRow >= 0 &&
                      form.ZoneRow < core::kZoneCount;
    if (!fits) {
        messages_.ShowNotice(
            this,
            QStringLiteral("Cannot open %1:\r\nits date, time or zone is not one the lists offer.").arg(Quoted(path)),
            core::MessageIcon::Critical);
        return false;
    }
    if (!ConfirmDropEdits()) return false;
    WriteFormToWindow(form);
    if (reading.Birth->Ephemeris) ChooseEngine(*reading.Birth->Ephemeris);
    birthPath_ = QFileInfo(path).absoluteFilePath();
    RememberRecentFile(birthPath_);
    MarkSaved();
    return true;
}

void MainWindow::WriteFormToWindow(const core::FormInput& form) {
    // No place while the lists change, so their signals do not work out an
    // earlier place's zone; the file's zone is written below as it was saved.
    place_.reset();
    nameBox_->setText(report::ToQString(form.Name));
    monthList_->setCurrentIndex(form.MonthIndex);
    const auto select = [](QComboBox* list, const std::string& text) {
        list->setCurrentIndex(list->findText(report::ToQString(text)));
    };
    select(dayList_, form.Day);
    select(yearList_, form.Year);
    select(hourList_, form.Hour);
    select(minuteList_, form.Minute);
    select(secondList_, form.Second);
    ShowCoordinates(form);
    cityBox_->setText(report::ToQString(form.City));
    stateBox_->setText(report::ToQString(form.State));
    countryBox_->setText(report::ToQString(form.Country));
    for (QLineEdit* box : {cityBox_, stateBox_, countryBox_}) box->setCursorPosition(0);
    WriteZoneToForm(form);
    place_ = form.Place;
    if (const std::optional<core::PlaceZoneOutcome> zone = core::PlaceZoneOf(form)) {
        ShowPlaceNote(*zone);
    } else {
        placeNote_->clear();
    }
}

std::optional<core::Birth> MainWindow::BirthToSave() {
    core::FormReading reading = ReadForm(CurrentForm(), settings_);
    if (const core::Notice* refused = RefusalOf(reading)) {
        Reject(*refused);
        return std::nullopt;
    }
    return std::get<core::Birth>(std::move(reading));
}

void MainWindow::SaveBirth() {
    if (birthPath_.isEmpty()) {
        SaveBirthAs();
        return;
    }
    if (const std::optional<core::Birth> birth = BirthToSave()) WriteBirthFile(birthPath_, *birth);
}

void MainWindow::SaveBirthAs() {
    const std::optional<core::Birth> birth = BirthToSave();
    if (!birth) return;
    const core::Birth& form = *birth;
    QString suggested = birthPath_;
    if (suggested.isEmpty()) {
        QString name = report::ToQString(form.Name).trimmed().toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
        if (name.isEmpty()) name = QStringLiteral("birth");
        suggested = QDir(StartFolder()).filePath(name + report::ToQString(core::kBirthFileSuffix));
    }
    const QString path =
        ui::WithSuffix(dialogs_->SaveFileName(this, QStringLiteral("Save Birth As"), suggested, BirthFileFilter()),
                       report::ToQString(core::kBirthFileSuffix));
    if (!path.isEmpty()) WriteBirthFile(path, form);
}

bool MainWindow::WriteBirthFile(const QString& path, const core::Birth& birth) {
    const std::string text = core::BirthFileText(birth, birth.Settings);
    QString error;
    if (!report::WriteWholeFile(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())), &error)) {
        messages_.ShowNotice(this, QStringLiteral("Cannot save %1: %2").arg(Quoted(path), error),
                             core::MessageIcon::Critical);
        return false;
    }
    birthPath_ = QFileInfo(path).absoluteFilePath();
    RememberRecentFile(birthPath_);
    MarkSaved();
    return true;
}

QStringList MainWindow::recentFiles() const {
    const QString stored = settingsStore_->Value(kRecentFilesKey).value_or(QString());
    QStringList paths = stored.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    paths.removeDuplicates();
    while (paths.size() > kRecentFileCount) paths.removeLast();
    return paths;
}

void MainWindow::StoreRecentFiles(const QStringList& paths) {
    settingsStore_->SetValue(kRecentFilesKey, paths.join(QLatin1Char('\n')));
    ShowRecentFiles();
}

void MainWindow::RememberRecentFile(const QString& path) {
    QStringList paths = recentFiles();
    paths.removeAll(path);
    paths.prepend(path);
    while (paths.size() > kRecentFileCount) paths.removeLast();
    StoreRecentFiles(paths);
}

void MainWindow::OpenRecentFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        QStringList paths = recentFiles();
        paths.removeAll(path);
        StoreRecentFiles(paths);
        messages_.ShowNotice(this,
                             QStringLiteral("%1 is no longer there (%2); it has been taken off the recent files.")
                                 .arg(Quoted(path), QDir::toNativeSeparators(path)),
                             core::MessageIcon::Information);
        return;
    }
    OpenBirthFile(path);
}

void MainWindow::ShowRecentFiles() {
    if (!recentMenu_) return;
    // An entry may be the one being triggered: it goes once its signal is
    // done, not now.
    for (QAction* old : recentMenu_->actions()) {
        recentMenu_->removeAction(old);
        old->setParent(nullptr);
        old->deleteLater();
    }
    const QStringList paths = recentFiles();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString& path = paths[i];
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        entry->setObjectName(QStringLiteral("mnuRecent_%1").arg(i));
        entry->setData(path);
        connect(entry, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
    }
    recentMenu_->menuAction()->setEnabled(!paths.isEmpty());
}

}  // namespace velmora
