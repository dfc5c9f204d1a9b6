// The library window and the input window's library commands, offscreen,
// on a library in a fresh folder, every dialog answered by the scripted
// substitutes.

#include <QAction>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "core/form_builders.h"
#include "core/library.h"
#include "core/place_import.h"
#include "ui/library_window.h"
#include "ui/links.h"
#include "ui/main_window.h"
#include "ui/place_list_model.h"
#include "ui/platform.h"
#include "ui/result_window.h"
#include "ui/window_fixture.h"

using velmora::core::Library;
using velmora::testing::DelhiForm;
using velmora::ui::LibraryTableModel;
using velmora::ui::LibraryWindow;

namespace {

std::unique_ptr<Library> OpenLibrary(const QString& path) {
    Library::Opening opening = Library::Open(QFile::encodeName(path).toStdString());
    return std::move(opening.Opened);
}

velmora::core::BirthFileContents Birth(const std::string& name, const char* year, const char* city) {
    velmora::core::FormInput form = DelhiForm(name);
    form.Year = year;
    form.City = city;
    return {form, std::nullopt};
}

// The input window's library is library.sqlite in the fixture's folder.
struct Fixture : velmora::testing::InputWindowFixture {
    // Another connection to the same file: another program, as the library sees it.
    std::unique_ptr<Library> Other() const { return OpenLibrary(file("library.sqlite")); }

    LibraryWindow* library() {
        action("mnuLibrary")->trigger();
        return window.libraryWindow();
    }
    QStringList column(LibraryWindow* w, int column) const {
        QStringList texts;
        for (int row = 0; row < w->model()->rowCount(); ++row)
            texts << w->model()->index(row, column).data().toString();
        return texts;
    }
    void write(const QString& name, const QByteArray& bytes) const {
        QFile out(file(name));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
};

}  // namespace

class LibraryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void listsSortsAndFiltersAsOneTypes() {
        Fixture f;
        {
            auto other = f.Other();
            QVERIFY(other);
            QVERIFY(other->Add(Birth("zara", "1990", "Pune"), {"client"}).Ok());
            QVERIFY(other->Add(Birth("amit", "1975", "Mumbai"), {"family"}, "born during the monsoon").Ok());
            QVERIFY(other->Add(Birth("meera", "2001", "Chennai"), {"client", "research"}).Ok());
        }
        LibraryWindow* w = f.library();
        QVERIFY(w && w->isVisible());
        QCOMPARE(f.column(w, LibraryTableModel::Name), (QStringList{"AMIT", "MEERA", "ZARA"}));
        QCOMPARE(w->model()->headerData(LibraryTableModel::Changed, Qt::Horizontal).toString(),
                 QStringLiteral("Changed"));

        // A click on a header sorts by that column; again, the other way.
        QHeaderView* header = w->table()->horizontalHeader();
        header->setSortIndicator(LibraryTableModel::Date, Qt::AscendingOrder);
        QCOMPARE(f.column(w, LibraryTableModel::Date), (QStringList{"1975-01-05", "1990-01-05", "2001-01-05"}));
        header->setSortIndicator(LibraryTableModel::Place, Qt::DescendingOrder);
        QCOMPARE(f.column(w, LibraryTableModel::Name), (QStringList{"ZARA", "AMIT", "MEERA"}));

        // Typed into the filter: tags, notes and places, case and accents folded, in the sort kept.
        QTest::keyClicks(w->filterBox(), QStringLiteral("CLIENT"));
        QCOMPARE(f.column(w, LibraryTableModel::Name), (QStringList{"ZARA", "MEERA"}));
        w->filterBox()->setText(QStringLiteral("monsóon"));
        QCOMPARE(f.column(w, LibraryTableModel::Name), (QStringList{"AMIT"}));
        w->filterBox()->setText(QStringLiteral("client chennai"));
        QCOMPARE(f.column(w, LibraryTableModel::Tags), (QStringList{"client; research"}));
        w->filterBox()->clear();
        QCOMPARE(w->model()->rowCount(), 3);
    }

