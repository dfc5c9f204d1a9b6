// The city box's atlas places: when the atlas is read, what it offers, and
// what choosing a place does to the form, the zone and the analysis.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/atlas.h"
#include "core/form_reading.h"
#include "core/zones.h"
#include "ui/links.h"
#include "ui/main_window.h"
#include "ui/place_list_model.h"
#include "ui/result_window.h"
#include "ui/window_fixture.h"

using velmora::core::Atlas;
using velmora::ui::PlaceListModel;

namespace {

QString ZoneText(int row) {
    const std::string_view text = velmora::core::ZoneTable()[static_cast<std::size_t>(row)].Text;
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct Fixture : velmora::testing::InputWindowFixture {
    QComboBox* zones() const { return list("cmbTimeZone"); }
    bool dst() const { return get<QCheckBox>("chkDST")->isChecked(); }
    QString note() const { return get<QLabel>("lblPlaceNote")->text(); }
    const PlaceListModel* offered() const {
        return static_cast<const PlaceListModel*>(window.placeCompleter()->model());
    }

    void setDate(int month, const char* day, const char* year, const char* hour = "12", const char* minute = "0") {
        list("cboMonth")->setCurrentIndex(month - 1);
        list("cboDate")->setCurrentText(QString::fromLatin1(day));
        list("cboYear")->setCurrentText(QString::fromLatin1(year));
        list("cboHH")->setCurrentText(QString::fromLatin1(hour));
        list("cboMM")->setCurrentText(QString::fromLatin1(minute));
    }

    // Types into the city box and returns the entries the completer offers.
    QStringList type(const QString& text) {
        QLineEdit* city = box("txtMCity");
        city->setFocus();
        velmora::testing::TypeInto(city, text);
        QStringList entries;
        for (int row = 0; row < offered()->rowCount(); ++row) entries << offered()->index(row).data().toString();
        return entries;
    }

    // Types, then picks the entry with the mouse-free way a user has: the
    // arrows to it and Return in the pop-up list.
    bool choose(const QString& typed, const QString& entry) {
        const QStringList entries = type(typed);
        const int row = entries.indexOf(entry);
        if (row < 0) {
            qWarning("no \"%s\" among: %s", qPrintable(entry), qPrintable(entries.join(QStringLiteral(" | "))));
            return false;
        }
        QAbstractItemView* popup = window.placeCompleter()->popup();
        if (!popup->isVisible()) return false;
        QAbstractItemModel* shown = popup->model();
        popup->setCurrentIndex(shown->index(row, 0));
        QTest::keyClick(popup, Qt::Key_Return);
        return !popup->isVisible();
    }
};

}  // namespace

class PlaceCompletionTest : public QObject {
    Q_OBJECT

private slots:
    // First, while nothing in this process has asked for the atlas.
    void theAtlasIsReadOnTheFirstKeystrokeInTheCityBox() {
        QVERIFY(!velmora::core::Atlas::IsLoaded());
        Fixture f;
        QVERIFY(f.showActive());
        QVERIFY(!velmora::core::Atlas::IsLoaded());
        // Other boxes, and text put into the city box by the program, leave it alone.
        QTest::keyClicks(f.box("txtName"), QStringLiteral("asha"));
        QTest::keyClicks(f.box("txtMState"), QStringLiteral("Kerala"));
        f.box("txtMCity")->setText(QStringLiteral("Kochi"));
        QVERIFY(!velmora::core::Atlas::IsLoaded());
        QVERIFY(!f.window.placeCompleter()->popup()->isVisible());

        QTest::keyClick(f.box("txtMCity"), Qt::Key_Backspace);
        QVERIFY(velmora::core::Atlas::IsLoaded());
        QVERIFY(f.window.placeCompleter()->popup()->isVisible());
    }

    void offersAtMostTenPlacesMostPopulousFirst() {
        Fixture f;
        QVERIFY(f.showActive());
        const QStringList springfields = f.type(QStringLiteral("Springf"));
        QVERIFY(springfields.size() > 3);
        QVERIFY(springfields.size() <= 10);
        QVERIFY(f.window.placeCompleter()->popup()->isVisible());
        for (int row = 0; row < springfields.size(); ++row) {
            QVERIFY2(springfields[row].startsWith(QStringLiteral("Springfield")), qPrintable(springfields[row]));
            if (row > 0)
                QVERIFY2(f.offered()->PlaceAt(row - 1).Population >= f.offered()->PlaceAt(row).Population,
                         qPrintable(springfields.join(QStringLiteral(" | "))));
        }
        QVERIFY(springfields.contains(QStringLiteral("Springfield, Illinois, United States of America")));
        QVERIFY(springfields.contains(QStringLiteral("Springfield, Massachusetts, United States of America")));

        // A state narrows the list; what matches nothing shows nothing.
        QCOMPARE(f.type(QStringLiteral("springfield, il")),
                 QStringList{"Springfield, Illinois, United States of America"});
        QVERIFY(f.type(QStringLiteral("Xqzzy")).isEmpty());
        QVERIFY(!f.window.placeCompleter()->popup()->isVisible());
        QVERIFY(f.messages.Notices.isEmpty());
    }

