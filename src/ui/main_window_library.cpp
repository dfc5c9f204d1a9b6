// The input window's chart-library commands: File → Library…, Add to
// Library, Update in Library and Import Places…. The library is opened when
// one of them (or the completer, for imported places) first needs it, so a
// start-up without a library costs nothing.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProgressDialog>

#include "core/place_import.h"
#include "ui/library_window.h"
#include "ui/main_window.h"
#include "ui/platform.h"
#include "ui/result_window.h"

namespace velmora {

namespace {

QString DefaultLibraryFile() {
    const auto path = core::DefaultLibraryPath(core::ProcessEnvironment());
    return path ? QFile::decodeName(path->string().c_str()) : QString();
}

}  // namespace

void MainWindow::BuildLibraryCommands(QMenu* file, QAction* before) {
    libraryFile_ = DefaultLibraryFile();
    auto command = [&](const QString& text, const char* name, void (MainWindow::*slot)()) {
        auto* action = new QAction(text, file);
        action->setObjectName(QString::fromLatin1(name));
        file->insertAction(before, action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    command(QStringLiteral("&Library\u2026"), "mnuLibrary", &MainWindow::ShowLibrary)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    command(QStringLiteral("A&dd to Library"), "mnuAddToLibrary", &MainWindow::AddToLibrary);
    command(QStringLiteral("&Update in Library"), "mnuUpdateInLibrary", &MainWindow::UpdateInLibrary);
    command(QStringLiteral("Import &Places\u2026"), "mnuImportPlaces", &MainWindow::ImportPlaces);
    file->insertSeparator(before)->setObjectName(QStringLiteral("mnuLibrarySep"));
}

ui::LibraryWindow* MainWindow::libraryWindow() const { return libraryWindow_; }

void MainWindow::SetLibraryFile(const QString& path) {
    if (libraryWindow_) libraryWindow_->deleteLater();
    library_.reset();
    libraryId_.reset();
    libraryFile_ = path;
}

core::Library* MainWindow::OpenedLibrary(bool create) {
    if (library_) return library_.get();
    if (libraryFile_.isEmpty()) {
        if (create)
            messages_.ShowNotice(this, QStringLiteral("There is no folder for the library (HOME is not set)."),
                                 core::MessageIcon::Critical);
        return nullptr;
    }
    // The completer only looks at a library that is there.
    if (!create && !QFileInfo::exists(libraryFile_)) return nullptr;
    core::Library::Opening opening = core::Library::Open(QFile::encodeName(libraryFile_).toStdString());
    if (!opening.Opened) {
        if (create)
            messages_.ShowNotice(this,
                                 QStringLiteral("Cannot open the library %1:\r\n%2")
                                     .arg(libraryFile_, QString::fromStdString(opening.Error)),
                                 core::MessageIcon::Critical);
        return nullptr;
    }
    library_ = std::move(opening.Opened);
    return library_.get();
}

void MainWindow::ShowLibrary() {
    if (!libraryWindow_) {
        core::Library* library = OpenedLibrary(true);
        if (!library) return;
        libraryWindow_ = new ui::LibraryWindow(*library, messages_, *dialogs_, *settingsStore_, this);
        connect(libraryWindow_, &ui::LibraryWindow::birthOpened, this, &MainWindow::OpenLibraryBirth);
    }
    libraryWindow_->show();
    libraryWindow_->raise();
    libraryWindow_->activateWindow();
}

void MainWindow::OpenLibraryBirth(std::int64_t id, const core::BirthFileContents& birth) {
    WriteFormToWindow(birth.Form);
    if (birth.Ephemeris) ChooseEngine(*birth.Ephemeris);
    libraryId_ = id;
    birthPath_.clear();
    show();
    raise();
    activateWindow();
}

void MainWindow::AddToLibrary() {
    if (!BirthToSave()) return;
    core::Library* library = OpenedLibrary(true);
    if (!library) return;
    const core::LibraryResult<std::int64_t> added = library->Add(core::BirthFileContents{CurrentForm(), settings_});
    if (!added.Ok()) {
        messages_.ShowNotice(this,
                             QStringLiteral("Cannot add the birth to the library:\r\n%1")
                                 .arg(added.Status.Fault == core::LibraryFault::Busy
                                          ? QStringLiteral("another program is changing it; try again")
                                          : QString::fromStdString(added.Status.Message)),
                             core::MessageIcon::Critical);
        return;
    }
    libraryId_ = added.Value;
    if (libraryWindow_ && libraryWindow_->isVisible()) libraryWindow_->Refresh();
}

void MainWindow::UpdateInLibrary() {
    if (!libraryId_) {
        // A birth not from the library yet goes in as a new one.
        AddToLibrary();
        return;
    }
    if (!BirthToSave()) return;
    core::Library* library = OpenedLibrary(true);
    if (!library) return;
    const core::LibraryStatus updated = library->Update(*libraryId_, core::BirthFileContents{CurrentForm(), settings_});
    if (!updated.Ok()) {
        messages_.ShowNotice(this,
                             QStringLiteral("Cannot update the birth in the library:\r\n%1")
                                 .arg(updated.Fault == core::LibraryFault::Busy
                                          ? QStringLiteral("another program is changing it; try again")
                                          : QString::fromStdString(updated.Message)),
                             core::MessageIcon::Critical);
        return;
    }
    if (libraryWindow_ && libraryWindow_->isVisible()) libraryWindow_->Refresh();
}

void MainWindow::ImportPlaces() {
    const QString dump = dialogs_->OpenFileName(this, QStringLiteral("Import Places"), QDir::homePath(),
                                                QStringLiteral("GeoNames dumps (*.txt);;All files (*)"));
    if (dump.isEmpty()) return;
    core::Library* library = OpenedLibrary(true);
    if (!library) return;
    core::PlaceImportOptions options;
    // admin1CodesASCII.txt beside the dump names the states.
    const QString admin1 = QFileInfo(dump).dir().filePath(QStringLiteral("admin1CodesASCII.txt"));
    if (QFileInfo::exists(admin1)) options.Admin1Codes = QFile::encodeName(admin1).toStdString();
    options.CountryNames = &core::Atlas::Instance();
    const std::unique_ptr<QProgressDialog> progress =
        ui::ImportProgressDialog(this, QStringLiteral("Importing places\u2026"), "dlgImportPlaces");
    options.Progress = ui::ProgressShownIn(*progress);
    const core::PlaceImportSummary summary =
        core::ImportGeoNames(*library, QFile::encodeName(dump).toStdString(), options);
    progress->reset();
    if (!summary.Status.Ok()) {
        messages_.ShowNotice(
            this, QStringLiteral("No place was imported:\r\n%1").arg(QString::fromStdString(summary.Status.Message)),
            core::MessageIcon::Critical);
        return;
    }
    QString text = QStringLiteral("%1 places imported; the city box finds them from now on.").arg(summary.Places);
    if (!summary.Refused.empty())
        text += QStringLiteral("\r\n%1 lines were not place records (the first: %2).")
                    .arg(summary.Refused.size())
                    .arg(QString::fromStdString(core::ImportRefusalText(summary.Refused.front())));
    messages_.ShowNotice(this, text, core::MessageIcon::Information);
}

}  // namespace velmora
