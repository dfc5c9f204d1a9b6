#pragma once

// What the window tests share: an input window or a result window whose
// platform services are all stand-ins (recording_platform.h), and a birth
// typed into the input form as a user types it.

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

#include "core/pipeline.h"
#include "support/sample_birth.h"
#include "ui/links.h"
#include "ui/main_window.h"
#include "ui/platform.h"
#include "ui/recording_platform.h"
#include "ui/result_window.h"

class QAction;
class QComboBox;
class QLineEdit;
class QTabWidget;

namespace velmora::ui {
class FilteredLineEdit;
}

namespace velmora::testing {

// Replaces the text of a box as a user does: selects what it holds, deletes
// it and types the new text key by key, through the box's filter.
void TypeInto(QLineEdit* box, const QString& text);

// Types a birth into the input window: every box key by key (so the name
// comes out in capitals), every list and option button chosen. The city's
// list of places is closed again without choosing one, so the form holds
// the typed coordinates and zone. Boxes that are empty and stay empty get
// no keystroke at all (a keystroke in the city box reads the atlas).
void TypeBirth(MainWindow& window, const FormTexts& birth = DelhiBirth());

// The analysis of a form with these options; ends the run when the form is
// refused, since every test of the windows that asks for one needs it.
core::BirthAnalysis AnalysisOf(const core::FormInput& form, const core::AnalysisOptions& options = {});

// The moment the fixtures' clocks show unless a test sets another.
inline QDateTime FixtureNow() { return Utc(2025, 6, 1, 6, 30); }

// One input window with every platform service a stand-in: messages and
// links recorded, settings in memory (or in the store given, which must
// outlive the fixture), file dialogs answered from a queue, a fixed clock,
// and the chart library in a fresh folder of its own. Deleting the fixture
// also deletes the result windows the window let go of.
struct InputWindowFixture {
    explicit InputWindowFixture(ui::SettingsStore* sharedSettings = nullptr);
    ~InputWindowFixture();
    InputWindowFixture(const InputWindowFixture&) = delete;
    InputWindowFixture& operator=(const InputWindowFixture&) = delete;

    QTemporaryDir folder;  // holds library.sqlite, and whatever a test writes
    RecordingMessages messages;
    RecordingOpener opener;
    ui::Links links{opener};
    ui::MemorySettingsStore store;
    ScriptedFileDialogs dialogs;
    FixedClock clock{FixtureNow()};
    MainWindow window{messages, links};

    // The window's controls by object name.
    template <class T = QWidget>
    T* get(const char* name) const {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) const;
    QComboBox* list(const char* name) const;
    QLineEdit* box(const char* name) const;
    ui::FilteredLineEdit* edit(const char* name) const;  // the name and digit boxes

    QString file(const QString& name) const { return folder.filePath(name); }

    // Shown and active, so that focus and keys go where a user's would.
    bool showActive();
    void type(const char* name, const QString& text) { TypeInto(box(name), text); }
    void typeBirth(const FormTexts& birth = DelhiBirth()) { TypeBirth(window, birth); }
    // File > Analyze, then the result window on show (none when the form
    // was refused and none was open).
    ui::ResultWindow* analyze();
    ui::ResultWindow* result() const { return window.resultWindow(); }
};

// A result window with recorded links, settings in memory and a fixed
// clock, showing one analysis.
struct ResultWindowFixture {
    explicit ResultWindowFixture(core::BirthAnalysis shown, const QDateTime& now = FixtureNow());
    ResultWindowFixture(const ResultWindowFixture&) = delete;
    ResultWindowFixture& operator=(const ResultWindowFixture&) = delete;

    RecordingOpener opener;
    ui::Links links{opener};
    ui::MemorySettingsStore store;
    FixedClock clock;
    core::BirthAnalysis analysis;
    ui::ResultWindow window{links};

    template <class T = QWidget>
    T* get(const char* name) const {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    QTabWidget* tabs() const;
    // The tabs after the first three are built and filled when first
    // shown: each is shown once, and the last stays chosen.
    void showAddedTabs();
};

}  // namespace velmora::testing