    void choosingDelhiFillsThePlaceCoordinatesAndZone() {
        Fixture f;
        QVERIFY(f.showActive());
        f.setDate(9, "27", "1975");
        f.get<QCheckBox>("chkDST")->setChecked(true);  // to see it cleared
        QVERIFY(f.choose(QStringLiteral("Delhi"), QStringLiteral("Delhi, National Capital Territory of Delhi, India")));

        QCOMPARE(f.box("txtMCity")->text(), QStringLiteral("Delhi"));
        QCOMPARE(f.box("txtMState")->text(), QStringLiteral("National Capital Territory of Delhi"));
        QCOMPARE(f.box("txtMCountry")->text(), QStringLiteral("India"));
        QCOMPARE(f.box("txtLatD")->text(), QStringLiteral("28"));
        QVERIFY(qAbs(f.box("txtLatM")->text().toInt() - 39) <= 1);
        QVERIFY(f.get<QRadioButton>("optLat_0")->isChecked());
        QCOMPARE(f.box("txtLonD")->text(), QStringLiteral("77"));
        QVERIFY(qAbs(f.box("txtLonM")->text().toInt() - 13) <= 1);
        QVERIFY(f.get<QRadioButton>("optLong_0")->isChecked());
        QCOMPARE(f.zones()->count(), 71);
        QCOMPARE(f.zones()->currentText(), QStringLiteral("Indian Time, IST, +5.3"));
        QVERIFY(!f.dst());
        QCOMPARE(f.note(), QString::fromUtf8("Asia/Kolkata \u00b7 UTC+05:30 on 27 September 1975 (no summer time)"));
        // The digit boxes' filters saw none of it.
        QVERIFY(f.messages.Notices.isEmpty());

        const velmora::core::FormInput form = f.window.CurrentForm();
        QVERIFY(form.Place);
        QCOMPARE(form.Place->TimeZone, std::string("Asia/Kolkata"));
        QVERIFY(!form.ExactUtcOffsetMinutes);

        // And the form analyses as it stands.
        QTest::keyClicks(f.box("txtName"), QStringLiteral("ravi"));
        f.window.Analyze();
        QVERIFY(f.messages.Notices.isEmpty());
        QVERIFY(f.window.resultWindow());
    }

    void aCityTypedOverTheChosenPlaceIsNotedInTheFormAndTheResult() {
        Fixture f;
        QVERIFY(f.showActive());
        f.setDate(9, "27", "1975");
        QVERIFY(f.choose(QStringLiteral("Delhi"), QStringLiteral("Delhi, National Capital Territory of Delhi, India")));
        const velmora::core::FormInput chosen = f.window.CurrentForm();
        const QString zoneNote = f.note();
        QVERIFY(!zoneNote.contains(QStringLiteral("still")));

        // Another city typed, none chosen: the pick, its coordinates and zone stay, and the note says so.
        f.type(QStringLiteral("Mumb"));
        f.window.placeCompleter()->popup()->hide();
        const QString says = QString::fromUtf8(
            "The coordinates and zone are still those of Delhi, National Capital Territory of Delhi, India, not of "
            "“Mumb”; choose a place from the list to change them.");
        QCOMPARE(f.note(), zoneNote + QLatin1Char(' ') + says);
        velmora::core::FormInput typed = f.window.CurrentForm();
        QCOMPARE(typed.City, std::string("Mumb"));
        QCOMPARE(typed.Place, chosen.Place);
        typed.City = chosen.City;
        QVERIFY(typed == chosen);

        // The result says it under the details (in short, the sentence its tool tip), and the birth
        // every report is written from carries it.
        QTest::keyClicks(f.box("txtName"), QStringLiteral("ravi"));
        f.window.Analyze();
        QVERIFY(f.messages.Notices.isEmpty());
        QVERIFY(f.window.resultWindow());
        auto* mismatch = f.window.resultWindow()->findChild<QLabel*>(QStringLiteral("lblPlaceMismatch"));
        QVERIFY(mismatch);
        QVERIFY(!mismatch->isHidden());
        QCOMPARE(mismatch->text(), QStringLiteral("Coordinates and zone: Delhi (atlas)"));
        QCOMPARE(mismatch->toolTip(), says);
        // Whole in the details box.
        QVERIFY(mismatch->height() >= mismatch->heightForWidth(mismatch->width()));
        const velmora::core::FormReading reading =
            velmora::core::ReadForm(f.window.CurrentForm(), velmora::core::EngineSettings{});
        const velmora::core::Birth& birth = std::get<velmora::core::Birth>(reading);
        QCOMPARE(QString::fromStdString(birth.PlaceMismatch), says);
        QVERIFY(QString::fromStdString(birth.PlaceClock->Note).endsWith(says));

        // The place's own name again, in other letter case and with blanks: nothing to say.
        f.window.resultWindow()->findChild<QPushButton*>(QStringLiteral("cmdBack"))->click();
        f.type(QStringLiteral(" delhi "));
        f.window.placeCompleter()->popup()->hide();
        QCOMPARE(f.note(), zoneNote);
        const velmora::core::FormReading again =
            velmora::core::ReadForm(f.window.CurrentForm(), velmora::core::EngineSettings{});
        QVERIFY(std::get<velmora::core::Birth>(again).PlaceMismatch.empty());
        f.window.Analyze();
        QVERIFY(f.window.resultWindow()->findChild<QLabel*>(QStringLiteral("lblPlaceMismatch"))->isHidden());
    }

