// The tabs after the first three: the charts with the padas and the
// birth-time band, the dashas, today's sky; the View menu's chart style.

#include <QAction>
#include <QApplication>
#include <QDateTimeEdit>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimeZone>
#include <QTreeWidget>

#include <ctime>

#include "astro/position_text.h"
#include "astro/time_conversion.h"
#include "core/text_formats.h"
#include "core/form_builders.h"
#include "core/period_texts.h"
#include "core/pipeline.h"
#include "core/time_scan.h"
#include "core/zone_at_moment.h"
#include "core/zone_rules.h"
#include "ui/chart_widget.h"
#include "ui/links.h"
#include "ui/main_window.h"
#include "ui/result_window.h"
#include "ui/time_band.h"
#include "ui/toolkit_tabs.h"
#include "ui/window_fixture.h"

using velmora::ClockReading;
using velmora::MainWindow;
using velmora::core::BirthAnalysis;
using velmora::report::ChartStyle;
using velmora::testing::RecordingOpener;
using velmora::ui::ChartWidget;
using velmora::ui::Links;
using velmora::ui::MemorySettingsStore;
using velmora::ui::ResultWindow;
using velmora::ui::TimeBand;

namespace {

using velmora::testing::Q;

using velmora::testing::Utc;

// The sample birth (Jupiter is retrograde, and several bodies have
// readings) analysed as the input window asks for it, with the birth-time
// band, in a result window with a given store and clock: each tab filled,
// the first chosen.
velmora::core::BirthAnalysis Analysed() {
    velmora::core::AnalysisOptions options;
    options.ScanBirthTime = true;
    return velmora::testing::AnalysisOf(velmora::testing::DelhiForm("RAVI KUMAR"), options);
}

struct Shown : velmora::testing::ResultWindowFixture {
    Shown() : ResultWindowFixture(Analysed(), Utc(2025, 6, 1, 6, 30)) {
        showAddedTabs();
        tabs()->setCurrentIndex(0);
    }
};

ClockReading MinuteOf(const QDateTime& utc) {
    return {utc.date().year(), utc.date().month(), utc.date().day(), utc.time().hour(), utc.time().minute()};
}

template <class T = QWidget>
T* Child(const QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromLatin1(name));
}

QStringList RowOf(const QTableWidget* table, int row) {
    QStringList cells;
    for (int col = 0; col < table->columnCount(); ++col)
        cells << (table->item(row, col) ? table->item(row, col)->text() : QString());
    return cells;
}

bool IsHighlighted(const QTreeWidgetItem* item) {
    return item->font(0).bold() && item->background(0).style() != Qt::NoBrush;
}

// The transits table against the typed sky, row by row.
void CompareTransits(const QTableWidget* table, const velmora::core::TransitSky& sky) {
    QCOMPARE(table->rowCount(), 9);
    for (int row = 0; row < 9; ++row) {
        const velmora::core::TransitBody& body = sky.Bodies[static_cast<std::size_t>(row)];
        QCOMPARE(RowOf(table, row),
                 (QStringList{Q(velmora::kBodyNames[body.Which]), Q(velmora::SignNameOf(body.Sign)),
                              body.Retrograde ? QStringLiteral("R") : QString(),
                              QString::number(body.HouseFromAscendant), QString::number(body.HouseFromArudhaLagna)}));
    }
}

// The process's own zone for a while (TZ, read again by the C library and
// so by Qt's local time), put back as it was.
class ProcessZone {
public:
    explicit ProcessZone(const char* zone) : had_(qEnvironmentVariableIsSet("TZ")), old_(qgetenv("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~ProcessZone() {
        if (had_)
            qputenv("TZ", old_);
        else
            qunsetenv("TZ");
        tzset();
    }
    ProcessZone(const ProcessZone&) = delete;
    ProcessZone& operator=(const ProcessZone&) = delete;

private:
    bool had_;
    QByteArray old_;
};

}  // namespace

