#pragma once

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>

#include "core/atlas.h"
#include "core/birth.h"
#include "core/library.h"
#include "core/engine_settings.h"
#include "core/form_input.h"
#include "core/messages.h"
#include "core/place_zone.h"
#include "ui/file_dialogs.h"
#include "ui/update_reminder.h"
#include "ui/window_widgets.h"

class QActionGroup;
class QCheckBox;
class QComboBox;
class QCompleter;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace velmora {

namespace ui {
class Clock;
class FilteredLineEdit;
class KarakaChoice;
class SettingsStore;
class Links;
class MessageService;
class LibraryWindow;
class PlaceListModel;
class PromotionStrip;
class ResultWindow;
class SettingsStore;
class DashaYearMenu;
}  // namespace ui

// The input window frmMain: the birth entries, their filters and checks, the
// coordinate look-up and the analysis command. Each analysis shows its
// result in a new result window while this window hides; Back returns here
// with every entry as it was.
//
// The Settings menu chooses the engine of the positions (the formulas, or
// the Swiss Ephemeris with an ayanamsa and a node), remembered in the
// settings store. The city box offers atlas places as one types; choosing
// one fills the place, the coordinates and the zone for the date and time
// on the form, until the user changes the coordinates or the zone by hand.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    using PromotionLabel = ui::PromotionLabel;