    void anOffsetWithoutARowGetsAnExtraEntryWhileThePlaceHolds() {
        Fixture f;
        QVERIFY(f.showActive());
        f.setDate(5, "1", "1990");
        QVERIFY(f.choose(QStringLiteral("Kathmandu"), QStringLiteral("Kathmandu, Bagmati Province, Nepal")));
        QCOMPARE(f.zones()->count(), 72);
        QCOMPARE(f.zones()->itemText(71), QStringLiteral("Asia/Kathmandu, UTC+05:45"));
        QCOMPARE(f.zones()->currentIndex(), 71);
        for (int row = 0; row < 71; ++row) QCOMPARE(f.zones()->itemText(row), ZoneText(row));
        QVERIFY(!f.dst());
        QCOMPARE(f.window.CurrentForm().ExactUtcOffsetMinutes, std::optional<int>(345));
        QVERIFY(f.window.CurrentForm().ZoneRow >= 0 && f.window.CurrentForm().ZoneRow < 71);

        // Before 1986 Nepal kept +05:30, which a row has: the entry goes.
        f.list("cboYear")->setCurrentText(QStringLiteral("1980"));
        QCOMPARE(f.zones()->count(), 71);
        QVERIFY2(f.zones()->currentText().endsWith(QStringLiteral("+5.3")), qPrintable(f.zones()->currentText()));
        QVERIFY(!f.window.CurrentForm().ExactUtcOffsetMinutes);
        QVERIFY(f.note().contains(QStringLiteral("UTC+05:30")));
        f.list("cboYear")->setCurrentText(QStringLiteral("1990"));
        QCOMPARE(f.zones()->count(), 72);
        QCOMPARE(f.zones()->currentIndex(), 71);

        // The exact offset reaches the analysis.
        QTest::keyClicks(f.box("txtName"), QStringLiteral("maya"));
        f.window.Analyze();
        QVERIFY(f.messages.Notices.isEmpty());
        QVERIFY(f.window.resultWindow());
        QCOMPARE(f.window.resultWindow()->findChild<QLabel*>(QStringLiteral("lblCity"))->text(),
                 QStringLiteral("Kathmandu"));
    }

    void editingTheLatitudeByHandDropsThePlace() {
        Fixture f;
        QVERIFY(f.showActive());
        f.setDate(5, "1", "1990");
        QVERIFY(f.choose(QStringLiteral("Kathmandu"), QStringLiteral("Kathmandu, Bagmati Province, Nepal")));
        const QString longitude = f.box("txtLonD")->text();

        QLineEdit* minutes = f.box("txtLatM");
        minutes->setFocus();
        minutes->end(false);
        QTest::keyClick(minutes, Qt::Key_Backspace);
        QTest::keyClick(minutes, Qt::Key_4);

        const velmora::core::FormInput form = f.window.CurrentForm();
        QVERIFY(!form.Place);
        QVERIFY(!form.ExactUtcOffsetMinutes);
        QCOMPARE(f.zones()->count(), 71);
        // A real row stands in for the offset the list cannot show.
        QVERIFY(f.zones()->currentIndex() < 71);
        QVERIFY(f.note().contains(QStringLiteral("UTC+05:45")));
        // The user's values stay.
        QVERIFY(minutes->text().endsWith(QLatin1Char('4')));
        QCOMPARE(f.box("txtLonD")->text(), longitude);
        QVERIFY(f.messages.Notices.isEmpty());

        // Without a place, a new date changes nothing of the zone.
        const int row = f.zones()->currentIndex();
        f.list("cboYear")->setCurrentText(QStringLiteral("1980"));
        QCOMPARE(f.zones()->currentIndex(), row);
        QCOMPARE(f.zones()->count(), 71);
    }

