// The Parashari views: the Tables tab, the second chart's varga, the Dasha
// tab's systems and levels, the Today tab's moment, the dasha year setting.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimeZone>
#include <QTreeWidget>

#include "astro/time_conversion.h"
#include "core/form_builders.h"
#include "core/parashari_texts.h"
#include "core/pipeline.h"
#include "core/text_formats.h"
#include "report/parashari_parts.h"
#include "ui/chart_widget.h"
#include "ui/dasha_periods.h"
#include "ui/dasha_year_menu.h"
#include "ui/links.h"
#include "ui/main_window.h"
#include "ui/result_window.h"
#include "ui/tables_tab.h"
#include "ui/toolkit_tabs.h"
#include "ui/varga_choice.h"
#include "ui/window_fixture.h"

namespace analysis = velmora::analysis;
using velmora::core::BirthAnalysis;
using velmora::ui::ChartWidget;
using velmora::ui::MemorySettingsStore;
using velmora::ui::ResultWindow;

namespace {

using velmora::testing::Q;

using velmora::testing::Utc;

BirthAnalysis Analysed(analysis::DashaYear year = analysis::DashaYear::Julian) {
    velmora::core::AnalysisOptions options;
    options.DashaYear = year;
    return velmora::testing::AnalysisOf(velmora::testing::DelhiForm(), options);
}

template <class T = QWidget>
T* Child(const QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromLatin1(name));
}

// The sample birth in a result window with every tab filled.
struct Shown : velmora::testing::ResultWindowFixture {
    Shown() : ResultWindowFixture(Analysed(), Utc(1985, 6, 1, 6, 30)) { showAddedTabs(); }
};

// The table's cells against a text table, header included.
void CompareTable(const QTableWidget* table, const velmora::core::TextTable& text) {
    QCOMPARE(table->columnCount(), static_cast<int>(text.Header.size()));
    QCOMPARE(table->rowCount(), static_cast<int>(text.Rows.size()));
    for (int col = 0; col < table->columnCount(); ++col)
        QCOMPARE(table->horizontalHeaderItem(col)->text(), QString::fromStdString(text.Header[std::size_t(col)]));
    for (int row = 0; row < table->rowCount(); ++row)
        for (int col = 0; col < table->columnCount(); ++col)
            QCOMPARE(table->item(row, col)->text(),
                     QString::fromStdString(text.Rows[std::size_t(row)][std::size_t(col)]));
}

}  // namespace

class ParashariViewsTest : public QObject {
    Q_OBJECT

private slots:
    void theTablesTabShowsTheTypedTables() {
        Shown shown;
        const BirthAnalysis& a = shown.analysis;
        auto* degrees = Child<QTableWidget>(&shown.window, "tblDegrees");
        QVERIFY(degrees);
        CompareTable(degrees, velmora::core::DegreeTable(a));
        if (QTest::currentTestFailed()) return;
        // The Moon's row: its nakshatra and pada, its speed; Jupiter marked retrograde.
        const auto moon = static_cast<int>(velmora::Moon);
        QCOMPARE(degrees->item(moon, 3)->text(), QStringLiteral("9 Ashlesha"));
        QCOMPARE(degrees->item(moon, 4)->text(), QString::number(a.Nakshatras[velmora::Moon].Pada));
        QVERIFY(degrees->item(moon, 5)->text().startsWith(QLatin1Char('+')));
        QCOMPARE(degrees->item(static_cast<int>(velmora::Jupiter), 6)->text(), QStringLiteral("R"));
        QCOMPARE(degrees->item(moon, 1)->text(),
                 Q(velmora::core::ArcSecondsText(a.Positions.Longitudes[velmora::Moon])));

        auto* vargas = Child<QTableWidget>(&shown.window, "tblVargas");
        CompareTable(vargas, velmora::core::VargaTableText(a, true));
        if (QTest::currentTestFailed()) return;
        // The tool tip names the varga and the whole sign.
        const int d60 = static_cast<int>(analysis::Varga::D60) + 1;
        QVERIFY(vargas->item(0, d60)->toolTip().startsWith(QStringLiteral("D60 Shashtiamsa: Sun in ")));
        QVERIFY(vargas->item(0, d60)->toolTip().endsWith(
            Q(velmora::SignNameOf(a.Vargas[static_cast<std::size_t>(analysis::Varga::D60)][velmora::Sun]))));

        auto* panchanga = Child<QTableWidget>(&shown.window, "tblPanchanga");
        CompareTable(panchanga, velmora::core::PanchangaTable(a));
        QCOMPARE(panchanga->item(5, 2)->text(), Q(a.Panchanga.SunriseText));
        QVERIFY(Child<QLabel>(&shown.window, "lblPanchangaNote")->text().contains(QStringLiteral("UTC+05:30")));
    }