    void keyboardOpensABirthIntoTheFormAndUpdatesIt() {
        Fixture f;
        std::int64_t id = 0;
        {
            auto other = f.Other();
            id = other->Add(Birth("ravi kumar", "1969", "Jaipur")).Value;
            QVERIFY(other->Add(Birth("asha", "1980", "New Delhi")).Ok());
        }
        LibraryWindow* w = f.library();
        QTest::keyClicks(w->filterBox(), QStringLiteral("ravi"));
        // Down from the filter into the list, Enter opens the birth.
        QTest::keyClick(w->filterBox(), Qt::Key_Down);
        QTest::keyClick(w->table(), Qt::Key_Return);
        QCOMPARE(f.window.CurrentForm().Name, std::string("RAVI KUMAR"));
        QCOMPARE(f.window.CurrentForm().City, std::string("Jaipur"));
        QCOMPARE(f.window.libraryId(), std::optional<std::int64_t>(id));

        // Changed on the form, Update in Library writes it back under its id.
        f.window.findChild<QLineEdit*>(QStringLiteral("txtMCity"))->setText(QStringLiteral("Ajmer"));
        f.action("mnuUpdateInLibrary")->trigger();
        QVERIFY2(f.messages.Notices.isEmpty(), qPrintable(f.messages.Notices.value(0).Text));
        QCOMPARE(f.Other()->Get(id).Value.Birth.Form.City, std::string("Ajmer"));
        QCOMPARE(f.column(w, LibraryTableModel::Place).join(QLatin1Char('|')), QStringLiteral("Ajmer, Delhi, India"));

        // Add to Library adds the form as a new birth.
        f.action("mnuAddToLibrary")->trigger();
        QCOMPARE(f.Other()->List().Value.size(), 3u);
        QVERIFY(f.window.libraryId() != std::optional<std::int64_t>(id));
    }

    void editsTagsAndNotesAndDeletesOnlyWhenConfirmed() {
        Fixture f;
        std::int64_t id = f.Other()->Add(Birth("asha", "1980", "New Delhi")).Value;
        LibraryWindow* w = f.library();
        w->table()->selectRow(0);
        w->findChild<QLineEdit*>(QStringLiteral("txtLibraryTags"))->setText(QStringLiteral(" client ;famous;; client"));
        w->findChild<QPlainTextEdit*>(QStringLiteral("txtLibraryNotes"))->setPlainText(QStringLiteral("twin"));
        w->findChild<QPushButton*>(QStringLiteral("cmdLibrarySaveDetails"))->click();
        const auto stored = f.Other()->Get(id).Value.Row;
        QCOMPARE(stored.Tags, (std::vector<std::string>{"client", "famous"}));
        QCOMPARE(stored.Notes, std::string("twin"));

        f.messages.Answer = false;
        QTest::keyClick(w->table(), Qt::Key_Delete);
        QCOMPARE(f.messages.Questions.size(), 1);
        QVERIFY(f.messages.Questions[0].Text.contains(QStringLiteral("ASHA")));
        QCOMPARE(w->model()->rowCount(), 1);
        f.messages.Answer = true;
        w->findChild<QPushButton*>(QStringLiteral("cmdLibraryDelete"))->click();
        QCOMPARE(w->model()->rowCount(), 0);
        QVERIFY(!f.Other()->Get(id).Ok());
    }

    void importsWithASummaryAndExportsTheChosenBirths() {
        Fixture f;
        f.write(QStringLiteral("births.csv"),
                "name,date,time,zone,dst,lat,lon,city,state,country\n"
                "asha,1980-01-05,09:05,34,0,28:36N,077:12E,New Delhi,Delhi,India\n"
                "wrong,1980-02-31,09:05,34,0,28:36N,077:12E,New Delhi,Delhi,India\n"
                "ben,1962-07-21,23:50,29,1,51:30N,000:07W,London,England,UK\n");
        LibraryWindow* w = f.library();
        f.dialogs.Answers = {f.file(QStringLiteral("births.csv"))};
        w->findChild<QPushButton*>(QStringLiteral("cmdLibraryImport"))->click();
        QCOMPARE(w->model()->rowCount(), 2);
        QCOMPARE(f.messages.Notices.size(), 1);
        const QString summary = f.messages.Notices[0].Text;
        QVERIFY2(summary.startsWith(QStringLiteral("2 births added")), qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("births.csv line 3")), qPrintable(summary));