    void theZoneListOrTheBoxByHandDropsThePlaceAndKeepsTheChoice() {
        Fixture f;
        QVERIFY(f.showActive());
        f.setDate(7, "4", "1975");
        QVERIFY(f.choose(QStringLiteral("New York"), QStringLiteral("New York, New York, United States of America")));
        QVERIFY(f.window.CurrentForm().Place);
        QTest::keyClick(f.zones(), Qt::Key_Down);  // the next row, as the arrow key chooses it
        QVERIFY(!f.window.CurrentForm().Place);
        QCOMPARE(f.zones()->currentText(), ZoneText(28));
        QVERIFY(f.dst());
        QVERIFY(f.note().isEmpty());

        QVERIFY(f.choose(QStringLiteral("New York"), QStringLiteral("New York, New York, United States of America")));
        QVERIFY(f.window.CurrentForm().Place);
        f.get("chkDST")->setFocus();
        QTest::keyClick(f.get("chkDST"), Qt::Key_Space);
        QVERIFY(!f.window.CurrentForm().Place);
        QVERIFY(!f.dst());
        QCOMPARE(f.zones()->currentText(), ZoneText(27));

        QVERIFY(f.choose(QStringLiteral("New York"), QStringLiteral("New York, New York, United States of America")));
        QTest::mouseClick(f.get("optLong_0"), Qt::LeftButton);
        QVERIFY(!f.window.CurrentForm().Place);
        QVERIFY(f.get<QRadioButton>("optLong_0")->isChecked());
    }

    void aNewDateReevaluatesTheSummerTime() {
        Fixture f;
        QVERIFY(f.showActive());
        f.setDate(7, "4", "1975");
        QVERIFY(f.choose(QStringLiteral("New York"), QStringLiteral("New York, New York, United States of America")));
        QCOMPARE(f.zones()->currentText(), QStringLiteral("Eastern Standard Time,EST,-5.0"));
        QVERIFY(f.dst());
        QVERIFY(f.note().endsWith(QStringLiteral("(summer time)")));

        f.list("cboMonth")->setCurrentIndex(0);  // January
        QCOMPARE(f.zones()->currentText(), QStringLiteral("Eastern Standard Time,EST,-5.0"));
        QVERIFY(!f.dst());
        QCOMPARE(f.note(), QString::fromUtf8("America/New_York \u00b7 UTC-05:00 on 4 January 1975 (no summer time)"));
        QVERIFY(f.window.CurrentForm().Place);

        f.list("cboMonth")->setCurrentIndex(6);
        QVERIFY(f.dst());
    }

    void aSkippedHourIsNotedAndRefused() {
        Fixture f;
        QVERIFY(f.showActive());
        QTest::keyClicks(f.box("txtName"), QStringLiteral("lee"));
        f.setDate(3, "9", "2008", "1", "30");
        QVERIFY(f.choose(QStringLiteral("New York"), QStringLiteral("New York, New York, United States of America")));
        QVERIFY(!f.dst());
        // The clocks went from 2:00 to 3:00 that night.
        f.list("cboHH")->setCurrentText(QStringLiteral("2"));
        const QString gap = f.note();
        QVERIFY2(gap.contains(QStringLiteral("does not exist")), qPrintable(gap));
        QVERIFY(f.messages.Notices.isEmpty());

        f.window.Analyze();
        QCOMPARE(f.messages.Notices.size(), 1);
        QCOMPARE(f.messages.Notices[0].Text, gap);
        QVERIFY(!f.window.resultWindow());

        // An hour later the clock shows summer time.
        f.list("cboHH")->setCurrentText(QStringLiteral("3"));
        QVERIFY(f.dst());
        QVERIFY(!f.note().contains(QStringLiteral("does not exist")));
        f.window.Analyze();
        QCOMPARE(f.messages.Notices.size(), 1);
        QVERIFY(f.window.resultWindow());
    }

    void theLookUpButtonStillSearchesTheWeb() {
        Fixture f;
        QVERIFY(f.showActive());
        f.setDate(9, "27", "1975");
        QVERIFY(f.choose(QStringLiteral("Delhi"), QStringLiteral("Delhi, National Capital Territory of Delhi, India")));
        QTest::mouseClick(f.get("cmdBrowser"), Qt::LeftButton);
        QCOMPARE(f.opener.Opened.size(), 1);
        QVERIFY(f.opener.Opened[0].toString().contains(QStringLiteral("Delhi")));
        QVERIFY(f.window.CurrentForm().Place);
    }
};

QTEST_MAIN(PlaceCompletionTest)
#include "place_completion_test.moc"
