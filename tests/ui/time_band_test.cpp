// The birth-time band on the Charts tab across a change of the clocks: a
// repeated hour drawn twice, first showing then second, and the clock times
// that never came kept as a hatched gap; the times and names under the strip
// readable at any width.

#include <QApplication>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

#include "core/atlas.h"
#include "core/pipeline.h"
#include "core/place_zone.h"
#include "core/time_scan.h"
#include "ui/links.h"
#include "ui/recording_platform.h"
#include "ui/result_window.h"
#include "ui/time_band.h"

using velmora::ClockReading;
using velmora::core::ScanRun;
using velmora::core::SensitivityScan;
using velmora::testing::RecordingOpener;
using velmora::ui::Links;
using velmora::ui::ResultWindow;
using velmora::ui::TimeBand;
using Mark = TimeBand::Mark;

namespace {

constexpr const char* kNewYork = "New York, New York, United States of America";
constexpr const char* kAugusta = "Augusta, Georgia, United States of America";

// A birth at an atlas place, analysed as the input window asks for it: with
// the birth-time band, the place's clock governing every minute of it.
velmora::core::BirthAnalysis AnalysedAt(const char* place, const ClockReading& clock) {
    velmora::core::FormInput form;
    form.Name = "CLOCKS";
    form.Year = std::to_string(clock.Year);
    form.MonthIndex = clock.Month - 1;
    form.Day = std::to_string(clock.Day);
    form.Hour = std::to_string(clock.Hour);
    form.Minute = std::to_string(clock.Minute);
    const std::optional<velmora::core::Place> found = velmora::core::Atlas::Instance().Find(place);
    if (!found) qFatal("the atlas has no %s", place);
    velmora::core::ApplyPlace(form, *found);
    velmora::core::AnalysisOptions options;
    options.ScanBirthTime = true;
    const velmora::core::AnalysisOutcome outcome = velmora::core::RunAnalysis(form, options);
    if (outcome.Rejected) qFatal("the birth at %s was refused", place);
    return outcome.Result;
}

// The result window showing the birth, its Charts tab open.
struct Shown {
    RecordingOpener opener;
    Links links{opener};
    velmora::core::BirthAnalysis analysis;
    ResultWindow window{links};

