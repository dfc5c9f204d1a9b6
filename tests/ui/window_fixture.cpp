#include "ui/window_fixture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <utility>

#include "ui/window_line_edit.h"

namespace velmora::testing {

namespace {

// A control the form must have; without it no test of the form means anything.
template <class T>
T* Control(const QWidget& window, const char* name) {
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    if (!control) qFatal("the window has no control %s", name);
    return control;
}

}  // namespace

void TypeInto(QLineEdit* box, const QString& text) {
    if (!box->text().isEmpty()) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
    }
    QTest::keyClicks(box, text);
}

void TypeBirth(MainWindow& window, const FormTexts& birth) {
    const std::pair<const char*, const std::string*> boxes[] = {{"txtName", &birth.Name},
                                                                {"txtLatD", &birth.LatitudeDegrees},
                                                                {"txtLatM", &birth.LatitudeMinutes},
                                                                {"txtLonD", &birth.LongitudeDegrees},
                                                                {"txtLonM", &birth.LongitudeMinutes},
                                                                {"txtMCity", &birth.City},
                                                                {"txtMState", &birth.State},
                                                                {"txtMCountry", &birth.Country}};
    for (const auto& [name, text] : boxes) {
        TypeInto(Control<QLineEdit>(window, name), Q(*text));
        // The city box offers places as one types; the user carries on
        // without choosing one.
        if (QAbstractItemView* places = window.placeCompleter()->popup(); places->isVisible()) places->hide();
    }
    Control<QComboBox>(window, "cboMonth")->setCurrentIndex(birth.MonthIndex);
    const std::pair<const char*, const std::string*> lists[] = {{"cboDate", &birth.Day},
                                                                {"cboYear", &birth.Year},
                                                                {"cboHH", &birth.Hour},
                                                                {"cboMM", &birth.Minute},
                                                                {"cboSS", &birth.Second}};
    for (const auto& [name, text] : lists) Control<QComboBox>(window, name)->setCurrentText(Q(*text));
    Control<QComboBox>(window, "cmbTimeZone")->setCurrentIndex(birth.ZoneRow);
    Control<QCheckBox>(window, "chkDST")->setChecked(birth.DaylightSaving);
    Control<QRadioButton>(window, birth.South ? "optLat_1" : "optLat_0")->setChecked(true);
    Control<QRadioButton>(window, birth.East ? "optLong_0" : "optLong_1")->setChecked(true);
}

core::BirthAnalysis AnalysisOf(const core::FormInput& form, const core::AnalysisOptions& options) {
    core::AnalysisOutcome outcome = core::RunAnalysis(form, options);
    if (outcome.Rejected) qFatal("the sample birth was refused: %s", outcome.Rejected->Text.c_str());
    return std::move(outcome.Result);
}

InputWindowFixture::InputWindowFixture(ui::SettingsStore* sharedSettings) {
    window.SetSettings(sharedSettings ? sharedSettings : &store);
    window.SetFileDialogs(&dialogs);
    window.SetClock(&clock);
    window.SetLibraryFile(file(QStringLiteral("library.sqlite")));
}

InputWindowFixture::~InputWindowFixture() {
    // Back and each new analysis leave the old result window to the event
    // loop to delete; it holds on to this fixture's services, so it goes now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QAction* InputWindowFixture::action(const char* name) const { return get<QAction>(name); }
QComboBox* InputWindowFixture::list(const char* name) const { return get<QComboBox>(name); }
QLineEdit* InputWindowFixture::box(const char* name) const { return get<QLineEdit>(name); }
ui::FilteredLineEdit* InputWindowFixture::edit(const char* name) const { return get<ui::FilteredLineEdit>(name); }

bool InputWindowFixture::showActive() {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

ui::ResultWindow* InputWindowFixture::analyze() {
    action("mnuNext")->trigger();
    return window.resultWindow();
}

ResultWindowFixture::ResultWindowFixture(core::BirthAnalysis shown, const QDateTime& now)
    : clock(now), analysis(std::move(shown)) {
    window.SetSettings(&store);
    window.SetClock(&clock);
    window.ShowResult(analysis);
}

QTabWidget* ResultWindowFixture::tabs() const { return get<QTabWidget>("SSTab1"); }

void ResultWindowFixture::showAddedTabs() {
    QTabWidget* all = tabs();
    for (int i = 3; i < all->count(); ++i) all->setCurrentIndex(i);
}

}  // namespace velmora::testing
