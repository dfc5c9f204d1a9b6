// The input window's birth files: saving and opening through the File menu,
// refused files, the recent files, and saves that fail.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "core/atlas.h"
#include "core/birth_file.h"
#include "core/analysis_json.h"
#include "core/file_size_limit.h"
#include "core/pipeline.h"
#include "core/zones.h"
#include "ui/links.h"
#include "ui/main_window.h"
#include "ui/result_window.h"
#include "ui/window_fixture.h"
#include "ui/window_widgets.h"

using velmora::MainWindow;
using velmora::core::EngineSettings;
using velmora::core::EphemerisMode;
using velmora::core::FormInput;
using velmora::core::MessageIcon;
using velmora::ui::MemorySettingsStore;

namespace {

struct Fixture : velmora::testing::InputWindowFixture {
    using InputWindowFixture::InputWindowFixture;

    // A form that passes every check, typed.
    void fill(const QString& name = QStringLiteral("asha rao")) {
        typeBirth(velmora::testing::DelhiBirth(name.toStdString()));
    }

    // Save As, answering the dialog with path.
    void saveAs(const QString& path) {
        dialogs.Answers = {path};
        action("mnuSaveBirthAs")->trigger();
    }
    // Open, answering the dialog with path; true when it opened without a word.
    bool open(const QString& path) {
        dialogs.Answers = {path};
        const qsizetype notices = messages.Notices.size();
        action("mnuOpenBirth")->trigger();
        return messages.Notices.size() == notices && window.birthFilePath() == QFileInfo(path).absoluteFilePath();
    }