class ToolkitTabsTest : public QObject {
    Q_OBJECT

private slots:
    void theNewTabsFollowTheThreeUnchangedOnes() {
        RecordingOpener opener;
        Links links(opener);
        ResultWindow window(links);
        auto* tabs = Child<QTabWidget>(&window, "SSTab1");
        QCOMPARE(tabs->count(), 8);
        QStringList texts, names;
        for (int i = 0; i < tabs->count(); ++i) {
            texts << tabs->tabText(i);
            names << tabs->widget(i)->objectName();
        }
        QCOMPARE(texts, (QStringList{"Arudha Lagna Chart", "Planetary Details", "Arudha Lagna Details", "Charts",
                                     "Dasha", "Today", "Jaimini", "Tables"}));
        QCOMPARE(names, (QStringList{"tabChart", "tabPlanets", "tabProfile", "tabCharts", "tabDasha", "tabToday",
                                     "tabJaimini", "tabTables"}));
        // Each added tab is built when first shown.
        QVERIFY(!Child(&window, "chtBirth"));
        for (int i = 3; i < tabs->count(); ++i) tabs->setCurrentIndex(i);
        for (const char* name : {"chtBirth", "chtNavamsa", "wgtTimeBand", "lblSensitivity", "tblPadas", "treDasha",
                                 "lblDashaBalance", "dteTransits", "chtTransits", "tblTransits", "lblTransitDasha"})
            QVERIFY2(Child(&window, name), name);
    }

    void theChartsAndThePadaTableShowTheTypedResult() {
        Shown shown;
        const velmora::core::BirthAnalysis& a = shown.analysis;
        auto* table = Child<QTableWidget>(&shown.window, "tblPadas");
        QCOMPARE(table->rowCount(), 12);
        QStringList headers;
        for (int col = 0; col < table->columnCount(); ++col) headers << table->horizontalHeaderItem(col)->text();
        QCOMPARE(headers, (QStringList{"House", "Sign", "Lord", "Lord's\nsign", "Pada", "Why"}));
        // Signs as the positions write them, the full name in the tool tip.
        const auto shortSign = [](int sign) { return Q(velmora::astro::SignAbbreviation(sign - 1)); };
        for (int row = 0; row < 12; ++row) {
            const velmora::analysis::Pada& pada = a.Padas[static_cast<std::size_t>(row)];
            QCOMPARE(RowOf(table, row).mid(0, 5),
                     (QStringList{QString::number(row + 1), shortSign(pada.HouseSign), Q(pada.LordName),
                                  shortSign(pada.LordSign), Q(pada.Label) + " " + shortSign(pada.PadaSign)}));
            QCOMPARE(table->item(row, 4)->toolTip(), Q(velmora::SignNameOf(pada.PadaSign)));
        }
        QCOMPARE(table->item(0, 4)->text(), QStringLiteral("AL ") + shortSign(a.Chart.ArudhaLagnaSign));

        // The birth chart: every body under its display name in its sign,
        // every pada label in its sign; the ascendant's sign first.
        const velmora::report::ChartPicture birth = Child<ChartWidget>(&shown.window, "chtBirth")->picture();
        QCOMPARE(birth.ascendantSign, a.Chart.AscendantSign);
        int bodies = 0, markers = 0;
        for (int sign = 1; sign <= 12; ++sign) {
            const auto& names = birth.bodies[static_cast<std::size_t>(sign - 1)];
            for (const QString& name : names) {
                ++bodies;
                const auto at = std::find(a.Display.BodyNames.begin(), a.Display.BodyNames.end(), name.toStdString());
                QVERIFY2(at != a.Display.BodyNames.end(), qPrintable(name));
                QCOMPARE(a.Chart.BodySign[static_cast<std::size_t>(at - a.Display.BodyNames.begin())], sign);
            }
            for (const QString& label : birth.markers[static_cast<std::size_t>(sign - 1)]) {
                ++markers;
                const auto pada =
                    std::find_if(a.Padas.begin(), a.Padas.end(), [&](const auto& p) { return Q(p.Label) == label; });
                QVERIFY2(pada != a.Padas.end(), qPrintable(label));
                QCOMPARE(pada->PadaSign, sign);
            }
        }
        QCOMPARE(bodies, 10);
        QCOMPARE(markers, 12);
        QVERIFY(
            birth.bodies[static_cast<std::size_t>(a.Chart.BodySign[velmora::Jupiter] - 1)].contains("Jupiter (R) "));

        // The navamsa: the bodies by their navamsa signs.
        const velmora::report::ChartPicture navamsa = Child<ChartWidget>(&shown.window, "chtNavamsa")->picture();
        QCOMPARE(navamsa.ascendantSign, a.Navamsa[velmora::Ascendant]);
        for (std::size_t body = 0; body < velmora::kBodyCount; ++body)
            QVERIFY(
                navamsa.bodies[static_cast<std::size_t>(a.Navamsa[body] - 1)].contains(Q(a.Display.BodyNames[body])));
    }