    explicit Shown(velmora::core::BirthAnalysis shown) : analysis(std::move(shown)) {
        window.ShowResult(analysis);
        window.findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(3);
    }
    TimeBand* band() const { return window.findChild<TimeBand*>(QStringLiteral("wgtTimeBand")); }
};

std::size_t RunsOf(const velmora::core::SensitivitySegment& segment) {
    return static_cast<std::size_t>(segment.ToOffset - segment.FromOffset + 1);
}

bool Near(double a, double b) { return qAbs(a - b) < 0.01; }

// What every drawing keeps, whatever the clocks did: the pieces follow the
// scan's time order left to right without overlapping, each as wide as its
// minutes; the stretches that never came sit between them, as wide as
// theirs; the times under the strip and the names under them do not run
// into one another and stay inside the band.
void CheckDrawing(const TimeBand::Drawing& drawing, const SensitivityScan& scan, const QRectF& area,
                  const QFont& font) {
    QCOMPARE(drawing.pieces.size(), static_cast<qsizetype>(scan.Segments.size()));
    const double column = drawing.pieces.first().rect.width() / static_cast<double>(RunsOf(scan.Segments.front()));
    QVERIFY(column > 0);
    // The pieces and the gaps in the order they are drawn, left to right.
    QList<QRectF> tiles;
    for (qsizetype i = 0; i < drawing.pieces.size(); ++i) {
        const TimeBand::Piece& piece = drawing.pieces[i];
        const velmora::core::SensitivitySegment& segment = scan.Segments[static_cast<std::size_t>(i)];
        QVERIFY2(Near(piece.rect.width(), column * static_cast<double>(RunsOf(segment))), qPrintable(piece.toolTip));
        QCOMPARE(piece.repeated, segment.FromRepeated);
        QCOMPARE(piece.toolTip.contains(QStringLiteral("(repeated)")), segment.FromRepeated);
        if (i > 0) QVERIFY2(piece.rect.left() >= drawing.pieces[i - 1].rect.right() - 0.01, qPrintable(piece.toolTip));
        tiles << piece.rect;
    }
    for (const Mark& mark : drawing.marks) {
        if (mark.kind != Mark::Kind::NeverCame) continue;
        tiles << mark.span;
    }
    std::sort(tiles.begin(), tiles.end(), [](const QRectF& a, const QRectF& b) { return a.left() < b.left(); });
    double covered = 0;
    for (qsizetype i = 0; i < tiles.size(); ++i) {
        QVERIFY(tiles[i].width() > 0);
        if (i > 0) QVERIFY(tiles[i].left() >= tiles[i - 1].right() - 0.01);
        covered += tiles[i].width();
    }
    // Nothing beyond the entry range here: the tiles fill the strip.
    QVERIFY(Near(tiles.first().left(), drawing.strip.left()));
    QVERIFY(Near(tiles.last().right(), drawing.strip.right()));
    QVERIFY(Near(covered, drawing.strip.width()));
    std::size_t columns = scan.Runs.size();
    for (const velmora::core::MinuteSpan& gap : scan.Gaps)
        columns += static_cast<std::size_t>(gap.ToOffset - gap.FromOffset + 1);
    QVERIFY(Near(column * static_cast<double>(columns), drawing.strip.width()));

    // The times: in order, apart, inside the band, under the strip.
    QVERIFY(drawing.ticks.size() >= 2);
    for (qsizetype i = 0; i < drawing.ticks.size(); ++i) {
        const TimeBand::Tick& tick = drawing.ticks[i];
        QVERIFY(!tick.text.isEmpty());
        QVERIFY(area.contains(tick.textRect));
        QVERIFY(tick.textRect.top() >= drawing.strip.bottom());
        if (i > 0) QVERIFY2(tick.textRect.left() >= drawing.ticks[i - 1].textRect.right() + 6, qPrintable(tick.text));
    }
    // The names: each within its stretch, apart, in a row of their own.
    for (qsizetype i = 0; i < drawing.marks.size(); ++i) {
        const Mark& mark = drawing.marks[i];
        QVERIFY(Near(mark.labelRect.left(), mark.span.left()) && Near(mark.labelRect.width(), mark.span.width()));
        QVERIFY(area.contains(mark.labelRect));
        QVERIFY(!mark.toolTip.isEmpty());
        QVERIFY(QFontMetricsF(font).horizontalAdvance(mark.label) <= mark.labelRect.width());
        for (const TimeBand::Tick& tick : drawing.ticks) QVERIFY(mark.labelRect.top() >= tick.textRect.bottom());
        if (i > 0) QVERIFY(mark.span.left() >= drawing.marks[i - 1].span.right() - 0.01);
    }
}

// The marks of one kind.
QList<Mark> MarksOf(const TimeBand::Drawing& drawing, Mark::Kind kind) {
    QList<Mark> found;
    for (const Mark& mark : drawing.marks)
        if (mark.kind == kind) found << mark;
    return found;
}

// The time written at an x, if any.
QString TimeAt(const TimeBand::Drawing& drawing, double x) {
    for (const TimeBand::Tick& tick : drawing.ticks)
        if (Near(tick.x, x)) return tick.text;
    return {};
}

// The piece under an x.
const TimeBand::Piece* PieceAt(const TimeBand::Drawing& drawing, double x) {
    for (const TimeBand::Piece& piece : drawing.pieces)
        if (piece.rect.left() <= x && x < piece.rect.right()) return &piece;
    return nullptr;
}

}  // namespace