    QList<QAction*> recentEntries() const { return get<QMenu>("mnuOpenRecent")->actions(); }
};

// Every entry of the form, the exact offset and the atlas place included.
bool SameForm(const velmora::core::FormInput& a, const velmora::core::FormInput& b) {
    return a.Name == b.Name && a.MonthIndex == b.MonthIndex && a.Day == b.Day && a.Year == b.Year && a.Hour == b.Hour &&
           a.Minute == b.Minute && a.Second == b.Second && a.ZoneRow == b.ZoneRow &&
           a.DaylightSaving == b.DaylightSaving && a.LatitudeDegrees == b.LatitudeDegrees &&
           a.LatitudeMinutes == b.LatitudeMinutes && a.South == b.South && a.LongitudeDegrees == b.LongitudeDegrees &&
           a.LongitudeMinutes == b.LongitudeMinutes && a.East == b.East && a.City == b.City && a.State == b.State &&
           a.Country == b.Country && a.ExactUtcOffsetMinutes == b.ExactUtcOffsetMinutes && a.Place == b.Place;
}

std::string AnalysisJsonOf(const velmora::core::FormInput& form, const velmora::core::EngineSettings& settings) {
    velmora::core::AnalysisOptions options;
    options.Settings = settings;
    const velmora::core::AnalysisOutcome outcome = velmora::core::RunAnalysis(form, options);
    return outcome.Rejected ? outcome.Rejected->Text : velmora::core::AnalysisJson(outcome.Result);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

}  // namespace

class BirthFilesTest : public QObject {
    Q_OBJECT

private slots:
    void aSavedBirthOpensToTheSameFormEngineAndAnalysis() {
        QTemporaryDir dir;
        Fixture f;
        f.fill();
        f.list("cboYear")->setCurrentText(QStringLiteral("1990"));
        // An atlas place whose clock no zone row has: the extra zone entry.
        const std::optional<velmora::core::Place> kathmandu = velmora::core::Atlas::Instance().Find("Kathmandu, Nepal");
        QVERIFY(kathmandu);
        f.window.ChoosePlace(*kathmandu);
        QCOMPARE(f.list("cmbTimeZone")->currentIndex(), velmora::core::kZoneCount);
        f.action("mnuPrecise")->trigger();
        f.action("mnuAyanamsa_raman")->trigger();
        f.action("mnuNodeTrue")->trigger();
        const velmora::core::EngineSettings engine = f.window.engineSettings();
        QCOMPARE(engine.Mode, velmora::core::EphemerisMode::Precise);
        const velmora::core::FormInput saved = f.window.CurrentForm();
        QVERIFY(saved.Place && saved.ExactUtcOffsetMinutes == 345);
        const QString note = f.get<QLabel>("lblPlaceNote")->text();
        const std::string json = AnalysisJsonOf(saved, engine);

        // Saved without an ending: the program's is added.
        f.saveAs(dir.filePath(QStringLiteral("asha")));
        const QString path = dir.filePath(QStringLiteral("asha.vbirth"));
        QVERIFY(QFile::exists(path));
        QCOMPARE(f.window.birthFilePath(), path);
        QVERIFY(f.messages.Notices.isEmpty());
        const QJsonObject written = QJsonDocument::fromJson(ReadAll(path)).object();
        QCOMPARE(written["utcOffset"].toString(), QStringLiteral("+05:45"));
        QCOMPARE(written["ephemeris"].toObject()["ayanamsa"].toString(), QStringLiteral("raman"));

        // Everything changed by hand, the engine too.
        f.fill(QStringLiteral("ravi"));
        f.list("cmbTimeZone")->setCurrentIndex(5);
        f.get<QCheckBox>("chkDST")->setChecked(true);
        f.get<QRadioButton>("optLat_1")->setChecked(true);
        f.action("mnuFormulas")->trigger();
        QVERIFY(!SameForm(f.window.CurrentForm(), saved));

        // Those edits of the open file are dropped only when the user says so.
        f.messages.Unsaved = velmora::ui::MessageService::UnsavedAnswer::Discard;
        QVERIFY(f.open(path));
        QCOMPARE(f.messages.UnsavedQuestions.size(), 1);
        QVERIFY(f.messages.Notices.isEmpty());
        QVERIFY(SameForm(f.window.CurrentForm(), saved));
        QCOMPARE(f.window.engineSettings(), engine);
        QCOMPARE(f.list("cmbTimeZone")->currentText(), QStringLiteral("Asia/Kathmandu, UTC+05:45"));
        QCOMPARE(f.get<QLabel>("lblPlaceNote")->text(), note);
        QCOMPARE(AnalysisJsonOf(f.window.CurrentForm(), f.window.engineSettings()), json);

        // A fresh window reads it the same, and its lists show it as typed.
        Fixture other;
        QVERIFY(other.open(path));
        QVERIFY(SameForm(other.window.CurrentForm(), saved));
        QCOMPARE(other.list("cboHH")->currentText(), QStringLiteral("9"));
        QCOMPARE(other.list("cboMonth")->currentText(), QStringLiteral("January"));
        QCOMPARE(other.get<QLineEdit>("txtName")->text(), QStringLiteral("ASHA RAO"));
        QCOMPARE(AnalysisJsonOf(other.window.CurrentForm(), other.window.engineSettings()), json);

        // The place lasts: a date before Nepal's clock moved to +05:45
        // (1986) gives the +05:30 zone row, as it does after choosing it.
        other.list("cboYear")->setCurrentText(QStringLiteral("1985"));
        QVERIFY(other.window.CurrentForm().Place);
        QVERIFY(!other.window.CurrentForm().ExactUtcOffsetMinutes);
        QCOMPARE(other.list("cmbTimeZone")->count(), velmora::core::kZoneCount);
    }

    void aZoneRowWithDaylightSavingOpensAsSaved() {
        QTemporaryDir dir;
        Fixture f;
        f.fill();
        f.list("cmbTimeZone")->setCurrentIndex(12);
        f.get<QCheckBox>("chkDST")->setChecked(true);
        f.get<QRadioButton>("optLong_1")->setChecked(true);
        const velmora::core::FormInput saved = f.window.CurrentForm();
        f.saveAs(dir.filePath(QStringLiteral("west.vbirth")));

        Fixture other;
        QVERIFY(other.open(dir.filePath(QStringLiteral("west.vbirth"))));
        QVERIFY(SameForm(other.window.CurrentForm(), saved));
        QCOMPARE(other.list("cmbTimeZone")->count(), velmora::core::kZoneCount);
        QVERIFY(other.get<QCheckBox>("chkDST")->isChecked());
        // The file names the engine it was saved with: the formulas.
        QCOMPARE(other.window.engineSettings(), velmora::core::EngineSettings{});
    }