    void theSecondChartDrawsTheChosenVargaAndRemembersIt() {
        Shown shown;
        auto* choice = Child<QComboBox>(&shown.window, "cboSecondVarga");
        auto* chart = Child<ChartWidget>(&shown.window, "chtNavamsa");
        QVERIFY(choice && chart);
        QCOMPARE(choice->count(), 16);
        QCOMPARE(choice->currentText(), QStringLiteral("D9 Navamsa"));  // nothing remembered yet
        QCOMPARE(chart->picture().ascendantSign, shown.analysis.Navamsa[velmora::Ascendant]);

        choice->setCurrentIndex(static_cast<int>(analysis::Varga::D10));
        const auto& d10 = shown.analysis.Vargas[static_cast<std::size_t>(analysis::Varga::D10)];
        QCOMPARE(chart->picture().ascendantSign, d10[velmora::Ascendant]);
        QCOMPARE(chart->picture().title, QStringLiteral("D10 Dasamsa"));
        for (std::size_t body = 0; body < velmora::kBodyCount; ++body)
            QVERIFY(chart->picture().bodies[static_cast<std::size_t>(d10[body] - 1)].contains(
                Q(shown.analysis.Display.BodyNames[body])));
        QCOMPARE(shown.store.Value(QString::fromLatin1(velmora::ui::kSecondVargaKey)),
                 std::optional<QString>(QStringLiteral("D10")));

        // The next window opens on the remembered one; anything else stored is the navamsa.
        ResultWindow next(shown.links);
        next.SetSettings(&shown.store);
        QVERIFY(next.chartsTab());  // built on demand
        QCOMPARE(Child<QComboBox>(&next, "cboSecondVarga")->currentText(), QStringLiteral("D10 Dasamsa"));
        shown.store.SetValue(QString::fromLatin1(velmora::ui::kSecondVargaKey), QStringLiteral("D11"));
        next.SetSettings(&shown.store);
        QCOMPARE(Child<QComboBox>(&next, "cboSecondVarga")->currentText(), QStringLiteral("D9 Navamsa"));
    }

    void theDashaTabOpensThreeLevelsAndHighlightsEach() {
        Shown shown;
        const BirthAnalysis& a = shown.analysis;
        auto* tree = Child<QTreeWidget>(&shown.window, "treDasha");
        const velmora::UtMoment now = velmora::astro::UtMomentOf(velmora::ClockReading{1985, 6, 1, 6, 30});
        const auto running = analysis::RunningDashaAt(a.Dasha, now);
        QVERIFY(running);
        QTreeWidgetItem* maha = tree->topLevelItem(static_cast<int>(running->Maha));
        QTreeWidgetItem* antar = maha->child(static_cast<int>(running->Antar));
        const analysis::PratyantarList third =
            analysis::PratyantarsOf(a.Dasha, a.Dasha.Periods[running->Maha].Sub[running->Antar]);
        QCOMPARE(antar->childCount(), static_cast<int>(third.size()));
        QVERIFY(maha->isExpanded() && antar->isExpanded());
        for (int p = 0; p < antar->childCount(); ++p) {
            QCOMPARE(velmora::ui::IsRunningHighlight(antar->child(p)),
                     static_cast<std::size_t>(p) == running->Pratyantar);
            QCOMPARE(antar->child(p)->text(2), Q(velmora::core::LocalMomentText(third[static_cast<std::size_t>(p)].End,
                                                                                a.Birth.Moment.UtcOffsetSeconds)));
        }
        QVERIFY(velmora::ui::IsRunningHighlight(maha) && velmora::ui::IsRunningHighlight(antar));
        // The pratyantars of the period cut at birth start at the birth.
        QCOMPARE(tree->topLevelItem(0)->child(0)->child(0)->text(1), QStringLiteral("1980-01-05 09:05"));
        QVERIFY(Child<QLabel>(&shown.window, "lblDashaToday")->text().contains(QStringLiteral("pratyantar")));
        QVERIFY(Child<QLabel>(&shown.window, "lblDashaYear")->text().startsWith(QStringLiteral("Dasha year: 365.25")));

        // Yogini: eight periods with their antars, the running ones marked.
        auto* system = Child<QComboBox>(&shown.window, "cboDashaSystem");
        system->setCurrentIndex(1);
        QCOMPARE(tree->topLevelItemCount(), 8);
        const auto yogini = analysis::RunningYoginiAt(a.Yogini, now);
        QVERIFY(yogini);
        for (int m = 0; m < 8; ++m) {
            const analysis::YoginiMaha& period = a.Yogini.Periods[static_cast<std::size_t>(m)];
            QTreeWidgetItem* item = tree->topLevelItem(m);
            QCOMPARE(item->text(0), Q(period.YoginiName) + " (" + Q(period.LordName) + ")");
            QCOMPARE(item->childCount(), static_cast<int>(period.Sub.size()));
            QCOMPARE(velmora::ui::IsRunningHighlight(item), static_cast<std::size_t>(m) == yogini->Maha);
        }
        QVERIFY(velmora::ui::IsRunningHighlight(
            tree->topLevelItem(static_cast<int>(yogini->Maha))->child(static_cast<int>(yogini->Antar))));
        QVERIFY(Child<QLabel>(&shown.window, "lblDashaBalance")->text().contains(QStringLiteral("Yogini")));
        QVERIFY(Child<QLabel>(&shown.window, "lblDashaReadings")->text().isEmpty());
    }

