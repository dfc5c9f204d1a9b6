// The input window and the birth file it was opened from or saved to: the
// title names the file and marks edits not yet saved ("asha.vbirth* — …"),
// and opening another file or closing the window asks before such edits are
// dropped. With no file open the title is the program's caption alone and
// nothing is asked, as before birth files existed.

#include <QAbstractButton>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "core/form_reading.h"
#include "core/place_zone.h"
#include "ui/main_window.h"
#include "ui/platform.h"
#include "ui/result_window.h"
#include "ui/window_line_edit.h"
#include "ui/window_widgets.h"

namespace velmora {

void MainWindow::TrackChanges() {
    const auto changed = [this] { ShowDocumentTitle(); };
    for (QLineEdit* box :
         std::initializer_list<QLineEdit*>{nameBox_, latitudeDegreesBox_, latitudeMinutesBox_, longitudeDegreesBox_,
                                           longitudeMinutesBox_, cityBox_, stateBox_, countryBox_})
        connect(box, &QLineEdit::textChanged, this, changed);
    for (QComboBox* list : {monthList_, dayList_, yearList_, hourList_, minuteList_, secondList_, zoneList_})
        connect(list, &QComboBox::currentIndexChanged, this, changed);
    for (QAbstractButton* option : std::initializer_list<QAbstractButton*>{daylightSavingBox_, northButton_,
                                                                           southButton_, eastButton_, westButton_})
        connect(option, &QAbstractButton::toggled, this, changed);
    // The engine is part of the file; these come after the choice is taken.
    for (QActionGroup* group : {modeChoices_, ayanamsaChoices_, nodeChoices_})
        connect(group, &QActionGroup::triggered, this, changed);
    // Typing another city leaves the coordinates and zone with the chosen
    // place: the note says so.
    connect(cityBox_, &QLineEdit::textEdited, this, &MainWindow::ShowCityMismatch);
    ShowDocumentTitle();
}

bool MainWindow::HasUnsavedEdits() const {
    if (birthPath_.isEmpty() || !saved_) return false;
    return !(CurrentForm() == saved_->Form) || !(settings_ == saved_->Settings);
}

void MainWindow::ShowDocumentTitle() {
    if (birthPath_.isEmpty()) {
        setWindowTitle(ui::WindowCaption());
        setWindowModified(false);
        return;
    }
    // Qt shows "[*]" as "*" while the window is modified, and not at all otherwise.
    setWindowTitle(QStringLiteral("%1[*] \u2014 %2").arg(QFileInfo(birthPath_).fileName(), ui::WindowCaption()));
    setWindowModified(HasUnsavedEdits());
}

void MainWindow::MarkSaved() {
    saved_ = SavedBirth{CurrentForm(), settings_};
    ShowDocumentTitle();
}

bool MainWindow::ConfirmDropEdits() {
    if (!HasUnsavedEdits()) return true;
    const QString text = QStringLiteral("The changes to \u201C%1\u201D are not saved.\r\nSave them first?")
                             .arg(QFileInfo(birthPath_).fileName());
    switch (messages_.AskUnsaved(this, text)) {
        case ui::MessageService::UnsavedAnswer::Save: {
            // To the file the title names; a refused form or a failed write
            // has said why, and keeps everything as it is.
            const std::optional<core::Birth> birth = BirthToSave();
            return birth && WriteBirthFile(birthPath_, *birth);
        }
        case ui::MessageService::UnsavedAnswer::Discard:
            return true;
        case ui::MessageService::UnsavedAnswer::Cancel:
            break;
    }
    return false;
}

void MainWindow::ShowCityMismatch() {
    if (const std::optional<core::PlaceZoneOutcome> zone = core::PlaceZoneOf(CurrentForm())) ShowPlaceNote(*zone);
}

}  // namespace velmora
