// The added tabs at the result window's own size: every column of their
// tables in view with its header and cells whole, the positions whole with
// the precise comparison shown, and chart names at a legible size.

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "core/form_builders.h"
#include "analysis/sign_profiles.h"
#include "core/display.h"
#include "core/pipeline.h"
#include "report/chart_painting.h"
#include "report/chart_pictures.h"
#include "ui/chart_widget.h"
#include "ui/links.h"
#include "ui/result_window.h"
#include "ui/window_fixture.h"

using velmora::report::ChartPicture;
using velmora::report::ChartStyle;
using velmora::report::ChartText;

namespace {

// The sample birth with the birth-time band and the sky of one moment,
// which the result window's clock shows.
const velmora::ClockReading kSkyMoment{2026, 12, 8, 10, 51};

velmora::core::BirthAnalysis Analysed(velmora::core::EphemerisMode mode) {
    velmora::core::AnalysisOptions options;
    options.Settings.Mode = mode;
    options.ScanBirthTime = true;
    options.TransitsAt = kSkyMoment;
    return velmora::testing::AnalysisOf(velmora::testing::DelhiForm(), options);
}

// A result window shown at the size it opens at.
struct Shown : velmora::testing::ResultWindowFixture {
    explicit Shown(velmora::core::EphemerisMode mode)
        : ResultWindowFixture(Analysed(mode), velmora::testing::Utc(kSkyMoment.Year, kSkyMoment.Month, kSkyMoment.Day,
                                                                    kSkyMoment.Hour, kSkyMoment.Minute)) {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qFatal("the result window was not shown");
    }

    void showTab(const char* name) {
        QTabWidget* all = tabs();
        for (int i = 0; i < all->count(); ++i)
            if (all->widget(i)->objectName() == QLatin1String(name)) all->setCurrentIndex(i);
        QApplication::processEvents();
    }
};

// The widest line of a text.
int WidthOf(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// Every column lies inside the table's view, wide enough for its header
// and each of its cells.
void CheckEveryColumnShows(const QTableWidget* table) {
    const QHeaderView* header = table->horizontalHeader();
    const QFontMetrics headerMetrics(header->font());
    const QFontMetrics cellMetrics(table->font());
    QVERIFY(!table->horizontalScrollBar()->isVisible());
    for (int col = 0; col < table->columnCount(); ++col) {
        const QString caption = table->horizontalHeaderItem(col)->text();
        const int right = header->sectionViewportPosition(col) + header->sectionSize(col);
        QVERIFY2(
            header->sectionViewportPosition(col) >= 0 && right <= table->viewport()->width(),
            qPrintable(QStringLiteral("%1 ends at %2 of %3").arg(caption).arg(right).arg(table->viewport()->width())));
        QVERIFY2(header->sectionSize(col) >= WidthOf(headerMetrics, caption), qPrintable(caption));
        for (int row = 0; row < table->rowCount(); ++row) {
            const QTableWidgetItem* item = table->item(row, col);
            if (!item) continue;
            QVERIFY2(header->sectionSize(col) >= cellMetrics.horizontalAdvance(item->text()), qPrintable(item->text()));
        }
    }
    // And every row.
    const QHeaderView* rows = table->verticalHeader();
    QVERIFY(rows->sectionViewportPosition(table->rowCount() - 1) + rows->sectionSize(table->rowCount() - 1) <=
            table->viewport()->height());
}

// The names of a chart laid out in a square of this side: whole and at
// least the legible size.
void CheckNamesLegible(const ChartPicture& picture, ChartStyle style, double side, const QString& what) {
    const QRectF area(0, 0, side, side);
    const QList<ChartText> texts = velmora::report::LayoutChart(area, style, picture, QApplication::font());
    int names = 0;
    for (const ChartText& text : texts) {
        if (text.kind != ChartText::Kind::Body && text.kind != ChartText::Kind::Marker) continue;
        ++names;
        const QString where = QStringLiteral("%1 at %2 px: %3").arg(what).arg(side).arg(text.text);
        QVERIFY2(text.font.pixelSize() >= velmora::report::kLegibleChartPixels, qPrintable(where));
        QVERIFY2(!text.text.contains(QChar(0x2026)), qPrintable(where));
        QVERIFY2(
            text.rect.width() <= velmora::report::BoxRect(style, text.sign, area, picture.ascendantSign).width() + 0.5,
            qPrintable(where));
    }
    int given = 0;
    for (std::size_t sign = 0; sign < 12; ++sign)
        given += static_cast<int>(picture.bodies[sign].size() + picture.markers[sign].size());
    QCOMPARE(names, given);
}

}  // namespace

class TabFittingTest : public QObject {
    Q_OBJECT

private slots:
    void thePreciseComparisonKeepsTheWindowsWidthAndEveryDigit() {
        Shown formulas(velmora::core::EphemerisMode::Formulas);
        Shown precise(velmora::core::EphemerisMode::Precise);
        QVERIFY(precise.analysis.Comparison.has_value());
        QCOMPARE(precise.window.width(), formulas.window.width());
        precise.showTab("tabPlanets");
        for (int i = 0; i < 10; ++i) {
            for (const QString& name :
                 {QStringLiteral("planet_%1"), QStringLiteral("lblFormula_%1"), QStringLiteral("lblDifference_%1")}) {
                const auto* label = precise.window.findChild<QLabel*>(name.arg(i));
                QVERIFY(label && label->isVisible());
                QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                         qPrintable(label->text()));
            }
        }
        // The widest sign, whatever the chart holds.
        const auto* position = precise.window.findChild<QLabel*>(QStringLiteral("planet_0"));
        QVERIFY(position->minimumWidth() >= position->fontMetrics().horizontalAdvance(QStringLiteral("21 Gem 05")));
    }