class TimeBandTest : public QObject {
    Q_OBJECT

private slots:
    void aRepeatedHourIsDrawnTwiceFirstShowingThenSecond() {
        // New York's clocks went back from 02:00 EDT to 01:00 EST on
        // 7 November 2021: the window 23:30 .. 03:30 holds 01:00 .. 01:59
        // twice.
        Shown shown(AnalysedAt(kNewYork, {2021, 11, 7, 1, 30}));
        TimeBand* band = shown.band();
        QVERIFY(band);
        const SensitivityScan& scan = band->scan();
        QVERIFY(scan.Ok);
        QCOMPARE(scan.Runs.size(), 241u + 60u);
        QVERIFY(TimeBand::HasMarks(scan));
        // A row more than the band of a birth with no change of the clocks.
        const int line = band->fontMetrics().lineSpacing();
        QCOMPARE(band->sizeHint().height(), 6 * line + 20);

        for (const int width : {1280, 720, 320}) {
            const QRectF area(0, 0, width, band->sizeHint().height());
            const TimeBand::Drawing drawing = TimeBand::Layout(area, scan, band->font());
            CheckDrawing(drawing, scan, area, band->font());
            if (QTest::currentTestFailed()) return;

            // The first showing, then the second, side by side.
            const QList<Mark> first = MarksOf(drawing, Mark::Kind::FirstShowing);
            const QList<Mark> second = MarksOf(drawing, Mark::Kind::SecondShowing);
            QCOMPARE(first.size(), 1);
            QCOMPARE(second.size(), 1);
            QVERIFY(MarksOf(drawing, Mark::Kind::NeverCame).isEmpty());
            QVERIFY(Near(first[0].span.right(), second[0].span.left()));
            QVERIFY(Near(first[0].span.width(), second[0].span.width()));
            QVERIFY(first[0].toolTip.contains(QStringLiteral("01:00 to 01:59")));
            QVERIFY(first[0].toolTip.contains(QStringLiteral("UTC-04:00")));
            QVERIFY(second[0].toolTip.contains(QStringLiteral("UTC-05:00")));
            if (width == 1280) {
                QCOMPARE(first[0].label, QStringLiteral("01:00–01:59 (first)"));
                QCOMPARE(second[0].label, QStringLiteral("01:00–01:59 (repeated)"));
            }
            QVERIFY(!second[0].label.isEmpty());
            // Every piece of the second showing lies under its mark, right of
            // every piece of the first.
            for (const TimeBand::Piece& piece : drawing.pieces) {
                const bool underSecond = piece.rect.left() >= second[0].span.left() - 0.01 &&
                                         piece.rect.right() <= second[0].span.right() + 0.01;
                QCOMPARE(piece.repeated, underSecond);
            }
            // The entered 01:30 is its first showing, as the form reads it.
            QVERIFY(first[0].span.left() < drawing.markerX && drawing.markerX < first[0].span.right());
            const TimeBand::Piece* entered = PieceAt(drawing, drawing.markerX);
            QVERIFY(entered && !entered->repeated);
            QCOMPARE(entered->ascendantSign, shown.analysis.Chart.AscendantSign);
            // Both showings' starts are written under the strip where there is room.
            QCOMPARE(TimeAt(drawing, second[0].span.left()), QStringLiteral("01:00"));
            if (width == 1280) QCOMPARE(TimeAt(drawing, first[0].span.left()), QStringLiteral("01:00"));
        }
    }

    void aRepeatedHourAtTheStartOfTheWindowKeepsItsOrder() {
        // Born 03:30 that night: the window opens at 01:30, first showing.
        Shown shown(AnalysedAt(kNewYork, {2021, 11, 7, 3, 30}));
        const TimeBand* band = shown.band();
        const SensitivityScan& scan = band->scan();
        const QRectF area(0, 0, 720, band->sizeHint().height());
        const TimeBand::Drawing drawing = TimeBand::Layout(area, scan, band->font());
        CheckDrawing(drawing, scan, area, band->font());
        if (QTest::currentTestFailed()) return;
        const QList<Mark> first = MarksOf(drawing, Mark::Kind::FirstShowing);
        const QList<Mark> second = MarksOf(drawing, Mark::Kind::SecondShowing);
        QCOMPARE(first.size(), 1);
        QCOMPARE(second.size(), 1);
        QVERIFY(Near(first[0].span.left(), drawing.strip.left()));
        QVERIFY(Near(first[0].span.right(), second[0].span.left()));
        QVERIFY(first[0].toolTip.contains(QStringLiteral("01:30 to 01:59")));
        QVERIFY(second[0].span.right() < drawing.markerX);
    }