    void refusedFilesShowWhyAndChangeNothing() {
        QTemporaryDir dir;
        Fixture f;
        f.fill();
        const QString good = dir.filePath(QStringLiteral("good.vbirth"));
        f.saveAs(good);
        f.fill(QStringLiteral("ravi"));
        f.list("cmbTimeZone")->setCurrentIndex(3);
        const velmora::core::FormInput before = f.window.CurrentForm();
        const QStringList recent = f.window.recentFiles();
        const QJsonObject object = QJsonDocument::fromJson(ReadAll(good)).object();

        QJsonObject missing = object;
        missing.remove(QStringLiteral("date"));
        QJsonObject latitude = object;
        latitude[QStringLiteral("latitude")] = QStringLiteral("95:00N");
        // Valid JSON, but far past the size of any birth file.
        const QByteArray large = QJsonDocument(object).toJson() + QByteArray(70 * 1024, ' ');
        const struct {
            const char* File;
            QByteArray Bytes;
            QString Says;
        } cases[] = {
            {"broken.vbirth", "{\"format\": \"velmora-birth\", ", QStringLiteral("not JSON")},
            {"missing.vbirth", QJsonDocument(missing).toJson(), QStringLiteral("\"date\"")},
            {"latitude.vbirth", QJsonDocument(latitude).toJson(),
             QStringLiteral("Please Enter Value Between 0 And 89")},
            {"large.vbirth", large, QStringLiteral("larger than 64 KiB (%1 bytes)").arg(large.size())},
        };
        for (const auto& c : cases) {
            const QString path = dir.filePath(QString::fromLatin1(c.File));
            WriteAll(path, c.Bytes);
            f.messages.Notices.clear();
            QVERIFY2(!f.open(path), c.File);
            QCOMPARE(f.messages.Notices.size(), 1);
            QVERIFY2(f.messages.Notices[0].Text.contains(c.Says), qPrintable(f.messages.Notices[0].Text));
            QVERIFY2(f.messages.Notices[0].Text.contains(QString::fromLatin1(c.File)), c.File);
            QVERIFY2(SameForm(f.window.CurrentForm(), before), c.File);
            QCOMPARE(f.window.birthFilePath(), good);
            QCOMPARE(f.window.recentFiles(), recent);
        }
        // The window's own check keeps the icon it has when analysing.
        f.messages.Notices.clear();
        f.open(dir.filePath(QStringLiteral("latitude.vbirth")));
        Fixture typed;
        typed.fill();
        typed.type("txtLatD", QStringLiteral("95"));
        typed.action("mnuNext")->trigger();
        QCOMPARE(typed.messages.Notices.size(), 1);
        QCOMPARE(f.messages.Notices[0].Icon, typed.messages.Notices[0].Icon);
        QVERIFY(f.messages.Notices[0].Text.endsWith(typed.messages.Notices[0].Text));

        // A file that is not there.
        f.messages.Notices.clear();
        QVERIFY(!f.open(dir.filePath(QStringLiteral("absent.vbirth"))));
        QCOMPARE(f.messages.Notices.size(), 1);
        QVERIFY(f.messages.Notices[0].Text.startsWith(QStringLiteral("Cannot open \u201Cabsent.vbirth\u201D")));
        QVERIFY(SameForm(f.window.CurrentForm(), before));

        // A cancelled dialog does nothing at all.
        f.messages.Notices.clear();
        f.dialogs.Answers.clear();
        f.action("mnuOpenBirth")->trigger();
        QCOMPARE(f.dialogs.Opened.last().Filter, QStringLiteral("Birth files (*.vbirth);;All files (*)"));
        QVERIFY(f.messages.Notices.isEmpty());
        QVERIFY(SameForm(f.window.CurrentForm(), before));
    }

    void saveChecksTheFormFirstAndAsksForAFileOnlyWhenItHasNone() {
        QTemporaryDir dir;
        Fixture f;
        // The checks refuse the empty form before any dialog opens.
        f.action("mnuSaveBirth")->trigger();
        f.action("mnuSaveBirthAs")->trigger();
        QCOMPARE(f.messages.Notices.size(), 2);
        QCOMPARE(f.messages.Notices[0].Text, QStringLiteral("Please Enter Name"));
        QVERIFY(f.dialogs.Saved.isEmpty());

        // Save without a file: Save As, suggesting the name; cancelled, nothing happens.
        f.fill();
        f.messages.Notices.clear();
        f.action("mnuSaveBirth")->trigger();
        QCOMPARE(f.dialogs.Saved.size(), 1);
        QVERIFY(f.dialogs.Saved[0].Start.endsWith(QStringLiteral("/asha-rao.vbirth")));
        QVERIFY(f.window.birthFilePath().isEmpty());
        QVERIFY(f.messages.Notices.isEmpty());

        // Then Save writes to the file without asking.
        const QString path = dir.filePath(QStringLiteral("asha.vbirth"));
        f.dialogs.Answers = {path};
        f.action("mnuSaveBirth")->trigger();
        QCOMPARE(f.dialogs.Saved.size(), 2);
        f.list("cboHH")->setCurrentText(QStringLiteral("21"));
        f.action("mnuSaveBirth")->trigger();
        QCOMPARE(f.dialogs.Saved.size(), 2);
        QCOMPARE(QJsonDocument::fromJson(ReadAll(path)).object()["time"].toString(), QStringLiteral("21:05"));

        // A refused form is not written over the file.
        const QByteArray kept = ReadAll(path);
        f.type("txtLatD", QStringLiteral("95"));
        f.action("mnuSaveBirth")->trigger();
        QCOMPARE(f.messages.Notices.size(), 1);
        QVERIFY(f.messages.Notices[0].Text.contains(QStringLiteral("Latitude")));
        QCOMPARE(ReadAll(path), kept);
    }