    void theTodayTabTakesAnyMomentAndNow() {
        Shown shown;
        auto* when = Child<QDateTimeEdit>(&shown.window, "dteTransits");
        auto* table = Child<QTableWidget>(&shown.window, "tblTransits");
        QVERIFY(when && table);
        QCOMPARE(when->dateTime().toUTC(), Utc(1985, 6, 1, 6, 30));
        // Another time of the same day moves the Moon.
        when->setDateTime(Utc(1985, 6, 1, 23, 50).toLocalTime());
        const velmora::core::TransitSky late = velmora::core::TransitsOver(shown.analysis, {1985, 6, 1, 23, 50});
        QCOMPARE(shown.window.todayTab()->sky().Moment, (velmora::ClockReading{1985, 6, 1, 23, 50}));
        QCOMPARE(table->item(velmora::Moon, 1)->text(), Q(velmora::SignNameOf(late.Bodies[velmora::Moon].Sign)));
        // "Now" goes back to the clock's moment, which may have moved.
        shown.clock.Set(Utc(1990, 2, 3, 4, 5));
        QTest::mouseClick(Child<QPushButton>(&shown.window, "btnTransitsNow"), Qt::LeftButton);
        QCOMPARE(when->dateTime().toUTC(), Utc(1990, 2, 3, 4, 5));
        QCOMPARE(shown.window.todayTab()->sky().Moment, (velmora::ClockReading{1990, 2, 3, 4, 5}));
    }

    void theDashaYearIsASettingRememberedAndPassedOn() {
        velmora::testing::InputWindowFixture f;
        velmora::MainWindow& input = f.window;
        MemorySettingsStore& store = f.store;
        auto* julian = input.findChild<QAction*>(QStringLiteral("mnuDashaYear_365_25"));
        auto* savana = input.findChild<QAction*>(QStringLiteral("mnuDashaYear_360"));
        QVERIFY(julian && savana);
        QVERIFY(julian->isChecked());
        QCOMPARE(Child<QMenu>(&input, "mnuDashaYear")->actions().size(), 4);
        savana->trigger();
        QVERIFY(savana->isChecked() && !julian->isChecked());
        QCOMPARE(store.Value(QString::fromLatin1(velmora::ui::kDashaYearKey)), std::optional<QString>("360"));

        // Another input window reads it back; anything else stored is the default.
        velmora::testing::InputWindowFixture again(&store);
        QVERIFY(again.action("mnuDashaYear_360")->isChecked());
        store.SetValue(QString::fromLatin1(velmora::ui::kDashaYearKey), QStringLiteral("365"));
        again.window.SetSettings(&store);
        QVERIFY(again.action("mnuDashaYear_365_25")->isChecked());

        // A result in the savana year says so on the Dasha tab.
        Shown shown;
        shown.window.ShowResult(Analysed(analysis::DashaYear::Savana));
        QVERIFY(
            Child<QLabel>(&shown.window, "lblDashaYear")->text().startsWith(QStringLiteral("Dasha year: 360 days")));
    }
};

QTEST_MAIN(ParashariViewsTest)
#include "parashari_views_test.moc"