        // Both chosen: CSV in the batch's columns, and one birth file each.
        w->table()->selectAll();
        f.dialogs.Answers = {f.file(QStringLiteral("out"))};
        w->findChild<QPushButton*>(QStringLiteral("cmdLibraryExportCsv"))->click();
        QFile csv(f.file(QStringLiteral("out.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = csv.readAll().split('\n');
        QVERIFY(lines[0].startsWith("name,date,time,zone,dst,lat,lon,city,state,country,utc_offset"));
        QVERIFY(lines[1].startsWith("ASHA,1980-01-05,"));
        QVERIFY(lines[2].startsWith("BEN,1962-07-21,"));

        QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("births")));
        f.write(QStringLiteral("births/ASHA.vbirth"), "already here");
        f.dialogs.Answers = {f.file(QStringLiteral("births/anything"))};  // the folder of the name chosen
        w->findChild<QPushButton*>(QStringLiteral("cmdLibraryExportBirths"))->click();
        QVERIFY(QFile::exists(f.file(QStringLiteral("births/ASHA (2).vbirth"))));
        QVERIFY(QFile::exists(f.file(QStringLiteral("births/BEN.vbirth"))));
        QFile kept(f.file(QStringLiteral("births/ASHA.vbirth")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("already here"));
    }

    void remembersItsStateAndSeesOtherProgramsChangesWhenShownAgain() {
        Fixture f;
        QVERIFY(f.Other()->Add(Birth("asha", "1980", "New Delhi")).Ok());
        LibraryWindow* w = f.library();
        w->resize(700, 420);
        w->table()->horizontalHeader()->setSortIndicator(LibraryTableModel::Changed, Qt::DescendingOrder);
        w->table()->setColumnWidth(LibraryTableModel::Name, 222);
        w->hide();

        // Meanwhile another program adds a birth; shown again, the window lists it.
        QVERIFY(f.Other()->Add(Birth("ben", "1962", "London")).Ok());
        w->show();
        QCOMPARE(w->model()->rowCount(), 2);

        // A new window starts as the last one was left.
        LibraryWindow again(*f.Other(), f.messages, f.dialogs, f.store);
        QCOMPARE(again.size(), QSize(700, 420));
        QCOMPARE(again.model()->sortColumn(), int(LibraryTableModel::Changed));
        QCOMPARE(again.model()->sortOrder(), Qt::DescendingOrder);
        QCOMPARE(again.table()->columnWidth(LibraryTableModel::Name), 222);
    }

    void theCityBoxFindsImportedPlacesByTheirOtherNames() {
        Fixture f;
        // No library file yet: typing reads the atlas alone and makes no file.
        QLineEdit* city = f.window.findChild<QLineEdit*>(QStringLiteral("txtMCity"));
        QTest::keyClicks(city, QStringLiteral("Delhi"));
        QVERIFY(!QFile::exists(f.file(QStringLiteral("library.sqlite"))));

        f.write(QStringLiteral("cities500.txt"),
                "1275339\tMumbai\tMumbai\tBambai,Bombay\t19.07283\t72.88261\tP\tPPLA\tIN\t\t16\t\t\t\t12691836\t\t14\t"
                "Asia/Kolkata\t2023-01-01\n");
        f.write(QStringLiteral("admin1CodesASCII.txt"), "IN.16\tMaharashtra\tMaharashtra\t1264418\n");
        f.dialogs.Answers = {f.file(QStringLiteral("cities500.txt"))};
        f.action("mnuImportPlaces")->trigger();
        QCOMPARE(f.messages.Notices.size(), 1);
        QVERIFY2(f.messages.Notices[0].Text.startsWith(QStringLiteral("1 places imported")),
                 qPrintable(f.messages.Notices[0].Text));

        city->clear();
        QTest::keyClicks(city, QStringLiteral("Bombay"));
        const QAbstractItemModel* offered = f.window.placeCompleter()->model();
        QVERIFY(offered->rowCount() >= 1);
        QCOMPARE(offered->index(0, 0).data().toString(), QStringLiteral("Mumbai (Bombay), Maharashtra, India"));
    }
};

QTEST_MAIN(LibraryWindowTest)
#include "library_window_test.moc"