    MainWindow(ui::MessageService& messages, ui::Links& links, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Only the label in front is shown and takes clicks.
    void BringPromotionLabelToFront(PromotionLabel label);

    // The entries as they stand, with the atlas place while it holds.
    core::FormInput CurrentForm() const;

    // Where the engine choices are read from and written to. Without a
    // call, a store in memory that starts at the formulas. The store must
    // outlive the window.
    void SetSettings(ui::SettingsStore* store);
    const core::EngineSettings& engineSettings() const { return settings_; }

    // The city box's completer and its list of places.
    QCompleter* placeCompleter() const { return completer_; }
    // Fills the form from an atlas place, as choosing a completion does.
    void ChoosePlace(const core::Place& place);

    // The result window of the analysis on show, null when there is none.
    ui::ResultWindow* resultWindow() const { return result_; }

    // What the result windows read "now" from; until set, the system clock.
    // (They remember their choices in the store SetSettings names.)
    void SetClock(const ui::Clock* clock) { clock_ = clock ? clock : &systemClock_; }

    // The file choosers of this window and its result windows; null: the Qt
    // ones. They must outlive the window.
    void SetFileDialogs(ui::FileDialogs* dialogs);

    // Fills the form from a birth file as typing would, and takes the
    // file's engine when it names one. A file that cannot be read or is
    // refused changes nothing; the message says why. True when opened.
    bool OpenBirthFile(const QString& path);

    // The chart library (main_window_library.cpp): the file File → Library…
    // opens, Add to Library writes to and the completer searches for
    // imported places; opened when first needed. Without a call, the
    // default library (core::DefaultLibraryPath).
    void SetLibraryFile(const QString& path);
    const QString& libraryFile() const { return libraryFile_; }
    // The library window, null until File → Library… opened it.
    ui::LibraryWindow* libraryWindow() const;
    // The library's id of the birth on the form, when it came from the library or was added to it.
    std::optional<std::int64_t> libraryId() const { return libraryId_; }
    void ShowLibrary();
    void AddToLibrary();
    void UpdateInLibrary();
    void ImportPlaces();
    // The file the form was last opened from or saved to; empty when none.
    const QString& birthFilePath() const { return birthPath_; }
    // The recent birth files, the latest first (at most kRecentFileCount).
    QStringList recentFiles() const;
    static constexpr int kRecentFileCount = 8;

public slots:
    // cmdRashi and mnuNext: check, analyse, show the result.
    void Analyze();
    // mnuOpenBirth: a birth file chosen in the file dialog.
    void OpenBirth();
    // mnuSaveBirth: the form to the file it came from; without one, as
    // mnuSaveBirthAs. mnuSaveBirthAs: to a file chosen in the dialog. A form
    // the checks refuse is not saved; a failed write leaves the old file.
    void SaveBirth();
    void SaveBirthAs();
    // cmdBrowser: a map search for the coordinates of the entered place.
    void LookUpCoordinates();

signals:
    void shutDownRequested();
    void aboutRequested(QWidget* owner);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void SetUpAccessibility();
    void BuildSettingsMenu(QMenu* menu);
    void ShowEngineChoices();
    void ChooseEngine(const core::EngineSettings& settings);
    void SetUpPlaceCompletion();
    void CompletePlace(const QString& text);
    // The latitude and longitude boxes and buttons as the form holds them.
    void ShowCoordinates(const core::FormInput& form);
    void WritePlaceToForm(const core::FormInput& form, const core::PlaceZoneOutcome& outcome);
    void WriteZoneToForm(const core::FormInput& form);
    void ShowPlaceNote(const core::PlaceZoneOutcome& outcome);
    void ReevaluatePlaceZone();
    void DropPlace();
    void RemoveExactOffsetEntry();
    QWidget* BuildForm();
    void FillLists();
    void SetTabOrder();
    // Shows a failed check and moves the focus where it says.
    void Reject(const core::Notice& notice);
    QWidget* FieldWidget(core::FormField field) const;
    void ReturnFromResult();
    void RequestShutDown();

    // Birth files.
    void BuildFileCommands(QMenu* file, QAction* before);
    // The form read for saving; its first failed check is shown instead.
    std::optional<core::Birth> BirthToSave();
    bool WriteBirthFile(const QString& path, const core::Birth& birth);
    void WriteFormToWindow(const core::FormInput& form);
    void OpenRecentFile(const QString& path);
    void RememberRecentFile(const QString& path);
    void StoreRecentFiles(const QStringList& paths);
    void ShowRecentFiles();
    QString StartFolder() const;

    ui::MessageService& messages_;
    ui::Links& links_;
    QPointer<ui::ResultWindow> result_;
    bool shuttingDown_ = false;
    ui::SystemClock systemClock_;
    const ui::Clock* clock_ = &systemClock_;

    ui::FilteredLineEdit* nameBox_ = nullptr;
    QComboBox* monthList_ = nullptr;
    QComboBox* dayList_ = nullptr;
    QComboBox* yearList_ = nullptr;
    QComboBox* hourList_ = nullptr;
    QComboBox* minuteList_ = nullptr;
    QComboBox* secondList_ = nullptr;
    QComboBox* zoneList_ = nullptr;
    QCheckBox* daylightSavingBox_ = nullptr;
    ui::FilteredLineEdit* latitudeDegreesBox_ = nullptr;
    ui::FilteredLineEdit* latitudeMinutesBox_ = nullptr;
    ui::FilteredLineEdit* longitudeDegreesBox_ = nullptr;
    ui::FilteredLineEdit* longitudeMinutesBox_ = nullptr;
    QRadioButton* northButton_ = nullptr;  // optLat(0)
    QRadioButton* southButton_ = nullptr;  // optLat(1)
    QRadioButton* eastButton_ = nullptr;   // optLong(0)
    QRadioButton* westButton_ = nullptr;   // optLong(1)
    QLineEdit* cityBox_ = nullptr;
    QLineEdit* stateBox_ = nullptr;
    QLineEdit* countryBox_ = nullptr;
    QPushButton* lookUpButton_ = nullptr;
    QPushButton* analyzeButton_ = nullptr;
    ui::PromotionStrip* promotion_ = nullptr;

    // Positions settings.
    std::unique_ptr<ui::SettingsStore> ownSettings_;
    ui::SettingsStore* settingsStore_ = nullptr;
    core::EngineSettings settings_;
    QActionGroup* modeChoices_ = nullptr;
    QActionGroup* ayanamsaChoices_ = nullptr;
    QActionGroup* nodeChoices_ = nullptr;
    ui::DashaYearMenu* dashaYear_ = nullptr;  // the Settings menu's dasha year
    ui::KarakaChoice* karakas_ = nullptr;     // Settings > Chara karakas

    // The atlas place and its clock, while the user keeps them.
    QCompleter* completer_ = nullptr;
    ui::PlaceListModel* places_ = nullptr;
    QLabel* placeNote_ = nullptr;
    std::optional<core::PlacePick> place_;
    std::optional<int> exactUtcOffset_;
    int zoneRowBehindExactOffset_ = core::kDefaultZoneRow;

    // Birth files.
    std::unique_ptr<ui::FileDialogs> ownDialogs_ = std::make_unique<ui::QtFileDialogs>();
    ui::FileDialogs* dialogs_ = ownDialogs_.get();
    QMenu* recentMenu_ = nullptr;
    QString birthPath_;

    // The open birth file's state: the title names it and marks edits not
    // yet saved, and nothing drops them without asking
    // (main_window_document.cpp).
    void TrackChanges();
    void ShowDocumentTitle();
    // The form and engine as the open file holds them, after opening or saving it.
    void MarkSaved();
    bool HasUnsavedEdits() const;
    // True when the edits may go: none, saved, or discarded; false when the
    // user cancels or the save fails.
    bool ConfirmDropEdits();
    // The same sentence in the window and the result: see core::PlaceMismatchNote.
    void ShowCityMismatch();
    struct SavedBirth {
        core::FormInput Form;
        core::EngineSettings Settings;
    };
    std::optional<SavedBirth> saved_;
    // The chart library (main_window_library.cpp).
    void BuildLibraryCommands(QMenu* file, QAction* before);
    // The library, opened (and, with create, made) when first needed; null
    // when there is none or it is refused (said when create).
    core::Library* OpenedLibrary(bool create);
    void OpenLibraryBirth(std::int64_t id, const core::BirthFileContents& birth);
    QString libraryFile_;
    std::unique_ptr<core::Library> library_;
    QPointer<ui::LibraryWindow> libraryWindow_;
    std::optional<std::int64_t> libraryId_;
};

}  // namespace velmora