    void theProfileOfEverySignShowsEveryValueWhole() {
        Shown shown(velmora::core::EphemerisMode::Formulas);
        shown.showTab("tabProfile");
        for (int sign = 1; sign <= 12; ++sign) {
            velmora::core::DisplayTexts texts;
            texts.ProfileShown = true;
            texts.Profile = velmora::core::ProfileTexts(*velmora::analysis::ProfileOf(sign));
            shown.window.ShowProfile(texts);
            QApplication::processEvents();
            for (std::size_t i = 0; i < velmora::ui::kProfileControlNames.size(); ++i) {
                const auto* value =
                    shown.window.findChild<QLabel*>(velmora::testing::Q(velmora::ui::kProfileControlNames[i]));
                if (!value) continue;  // the five character texts are scrolling boxes
                const QString where = QStringLiteral("sign %1: %2").arg(sign).arg(value->text());
                QVERIFY2(value->isVisible(), qPrintable(where));
                QVERIFY2(value->height() >= value->heightForWidth(value->width()), qPrintable(where));
                QVERIFY2(value->width() >= value->minimumSizeHint().width(), qPrintable(where));
            }
        }
    }

    void theTablesOfTheAddedTabsShowEveryColumn() {
        for (const auto mode : {velmora::core::EphemerisMode::Formulas, velmora::core::EphemerisMode::Precise}) {
            Shown shown(mode);
            shown.showTab("tabCharts");
            CheckEveryColumnShows(shown.window.findChild<QTableWidget*>(QStringLiteral("tblPadas")));
            shown.showTab("tabToday");
            CheckEveryColumnShows(shown.window.findChild<QTableWidget*>(QStringLiteral("tblTransits")));
        }
    }

    void chartNamesStayLegibleAtTheSizesTheTabsGive() {
        Shown shown(velmora::core::EphemerisMode::Formulas);
        shown.showTab("tabCharts");
        const auto* birth = shown.window.findChild<velmora::ui::ChartWidget*>(QStringLiteral("chtBirth"));
        shown.showTab("tabToday");
        const auto* today = shown.window.findChild<velmora::ui::ChartWidget*>(QStringLiteral("chtTransits"));
        const velmora::core::BirthAnalysis& a = shown.analysis;
        QVERIFY(a.Transits);
        const struct {
            const char* What;
            ChartPicture Picture;
            double Side;
        } charts[] = {
            {"birth chart", velmora::report::BirthPicture(a), std::min(birth->width(), birth->height()) * 1.0},
            {"birth chart, smallest", velmora::report::BirthPicture(a), birth->minimumWidth() * 1.0},
            {"navamsa", velmora::report::NavamsaPicture(a), birth->minimumWidth() * 1.0},
            {"today", velmora::report::TransitPicture(a, *a.Transits), std::min(today->width(), today->height()) * 1.0},
            {"today, smallest", velmora::report::TransitPicture(a, *a.Transits), today->minimumWidth() * 1.0},
        };
        for (const auto& chart : charts)
            for (ChartStyle style : {ChartStyle::SouthIndian, ChartStyle::NorthIndian})
                CheckNamesLegible(chart.Picture, style, chart.Side, QString::fromLatin1(chart.What));

        // A narrow side box of the North Indian chart holding three bodies,
        // at the smallest size: abbreviations rather than specks; the same
        // with two transits beside them in the Today tab's chart as it opens.
        ChartPicture crowded;
        crowded.ascendantSign = 1;
        crowded.bodies[4] << QStringLiteral("Mars") << QStringLiteral("Jupiter (R)") << QStringLiteral("Rahu");
        const double smallest = birth->minimumWidth();
        CheckNamesLegible(crowded, ChartStyle::NorthIndian, smallest, QStringLiteral("three bodies"));
        QStringList shownTexts;
        for (const ChartText& text : velmora::report::LayoutChart(
                 QRectF(0, 0, smallest, smallest), ChartStyle::NorthIndian, crowded, QApplication::font()))
            if (text.sign == 5 && text.kind == ChartText::Kind::Body) shownTexts << text.text;
        QCOMPARE(shownTexts, (QStringList{"Ma", "Ju (R)", "Ra"}));
        crowded.markers[4] << QStringLiteral("t Mars") << QStringLiteral("t Jupiter");
        CheckNamesLegible(crowded, ChartStyle::NorthIndian, std::min(today->width(), today->height()),
                          QStringLiteral("with transits"));
    }

    void abbreviationsKeepTheTransitAndRetrogradeMarks() {
        const struct {
            const char* Label;
            const char* Short;
        } cases[] = {{"Sun", "Su"},
                     {"Moon", "Mo"},
                     {"Mercury (R)", "Me (R)"},
                     {"Venus", "Ve"},
                     {"Mars", "Ma"},
                     {"Jupiter (R) ", "Ju (R) "},
                     {"Saturn", "Sa"},
                     {"Rahu", "Ra"},
                     {"Ketu", "Ke"},
                     {"Asc", "As"},
                     {"t Saturn (R)", "t Sa (R)"},
                     {"t Moon", "t Mo"},
                     {"AL", "AL"},
                     {"A10", "A10"},
                     {"Marsh", "Marsh"}};
        for (const auto& c : cases)
            QCOMPARE(velmora::report::ShortChartLabel(QString::fromLatin1(c.Label)), QString::fromLatin1(c.Short));
    }
};

QTEST_MAIN(TabFittingTest)
#include "tab_fitting_test.moc"