    void aFailedSaveLeavesTheOldFileAsItWas() {
        QTemporaryDir dir;
        Fixture f;
        f.fill();
        const QString path = dir.filePath(QStringLiteral("kept.vbirth"));
        f.saveAs(path);
        const QByteArray old = ReadAll(path);
        QVERIFY(!old.isEmpty());

        // A city name longer than the process may write: the write stops
        // part way.
        f.get<QLineEdit>("txtMCity")->setText(QString(3000, QLatin1Char('x')));
        {
            const velmora::testing::FileSizeLimit limit(1024);
            f.action("mnuSaveBirth")->trigger();
        }
        QCOMPARE(f.messages.Notices.size(), 1);
        QCOMPARE(f.messages.Notices[0].Icon, velmora::core::MessageIcon::Critical);
        QVERIFY(f.messages.Notices[0].Text.startsWith(QStringLiteral("Cannot save \u201Ckept.vbirth\u201D")));
        QCOMPARE(ReadAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.vbirth")});

        // A folder that is not there: a message, no file, the old path kept.
        f.saveAs(dir.filePath(QStringLiteral("no-such-folder/asha.vbirth")));
        QCOMPARE(f.messages.Notices.size(), 2);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("no-such-folder"))));
        QCOMPARE(f.window.birthFilePath(), path);
        QCOMPARE(f.window.recentFiles(), QStringList{path});
    }

    void theTitleNamesTheOpenFileAndMarksUnsavedEdits() {
        QTemporaryDir dir;
        Fixture f;
        const QString caption = velmora::ui::WindowCaption();
        // No file: the caption alone, edits or not, and nothing is asked.
        QCOMPARE(f.window.windowTitle(), caption);
        f.fill();
        QCOMPARE(f.window.windowTitle(), caption);
        QVERIFY(!f.window.isWindowModified());

        const QString path = dir.filePath(QStringLiteral("asha.vbirth"));
        f.saveAs(path);
        QCOMPARE(f.window.windowTitle(), QStringLiteral("asha.vbirth[*] \u2014 ") + caption);
        QVERIFY(!f.window.isWindowModified());

        // Any entry, and the engine, which the file holds too.
        f.type("txtName", QStringLiteral("priya"));
        QVERIFY(f.window.isWindowModified());
        f.type("txtName", QStringLiteral("asha rao"));
        QVERIFY(!f.window.isWindowModified());
        f.list("cboHH")->setCurrentText(QStringLiteral("10"));
        QVERIFY(f.window.isWindowModified());
        f.list("cboHH")->setCurrentText(QStringLiteral("9"));
        f.get<QRadioButton>("optLat_1")->setChecked(true);
        QVERIFY(f.window.isWindowModified());
        f.get<QRadioButton>("optLat_0")->setChecked(true);
        QVERIFY(!f.window.isWindowModified());
        f.action("mnuPrecise")->trigger();
        QVERIFY(f.window.isWindowModified());

        // Save writes the file the title names, and the mark goes.
        f.type("txtName", QStringLiteral("priya"));
        f.action("mnuSaveBirth")->trigger();
        QVERIFY(f.dialogs.Saved.size() == 1);
        QVERIFY(!f.window.isWindowModified());
        const QJsonObject written = QJsonDocument::fromJson(ReadAll(path)).object();
        QCOMPARE(written["name"].toString(), QStringLiteral("PRIYA"));
        QCOMPARE(written["ephemeris"].toObject()["mode"].toString(), QStringLiteral("precise"));

        // Save As another name: the title follows it.
        f.saveAs(dir.filePath(QStringLiteral("priya.vbirth")));
        QCOMPARE(f.window.windowTitle(), QStringLiteral("priya.vbirth[*] \u2014 ") + caption);
        QVERIFY(f.messages.UnsavedQuestions.isEmpty());
    }

    void openingAnotherFileAsksBeforeUnsavedEditsGo() {
        using Answer = velmora::ui::MessageService::UnsavedAnswer;
        QTemporaryDir dir;
        Fixture f;
        const QString asha = dir.filePath(QStringLiteral("asha.vbirth"));
        const QString ravi = dir.filePath(QStringLiteral("ravi.vbirth"));
        f.fill(QStringLiteral("ravi"));
        f.saveAs(ravi);
        f.fill();
        f.saveAs(asha);
        const QByteArray ashaBytes = ReadAll(asha);
        f.type("txtName", QStringLiteral("priya"));

        // Cancel: nothing opens, the edits and both files stay.
        f.messages.Unsaved = Answer::Cancel;
        f.dialogs.Answers = {ravi};
        f.action("mnuOpenBirth")->trigger();
        QCOMPARE(f.messages.UnsavedQuestions.size(), 1);
        QVERIFY(f.messages.UnsavedQuestions[0].contains(QStringLiteral("\u201Casha.vbirth\u201D")));
        QCOMPARE(f.window.CurrentForm().Name, std::string("PRIYA"));
        QCOMPARE(f.window.birthFilePath(), asha);
        QVERIFY(f.window.isWindowModified());
        QCOMPARE(ReadAll(asha), ashaBytes);

        // A file that is refused asks nothing and changes nothing.
        const QString broken = dir.filePath(QStringLiteral("broken.vbirth"));
        WriteAll(broken, "{");
        QVERIFY(!f.open(broken));
        QCOMPARE(f.messages.UnsavedQuestions.size(), 1);
        QCOMPARE(f.window.CurrentForm().Name, std::string("PRIYA"));

        // Save, but the form is refused: the check is shown, nothing opens.
        f.messages.Notices.clear();
        f.type("txtLatD", QStringLiteral("95"));
        f.messages.Unsaved = Answer::Save;
        f.dialogs.Answers = {ravi};
        f.action("mnuOpenBirth")->trigger();
        QCOMPARE(f.messages.Notices.size(), 1);
        QCOMPARE(f.window.birthFilePath(), asha);
        QCOMPARE(ReadAll(asha), ashaBytes);
        f.type("txtLatD", QStringLiteral("28"));

        // Save: the edits go to the open file, then the other opens.
        f.dialogs.Answers = {ravi};
        f.action("mnuOpenBirth")->trigger();
        QCOMPARE(QJsonDocument::fromJson(ReadAll(asha)).object()["name"].toString(), QStringLiteral("PRIYA"));
        QCOMPARE(f.window.birthFilePath(), ravi);
        QCOMPARE(f.window.CurrentForm().Name, std::string("RAVI"));
        QVERIFY(!f.window.isWindowModified());

        // Discard: the open file keeps what it had; Open Recent asks as well.
        const QByteArray raviBytes = ReadAll(ravi);
        f.type("txtName", QStringLiteral("mira"));
        f.messages.Unsaved = Answer::Discard;
        const qsizetype asked = f.messages.UnsavedQuestions.size();
        f.recentEntries()[1]->trigger();  // asha, behind ravi
        QCOMPARE(f.messages.UnsavedQuestions.size(), asked + 1);
        QCOMPARE(f.window.CurrentForm().Name, std::string("PRIYA"));
        QCOMPARE(ReadAll(ravi), raviBytes);
        QCOMPARE(f.window.windowTitle(), QStringLiteral("asha.vbirth[*] \u2014 ") + velmora::ui::WindowCaption());
    }

    void closingTheWindowAsksBeforeUnsavedEditsGo() {
        using Answer = velmora::ui::MessageService::UnsavedAnswer;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("asha.vbirth"));
        {
            // No file open: the window closes as it always has.
            Fixture f;
            f.fill();
            f.window.show();
            QSignalSpy shutDown(&f.window, &MainWindow::shutDownRequested);
            QVERIFY(f.window.close());
            QCOMPARE(shutDown.size(), 1);
            QVERIFY(f.messages.UnsavedQuestions.isEmpty());
            f.saveAs(path);
        }
        const QByteArray saved = ReadAll(path);
        for (const Answer answer : {Answer::Cancel, Answer::Discard, Answer::Save}) {
            Fixture f;
            QVERIFY(f.open(path));
            f.window.show();
            // Unchanged: no question.
            f.type("txtName", QStringLiteral("priya"));
            f.messages.Unsaved = answer;
            QSignalSpy shutDown(&f.window, &MainWindow::shutDownRequested);
            const bool closed = f.window.close();
            QCOMPARE(f.messages.UnsavedQuestions.size(), 1);
            QCOMPARE(closed, answer != Answer::Cancel);
            QCOMPARE(shutDown.size(), answer == Answer::Cancel ? 0 : 1);
            QCOMPARE(f.window.isVisible(), answer == Answer::Cancel);
            QCOMPARE(ReadAll(path) == saved, answer != Answer::Save);
            if (answer == Answer::Save)
                QCOMPARE(QJsonDocument::fromJson(ReadAll(path)).object()["name"].toString(), QStringLiteral("PRIYA"));
        }
        WriteAll(path, saved);

        // Closing the result window ends the program too: Cancel brings the form back instead.
        Fixture f;
        QVERIFY(f.open(path));
        f.window.show();
        f.type("txtName", QStringLiteral("priya"));
        f.action("mnuNext")->trigger();
        QVERIFY(f.window.resultWindow());
        QVERIFY(!f.window.isVisible());
        QSignalSpy shutDown(&f.window, &MainWindow::shutDownRequested);
        f.window.resultWindow()->close();
        QCOMPARE(f.messages.UnsavedQuestions.size(), 1);
        QCOMPARE(shutDown.size(), 0);
        QVERIFY(f.window.isVisible());
        QCOMPARE(f.window.CurrentForm().Name, std::string("PRIYA"));
        QCOMPARE(ReadAll(path), saved);
    }

    void openRecentKeepsTheLatestEightAndDropsAVanishedFile() {
        QTemporaryDir dir;
        MemorySettingsStore store;
        Fixture f(&store);
        QVERIFY(!f.get<QMenu>("mnuOpenRecent")->menuAction()->isEnabled());
        QStringList paths;
        const QString letters = QStringLiteral("abcdefghij");
        for (int i = 0; i < 10; ++i) {
            f.fill(QStringLiteral("person %1").arg(letters[i]));
            paths << dir.filePath(QStringLiteral("p%1.vbirth").arg(i));
            f.saveAs(paths.last());
        }
        QStringList latest;
        for (int i = 9; i >= 2; --i) latest << paths[i];
        QCOMPARE(f.window.recentFiles(), latest);
        QCOMPARE(store.Value(QStringLiteral("Files/Recent")), std::optional<QString>(latest.join(QLatin1Char('\n'))));
        QList<QAction*> entries = f.recentEntries();
        QCOMPARE(entries.size(), 8);
        QCOMPARE(entries[0]->text(), QStringLiteral("&1 %1").arg(QDir::toNativeSeparators(paths[9])));
        QVERIFY(f.get<QMenu>("mnuOpenRecent")->menuAction()->isEnabled());

        // Opening one moves it to the top.
        entries[3]->trigger();
        QCOMPARE(f.window.CurrentForm().Name, std::string("PERSON G"));
        QCOMPARE(f.window.recentFiles().first(), paths[6]);

        // A window started later with the same store offers the same files.
        Fixture later(&store);
        QCOMPARE(later.recentEntries().size(), 8);
        QCOMPARE(later.window.recentFiles(), f.window.recentFiles());

        // A file that has gone: a notice, the entry dropped, the form kept.
        QVERIFY(QFile::remove(paths[4]));
        const velmora::core::FormInput before = f.window.CurrentForm();
        entries = f.recentEntries();
        QAction* gone = nullptr;
        for (QAction* entry : entries)
            if (entry->data().toString() == paths[4]) gone = entry;
        QVERIFY(gone);
        gone->trigger();
        QCOMPARE(f.messages.Notices.size(), 1);
        QCOMPARE(f.messages.Notices[0].Icon, velmora::core::MessageIcon::Information);
        QVERIFY(f.messages.Notices[0].Text.contains(QStringLiteral("p4.vbirth")));
        QCOMPARE(f.window.recentFiles().size(), 7);
        QVERIFY(!f.window.recentFiles().contains(paths[4]));
        QCOMPARE(f.recentEntries().size(), 7);
        QVERIFY(SameForm(f.window.CurrentForm(), before));
    }
};

QTEST_MAIN(BirthFilesTest)
#include "birth_files_test.moc"