    void theHourThatNeverCameIsAGapBetweenItsNeighbours() {
        // Augusta's clocks went from 02:00 EST to 03:00 EDT on 14 March 2021.
        Shown shown(AnalysedAt(kAugusta, {2021, 3, 14, 3, 30}));
        TimeBand* band = shown.band();
        const SensitivityScan& scan = band->scan();
        QCOMPARE(scan.Gaps.size(), 1u);
        QCOMPARE(band->sizeHint().height(), 6 * band->fontMetrics().lineSpacing() + 20);
        for (const int width : {1280, 720, 320}) {
            const QRectF area(0, 0, width, band->sizeHint().height());
            const TimeBand::Drawing drawing = TimeBand::Layout(area, scan, band->font());
            CheckDrawing(drawing, scan, area, band->font());
            if (QTest::currentTestFailed()) return;
            const QList<Mark> gaps = MarksOf(drawing, Mark::Kind::NeverCame);
            QCOMPARE(gaps.size(), 1);
            QCOMPARE(drawing.marks.size(), 1);
            // Between the piece that ends at 01:59 and the one from 03:00.
            const TimeBand::Piece* before = PieceAt(drawing, gaps[0].span.left() - 0.5);
            const TimeBand::Piece* after = PieceAt(drawing, gaps[0].span.right() + 0.5);
            QVERIFY(before && after);
            QVERIFY(Near(before->rect.right(), gaps[0].span.left()));
            QVERIFY(Near(after->rect.left(), gaps[0].span.right()));
            QVERIFY(!PieceAt(drawing, gaps[0].span.center().x()));
            QVERIFY(before->toolTip.contains(QStringLiteral("to 01:59")));
            QVERIFY(after->toolTip.contains(QStringLiteral("Born 03:00")));
            if (width == 1280) QCOMPARE(gaps[0].label, QStringLiteral("02:00–02:59 never came"));
            // The times either side of the gap.
            QCOMPARE(TimeAt(drawing, gaps[0].span.right()), QStringLiteral("03:00"));
            if (width >= 720) QCOMPARE(TimeAt(drawing, gaps[0].span.left()), QStringLiteral("02:00"));
            QVERIFY(!gaps[0].label.isEmpty());
            QVERIFY(gaps[0].toolTip.contains(QStringLiteral("02:00 to 02:59 never came")));
        }

        // Painted hatched: neither the colour of a piece nor the plain strip.
        band->resize(720, band->sizeHint().height());
        const QImage image = band->grab().toImage();
        const TimeBand::Drawing drawing = TimeBand::Layout(QRectF(band->rect()), scan, band->font());
        const QRectF gap = MarksOf(drawing, Mark::Kind::NeverCame).first().span;
        const QColor base = band->palette().color(QPalette::Base);
        int hatched = 0, plain = 0;
        const int y = static_cast<int>(gap.top()) + 4;
        for (int x = static_cast<int>(gap.left()) + 2; x < static_cast<int>(gap.right()) - 2; ++x) {
            const QColor pixel(image.pixel(x, y));
            if (pixel == base)
                ++plain;
            else if (pixel.red() == pixel.green() && pixel.green() == pixel.blue())
                ++hatched;
        }
        QVERIFY2(hatched > 5 && plain > 5, qPrintable(QStringLiteral("%1 hatched, %2 plain").arg(hatched).arg(plain)));
    }

    void aGapAtTheStartOfTheWindowTakesItsPlaceThere() {
        // Born 04:30: the window opens at 02:30, which never came.
        Shown shown(AnalysedAt(kAugusta, {2021, 3, 14, 4, 30}));
        const TimeBand* band = shown.band();
        const SensitivityScan& scan = band->scan();
        QCOMPARE(scan.Gaps.size(), 1u);
        const QRectF area(0, 0, 720, band->sizeHint().height());
        const TimeBand::Drawing drawing = TimeBand::Layout(area, scan, band->font());
        CheckDrawing(drawing, scan, area, band->font());
        if (QTest::currentTestFailed()) return;
        const QList<Mark> gaps = MarksOf(drawing, Mark::Kind::NeverCame);
        QCOMPARE(gaps.size(), 1);
        QVERIFY(Near(gaps[0].span.left(), drawing.strip.left()));
        QVERIFY(Near(gaps[0].span.right(), drawing.pieces.first().rect.left()));
        // The entered minute keeps the middle of the window.
        QVERIFY(Near(drawing.markerX, drawing.strip.left() + 120.5 / 241 * drawing.strip.width()));
    }
};

QTEST_MAIN(TimeBandTest)
#include "time_band_test.moc"