    void theTimeBandShowsTheScanOfTheBirth() {
        Shown shown;
        const velmora::core::SensitivityScan expected =
            velmora::core::ScanBirthTime(shown.analysis.Birth, velmora::core::EngineFor(shown.analysis.Birth.Settings));
        auto* band = Child<TimeBand>(&shown.window, "wgtTimeBand");
        QCOMPARE(band->scan().Segments.size(), expected.Segments.size());
        QVERIFY(expected.Segments.size() >= 2);
        for (std::size_t i = 0; i < expected.Segments.size(); ++i) {
            QCOMPARE(band->scan().Segments[i].FromOffset, expected.Segments[i].FromOffset);
            QCOMPARE(band->scan().Segments[i].ArudhaLagnaSign, expected.Segments[i].ArudhaLagnaSign);
        }
        QCOMPARE(Child<QLabel>(&shown.window, "lblSensitivity")->text(),
                 Q(velmora::core::SensitivitySentence(expected)));

        // The pieces fill the strip left to right, each in its ascendant's
        // colour, and the birth's mark lies in the piece that holds it.
        band->resize(720, band->sizeHint().height());
        // Grabbing lays the page out first: the pieces are those of the size painted.
        const QImage image = band->grab().toImage();
        const QRectF area(band->rect());
        const TimeBand::Drawing drawing = TimeBand::Layout(area, band->scan(), band->font());
        const QRectF strip = drawing.strip;
        const QList<TimeBand::Piece>& pieces = drawing.pieces;
        QCOMPARE(pieces.size(), static_cast<qsizetype>(expected.Segments.size()));
        QCOMPARE(pieces.first().rect.left(), strip.left());
        QVERIFY(qAbs(pieces.last().rect.right() - strip.right()) < 0.01);
        QVERIFY(drawing.marks.isEmpty());  // no change of the clocks in the window
        QCOMPARE(band->sizeHint().height(), 5 * band->fontMetrics().lineSpacing() + 16);
        const double marker = drawing.markerX;
        int holding = 0;
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (i > 0) QCOMPARE(pieces[i].rect.left(), pieces[i - 1].rect.right());
            QCOMPARE(pieces[i].ascendantSign, expected.Segments[static_cast<std::size_t>(i)].AscendantSign);
            QVERIFY(pieces[i].toolTip.contains(Q(velmora::SignNameOf(pieces[i].arudhaLagnaSign))));
            // A point near the piece's top left corner, clear of its label.
            const QPoint probe(static_cast<int>(pieces[i].rect.left()) + 3, static_cast<int>(pieces[i].rect.top()) + 3);
            QCOMPARE(QColor(image.pixel(probe)).rgb(), TimeBand::SignColour(pieces[i].ascendantSign).rgb());
            if (pieces[i].rect.left() <= marker && marker < pieces[i].rect.right()) {
                ++holding;
                QCOMPARE(pieces[i].ascendantSign, shown.analysis.Chart.AscendantSign);
                QCOMPARE(pieces[i].arudhaLagnaSign, shown.analysis.Chart.ArudhaLagnaSign);
            }
        }
        QCOMPARE(holding, 1);
    }

    void theDashaTreeHasNineMahasWithTheirAntars() {
        Shown shown;
        const velmora::analysis::DashaTable& table = shown.analysis.Dasha;
        QCOMPARE(Child<QLabel>(&shown.window, "lblDashaBalance")->text(),
                 QStringLiteral("Moon in Ashlesha (lord Mercury); balance at birth 9 years 11 months"));
        auto* tree = Child<QTreeWidget>(&shown.window, "treDasha");
        QCOMPARE(tree->topLevelItemCount(), 9);
        for (int m = 0; m < 9; ++m) {
            const QTreeWidgetItem* item = tree->topLevelItem(m);
            const velmora::analysis::MahaDasha& maha = table.Periods[static_cast<std::size_t>(m)];
            QCOMPARE(item->text(0), Q(maha.LordName));
            // Date and time on the birth's clock.
            const int offset = shown.analysis.Birth.Moment.UtcOffsetSeconds;
            QCOMPARE(item->text(1), Q(velmora::core::LocalMomentText(maha.Start, offset)));
            QCOMPARE(item->text(2), Q(velmora::core::LocalMomentText(maha.End, offset)));
            QCOMPARE(item->childCount(), static_cast<int>(maha.Sub.size()));
            if (m > 0) QCOMPARE(item->childCount(), 9);  // only the first is cut by the birth
            for (int k = 0; k < item->childCount(); ++k) {
                const velmora::analysis::DashaSpan& antar = maha.Sub[static_cast<std::size_t>(k)];
                QCOMPARE(item->child(k)->text(0), Q(maha.LordName) + " / " + Q(antar.LordName));
                QCOMPARE(item->child(k)->text(1), Q(velmora::core::LocalMomentText(antar.Start, offset)));
                QCOMPARE(item->child(k)->text(2), Q(velmora::core::LocalMomentText(antar.End, offset)));
            }
        }
        QCOMPARE(tree->topLevelItem(0)->text(1), QStringLiteral("1980-01-05 09:05"));  // the birth

        // The bodies with readings say when their maha dashas run.
        const std::vector<velmora::core::ReadingDasha> read = velmora::core::ReadingDashas(shown.analysis);
        QVERIFY(!read.empty());
        const QString lines = Child<QLabel>(&shown.window, "lblDashaReadings")->text();
        for (const velmora::core::ReadingDasha& line : read) {
            QVERIFY(lines.contains(Q(line.Text)));
            QCOMPARE(tree->topLevelItem(static_cast<int>(line.Maha))->text(3),
                     Q(velmora::kBodyNames[line.Which]) + " has a reading");
        }
    }

    void thePeriodRunningNowIsHighlightedAndItsMahaOpen() {
        Shown shown;
        auto* tree = Child<QTreeWidget>(&shown.window, "treDasha");
        const auto check = [&](const QDateTime& now) {
            const auto running =
                velmora::analysis::RunningDashaAt(shown.analysis.Dasha, velmora::astro::UtMomentOf(MinuteOf(now)));
            QVERIFY(running);
            for (int m = 0; m < tree->topLevelItemCount(); ++m) {
                const QTreeWidgetItem* item = tree->topLevelItem(m);
                const bool mine = static_cast<std::size_t>(m) == running->Maha;
                QCOMPARE(IsHighlighted(item), mine);
                QCOMPARE(item->isExpanded(), mine);
                for (int k = 0; k < item->childCount(); ++k)
                    QCOMPARE(IsHighlighted(item->child(k)), mine && static_cast<std::size_t>(k) == running->Antar);
            }
            const velmora::analysis::MahaDasha& maha = shown.analysis.Dasha.Periods[running->Maha];
            QVERIFY(Child<QLabel>(&shown.window, "lblDashaToday")
                        ->text()
                        .contains(Q(maha.LordName) + " maha dasha, " + Q(maha.Sub[running->Antar].LordName)));
        };
        check(shown.clock.Now());
        if (QTest::currentTestFailed()) return;
        // Another "now": the highlight moves with the clock.
        shown.clock.Set(Utc(2041, 3, 10, 0, 0));
        shown.window.SetClock(&shown.clock);
        check(shown.clock.Now());
    }

    void theTodayTabShowsTheSkyOfTheClockAndOfAPickedDay() {
        Shown shown;
        const velmora::core::TransitSky now = velmora::core::TransitsOver(shown.analysis, {2025, 6, 1, 6, 30});
        auto* table = Child<QTableWidget>(&shown.window, "tblTransits");
        CompareTransits(table, now);
        if (QTest::currentTestFailed()) return;
        auto* date = Child<QDateTimeEdit>(&shown.window, "dteTransits");
        QCOMPARE(date->date(), QDate(2025, 6, 1));
        QCOMPARE(Child<QLabel>(&shown.window, "lblTransitDasha")->text(),
                 QStringLiteral("Running: %1 maha dasha, %2 antar dasha").arg(Q(now.MahaLord), Q(now.AntarLord)));
        const velmora::report::ChartPicture picture = Child<ChartWidget>(&shown.window, "chtTransits")->picture();
        QCOMPARE(picture.ascendantSign, shown.analysis.Chart.AscendantSign);
        for (const velmora::core::TransitBody& body : now.Bodies)
            QVERIFY(
                picture.markers[static_cast<std::size_t>(body.Sign - 1)].contains(velmora::report::TransitLabel(body)));

        // Another day, the clock's time of day kept.
        date->setDate(QDate(2031, 1, 15));
        const velmora::core::TransitSky later = velmora::core::TransitsOver(shown.analysis, {2031, 1, 15, 6, 30});
        CompareTransits(table, later);
        QVERIFY(later.Bodies[velmora::Moon].Sign != now.Bodies[velmora::Moon].Sign ||
                later.Bodies[velmora::Sun].Sign != now.Bodies[velmora::Sun].Sign);
        QCOMPARE(Child<QLabel>(&shown.window, "lblTransitDasha")->text(),
                 QStringLiteral("Running: %1 maha dasha, %2 antar dasha").arg(Q(later.MahaLord), Q(later.AntarLord)));
        // A day before the birth has no dasha.
        date->setDate(QDate(1970, 1, 1));
        QCOMPARE(Child<QLabel>(&shown.window, "lblTransitDasha")->text(),
                 QStringLiteral("No dasha of the birth runs on this day."));
    }

    void theTodayTabReadsTheUsersClockAsTheZoneRulesDoPast2037() {
        // Debian's zone files list changes up to 2037; the clocks after that
        // follow each file's closing rule. The moment picked on the tab, read
        // on the user's clock, must come to the universal time the program's
        // own zone rules give, and the window's clock must show as they do.
        const BirthAnalysis analysis = Analysed();
        velmora::core::ZoneRules rules;
        struct Zone {
            const char* id;
            int julyOffsetHours;
        };
        for (const Zone& zone : {Zone{"America/New_York", -4}, Zone{"Australia/Sydney", 10}}) {
            const ProcessZone user(zone.id);
            velmora::ui::TodayTab tab;
            // The clock's moment: noon of 1 July 2040 on the user's clock.
            const QDateTime now = Utc(2040, 7, 1, 12 - zone.julyOffsetHours, 0);
            tab.ShowAnalysis(analysis, now);
            QCOMPARE(tab.dateEdit()->dateTime().time(), QTime(12, 0));
            QCOMPARE(tab.dateEdit()->date(), QDate(2040, 7, 1));
            QCOMPARE(tab.sky().Moment, MinuteOf(now));

            // Moments of 2040 picked on the tab, against the zone rules:
            // every hour of the days the clocks change, two of every other.
            const auto rule = [&](const QDate& day, int hour) {
                return velmora::core::ZoneAt(rules, zone.id, day.year(), day.month(), day.day(), hour, 30);
            };
            int compared = 0, changes = 0;
            for (QDate day(2040, 1, 1); day.year() == 2040; day = day.addDays(1)) {
                const bool change = rule(day, 0).UtcOffsetMinutes != rule(day, 23).UtcOffsetMinutes;
                changes += change ? 1 : 0;
                for (int hour = 0; hour < 24; hour += change ? 1 : 12) {
                    const velmora::core::ZoneAtMoment clock = rule(day, hour);
                    // A time that never came or came twice is the form's business.
                    if (clock.Status != velmora::core::LocalTimeStatus::Ok) continue;
                    tab.dateEdit()->setDateTime(QDateTime(day, QTime(hour, 30)));
                    const ClockReading expected = velmora::astro::AddMinutes(
                        {day.year(), day.month(), day.day(), hour, 30}, -clock.UtcOffsetMinutes);
                    if (tab.sky().Moment != expected)
                        QFAIL(qPrintable(QStringLiteral("%1 %2 %3:30: %4 UT, the zone rules %5 UT")
                                             .arg(QLatin1String(zone.id), day.toString(Qt::ISODate))
                                             .arg(hour)
                                             .arg(Q(velmora::core::ClockReadingText(tab.sky().Moment)),
                                                  Q(velmora::core::ClockReadingText(expected)))));
                    ++compared;
                }
            }
            QCOMPARE(changes, 2);
            QVERIFY(compared > 2 * 364 + 2 * 22);
            // July's offset, as the rules give it.
            QCOMPARE(velmora::core::ZoneAt(rules, zone.id, 2040, 7, 1, 12, 0).UtcOffsetMinutes,
                     zone.julyOffsetHours * 60);
        }
    }

    void theViewMenuSwitchesEveryChartAndIsRemembered() {
        Shown shown;
        auto* south = shown.window.findChild<QAction*>(QStringLiteral("mnuChartSouth"));
        auto* north = shown.window.findChild<QAction*>(QStringLiteral("mnuChartNorth"));
        QVERIFY(south && north);
        QCOMPARE(Child<QMenu>(&shown.window, "mnuView")->actions(), (QList<QAction*>{south, north}));
        QVERIFY(south->isCheckable() && north->isCheckable());
        QVERIFY(south->isChecked());  // nothing remembered yet
        const auto styles = [&] {
            QList<ChartStyle> all;
            for (const char* name : {"chtBirth", "chtNavamsa", "chtTransits"})
                all << Child<ChartWidget>(&shown.window, name)->chartStyle();
            return all;
        };
        QCOMPARE(styles(), QList<ChartStyle>(3, ChartStyle::SouthIndian));

        north->trigger();
        QCOMPARE(styles(), QList<ChartStyle>(3, ChartStyle::NorthIndian));
        QVERIFY(north->isChecked() && !south->isChecked());
        QCOMPARE(shown.store.Value(QStringLiteral("View/ChartStyle")), std::optional<QString>(QStringLiteral("north")));

        // The next window reads the choice.
        ResultWindow next(shown.links);
        next.SetSettings(&shown.store);
        QCOMPARE(next.chartStyle(), ChartStyle::NorthIndian);
        QVERIFY(next.findChild<QAction*>(QStringLiteral("mnuChartNorth"))->isChecked());
        Child<QTabWidget>(&next, "SSTab1")->setCurrentIndex(3);  // Charts, built when shown
        QCOMPARE(Child<ChartWidget>(&next, "chtNavamsa")->chartStyle(), ChartStyle::NorthIndian);

        south->trigger();
        QCOMPARE(styles(), QList<ChartStyle>(3, ChartStyle::SouthIndian));
        QCOMPARE(shown.store.Value(QStringLiteral("View/ChartStyle")), std::optional<QString>(QStringLiteral("south")));
        // Anything else stored counts as the default.
        shown.store.SetValue(QStringLiteral("View/ChartStyle"), QStringLiteral("east"));
        next.SetSettings(&shown.store);
        QCOMPARE(next.chartStyle(), ChartStyle::SouthIndian);
    }

    void theInputWindowPassesItsStoreAndClockOn() {
        MemorySettingsStore store;
        store.SetValue(QStringLiteral("View/ChartStyle"), QStringLiteral("north"));
        velmora::testing::InputWindowFixture f(&store);
        MainWindow& input = f.window;
        f.clock.Set(Utc(2041, 3, 10, 0, 0));
        f.typeBirth(velmora::testing::DelhiBirth("ravi kumar"));
        input.Analyze();
        QVERIFY(f.messages.Notices.isEmpty());
        ResultWindow* result = input.resultWindow();
        QVERIFY(result);
        QCOMPARE(result->chartStyle(), ChartStyle::NorthIndian);
        Child<QTabWidget>(result, "SSTab1")->setCurrentIndex(5);  // Today, filled when shown
        QCOMPARE(Child<QDateTimeEdit>(result, "dteTransits")->date(), QDate(2041, 3, 10));
        result->findChild<QAction*>(QStringLiteral("mnuChartSouth"))->trigger();
        QCOMPARE(store.Value(QStringLiteral("View/ChartStyle")), std::optional<QString>(QStringLiteral("south")));
    }
};

QTEST_MAIN(ToolkitTabsTest)
#include "toolkit_tabs_test.moc"
