#include "ui/time_band.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <set>
#include <vector>

#include "core/period_texts.h"
#include "core/text_formats.h"
#include "report/qt_text.h"

namespace velmora::ui {

namespace {

QString Sign(int sign) { return report::ToQString(SignNameOf(sign)); }
QString Time(const ClockReading& minute) { return report::ToQString(core::ClockTimeText(minute)); }
QString Offset(int utcOffsetSeconds) { return report::ToQString(core::OffsetText(utcOffsetSeconds / 60)); }

// The columns of the strip, one for each minute of the window in time
// order: a clock reading the clocks showed twice has two, one that never
// came keeps its own (empty), and so does a minute beyond the entry range.
struct Columns {
    int count = 1;
    std::vector<int> ofRun;  // the column of each run
    std::vector<int> ofGap;  // the column of the first reading of each gap

    explicit Columns(const core::SensitivityScan& scan) {
        const std::vector<core::ScanRun>& runs = scan.Runs;
        if (runs.empty()) return;
        ofRun.reserve(runs.size());
        ofGap.assign(scan.Gaps.size(), -1);
        int column = scan.FirstOffset + scan.WindowMinutes;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const int skipped = i == 0 ? 0 : runs[i].Offset - runs[i - 1].Offset - 1;
            if (skipped > 0) {  // readings that never came, where the clocks jumped
                for (std::size_t g = 0; g < scan.Gaps.size(); ++g)
                    if (scan.Gaps[g].FromOffset == runs[i - 1].Offset + 1) ofGap[g] = column;
                column += skipped;
            }
            ofRun.push_back(column++);
        }
        count = column + scan.WindowMinutes - scan.LastOffset;
        // A gap at either end of the window, beyond every run.
        for (std::size_t g = 0; g < scan.Gaps.size(); ++g) {
            if (ofGap[g] >= 0) continue;
            const core::MinuteSpan& gap = scan.Gaps[g];
            ofGap[g] = gap.ToOffset < scan.FirstOffset ? gap.FromOffset + scan.WindowMinutes
                                                       : ofRun.back() + gap.FromOffset - scan.LastOffset;
        }
    }
};

// The x of the left edge of a column; the last column ends at the strip's
// right edge.
double EdgeX(const QRectF& strip, const Columns& columns, double column) {
    return strip.left() + column / columns.count * strip.width();
}

// The longest of the texts that fits the width, or nothing.
QString Fitting(const QStringList& texts, double width, const QFontMetricsF& metrics) {
    for (const QString& text : texts)
        if (metrics.horizontalAdvance(text) + 6 <= width) return text;
    return {};
}

QFont BoldOf(QFont font) {
    font.setBold(true);
    return font;
}

// Runs of consecutive scan entries for which `inside` holds, as index pairs.
template <class Inside>
std::vector<std::pair<std::size_t, std::size_t>> Stretches(const std::vector<core::ScanRun>& runs, Inside inside) {
    std::vector<std::pair<std::size_t, std::size_t>> found;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (!inside(runs[i])) continue;
        if (!found.empty() && found.back().second + 1 == i)
            found.back().second = i;
        else
            found.emplace_back(i, i);
    }
    return found;
}

QRectF StripOf(const QRectF& area, const QFont& font, bool marked) {
    const double line = QFontMetricsF(font).lineSpacing();
    return area.adjusted(4, line + 4, -4, -(line + 6) - (marked ? line + 4 : 0));
}

}  // namespace

TimeBand::TimeBand(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMouseTracking(true);
}

void TimeBand::setScan(const core::SensitivityScan& scan) {
    scan_ = scan;
    updateGeometry();
    update();
}

QSize TimeBand::sizeHint() const {
    const int line = QFontMetrics(font()).lineSpacing();
    return {640, line * 5 + 16 + (HasMarks(scan_) ? line + 4 : 0)};
}

QSize TimeBand::minimumSizeHint() const {
    const int line = QFontMetrics(font()).lineSpacing();
    return {240, line * 5 + 16 + (HasMarks(scan_) ? line + 4 : 0)};
}

bool TimeBand::HasMarks(const core::SensitivityScan& scan) {
    return scan.Ok && !scan.Runs.empty() &&
           (!scan.Gaps.empty() ||
            std::any_of(scan.Runs.begin(), scan.Runs.end(), [](const core::ScanRun& run) { return run.Repeated; }));
}

TimeBand::Drawing TimeBand::Layout(const QRectF& area, const core::SensitivityScan& scan, const QFont& font) {
    Drawing drawing;
    const bool marked = HasMarks(scan);
    drawing.strip = StripOf(area, font, marked);
    if (!scan.Ok || scan.Segments.empty() || scan.Runs.empty()) return drawing;
    const QRectF strip = drawing.strip;
    const Columns columns(scan);
    const QFontMetricsF metrics(font);
    const QFontMetricsF boldMetrics(BoldOf(font));
    const auto columnRect = [&](int first, int last) {
        return QRectF(QPointF(EdgeX(strip, columns, first), strip.top()),
                      QPointF(EdgeX(strip, columns, last + 1), strip.bottom()));
    };

    // The segments: each holds consecutive runs, one per minute of one showing.
    std::size_t run = 0;
    for (const core::SensitivitySegment& segment : scan.Segments) {
        const std::size_t last = run + static_cast<std::size_t>(segment.ToOffset - segment.FromOffset);
        Piece piece;
        piece.rect = columnRect(columns.ofRun[run], columns.ofRun[std::min(last, scan.Runs.size() - 1)]);
        piece.ascendantSign = segment.AscendantSign;
        piece.arudhaLagnaSign = segment.ArudhaLagnaSign;
        piece.repeated = segment.FromRepeated;
        const QString arudha = Sign(segment.ArudhaLagnaSign);
        piece.label =
            Fitting({QStringLiteral("AL ") + arudha, arudha, arudha.left(3)}, piece.rect.width(), boldMetrics);
        const QString ascendant = Sign(segment.AscendantSign);
        piece.ascendantLabel =
            Fitting({QStringLiteral("Asc ") + ascendant, ascendant, ascendant.left(3)}, piece.rect.width(), metrics);
        piece.toolTip = QStringLiteral("Born %1 to %2: ascendant %3, Arudha Lagna %4")
                            .arg(report::ToQString(ScanTimeText(scan, segment.From, segment.FromRepeated)),
                                 report::ToQString(ScanTimeText(scan, segment.To, segment.ToRepeated)),
                                 Sign(segment.AscendantSign), arudha);
        drawing.pieces << piece;
        run = last + 1;
    }

    const std::size_t entered =
        static_cast<std::size_t>(std::find_if(scan.Runs.begin(), scan.Runs.end(),
                                              [](const core::ScanRun& r) { return r.Offset == 0 && !r.Repeated; }) -
                                 scan.Runs.begin());
    drawing.markerX = EdgeX(strip, columns, columns.ofRun[std::min(entered, scan.Runs.size() - 1)] + 0.5);

    // The row of marks under the times, when the clocks changed; where a
    // first showing or a stretch that never came begins gets its time too.
    std::vector<std::pair<double, ClockReading>> markStarts;
    const double markTop = strip.bottom() + 4 + metrics.lineSpacing() + 4;
    const auto addMark = [&](Mark::Kind kind, const QRectF& span, const QStringList& labels, const QString& toolTip) {
        Mark mark;
        mark.kind = kind;
        mark.span = span;
        mark.labelRect = QRectF(span.left(), markTop, span.width(), metrics.lineSpacing());
        mark.label = Fitting(labels, span.width(), metrics);
        mark.toolTip = toolTip;
        drawing.marks << mark;
    };
    const auto showing = [&](Mark::Kind kind, std::size_t first, std::size_t last) {
        const core::ScanRun& from = scan.Runs[first];
        const core::ScanRun& to = scan.Runs[last];
        const QString times = Time(from.Local) + QChar(0x2013) + Time(to.Local);
        const QString span = QStringLiteral("%1 to %2").arg(Time(from.Local), Time(to.Local));
        const QRectF rect = columnRect(columns.ofRun[first], columns.ofRun[last]);
        if (kind == Mark::Kind::SecondShowing) {
            addMark(kind, rect,
                    {times + QStringLiteral(" (repeated)"), QStringLiteral("(repeated)"), QStringLiteral("2nd")},
                    QStringLiteral("%1 again, after the clocks went back (UTC%2): marked (repeated)")
                        .arg(span, Offset(from.UtcOffsetSeconds)));
            return;
        }
        markStarts.emplace_back(rect.left(), from.Local);
        addMark(kind, rect, {times + QStringLiteral(" (first)"), QStringLiteral("(first)"), QStringLiteral("1st")},
                QStringLiteral("%1 for the first time, before the clocks went back (UTC%2)")
                    .arg(span, Offset(from.UtcOffsetSeconds)));
    };
    std::set<int> twice;  // the offsets of the readings that came twice
    for (const core::ScanRun& r : scan.Runs)
        if (r.Repeated) twice.insert(r.Offset);
    for (const auto& [first, last] :
         Stretches(scan.Runs, [&](const core::ScanRun& r) { return !r.Repeated && twice.count(r.Offset) > 0; }))
        showing(Mark::Kind::FirstShowing, first, last);
    for (const auto& [first, last] : Stretches(scan.Runs, [](const core::ScanRun& r) { return r.Repeated; }))
        showing(Mark::Kind::SecondShowing, first, last);
    for (std::size_t g = 0; g < scan.Gaps.size(); ++g) {
        const core::MinuteSpan& gap = scan.Gaps[g];
        const int first = columns.ofGap[g];
        markStarts.emplace_back(EdgeX(strip, columns, first), gap.From);
        addMark(Mark::Kind::NeverCame, columnRect(first, first + gap.ToOffset - gap.FromOffset),
                {Time(gap.From) + QChar(0x2013) + Time(gap.To) + QStringLiteral(" never came"),
                 QStringLiteral("never came"), QStringLiteral("gap")},
                QStringLiteral("%1 to %2 never came: the clocks went forward").arg(Time(gap.From), Time(gap.To)));
    }
    std::stable_sort(drawing.marks.begin(), drawing.marks.end(),
                     [](const Mark& a, const Mark& b) { return a.span.left() < b.span.left(); });

    // Times under the strip: the ends, every change, and where a showing of
    // a repeated hour or a stretch that never came begins; skipped where they
    // would run into the one before.
    std::vector<std::pair<double, ClockReading>> starts;
    for (std::size_t i = 0; i < scan.Segments.size(); ++i)
        starts.emplace_back(drawing.pieces[static_cast<qsizetype>(i)].rect.left(), scan.Segments[i].From);
    for (const auto& [x, minute] : markStarts) starts.emplace_back(x, minute);
    std::stable_sort(starts.begin(), starts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    double lastRight = -1e9;
    double lastAt = -1e9;
    const auto tick = [&](double at, const ClockReading& minute, bool alignRight) {
        if (at == lastAt) return;  // one time for each place
        const QString text = Time(minute);
        const double width = metrics.horizontalAdvance(text);
        double left = alignRight ? at - width : at - width / 2;
        left = std::clamp(left, area.left(), area.right() - width);
        if (left < lastRight + 6) return;
        drawing.ticks << Tick{at, QRectF(left, strip.bottom() + 4, width, metrics.lineSpacing()), text};
        lastRight = left + width;
        lastAt = at;
    };
    for (const auto& [x, minute] : starts) tick(x, minute, false);
    tick(drawing.pieces.back().rect.right(), scan.Segments.back().To, true);
    return drawing;
}

QColor TimeBand::SignColour(int sign) {
    // Hues spread round the wheel in an order that keeps neighbouring signs
    // apart, light enough for dark text.
    static constexpr int kHues[12] = {0, 150, 300, 90, 240, 30, 180, 330, 120, 270, 60, 210};
    const int index = std::clamp(sign, 1, 12) - 1;
    return QColor::fromHsv(kHues[index], 70, 245);
}

void TimeBand::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(rect());
    const Drawing drawing = Layout(area, scan_, font());
    const QRectF strip = drawing.strip;
    const QColor ink = palette().color(QPalette::Text);
    painter.fillRect(strip, palette().color(QPalette::Base));

    if (!scan_.Ok || scan_.Segments.empty()) {
        painter.setPen(ink);
        painter.drawText(strip, Qt::AlignCenter, scan_.Ok ? QString() : report::ToQString(scan_.Error));
        return;
    }

    const QFontMetricsF metrics(font());
    const QFont bold = BoldOf(font());
    for (const Piece& piece : drawing.pieces) {
        painter.fillRect(piece.rect, SignColour(piece.ascendantSign));
        painter.setPen(QPen(ink, 1));
        painter.drawLine(piece.rect.topLeft(), piece.rect.bottomLeft());
    }
    // The clock readings that never came: hatched.
    for (const Mark& mark : drawing.marks) {
        if (mark.kind != Mark::Kind::NeverCame) continue;
        painter.fillRect(mark.span, QBrush(QColor(150, 150, 150), Qt::BDiagPattern));
        painter.setPen(QPen(ink, 1));
        painter.drawLine(mark.span.topLeft(), mark.span.bottomLeft());
    }
    // The entered minute: a line through the strip, under the labels.
    const double x = drawing.markerX;
    const QColor markerColour(160, 20, 20);
    painter.setPen(QPen(markerColour, 2));
    painter.drawLine(QPointF(x, strip.top() - 3), QPointF(x, strip.bottom() + 3));
    for (const Piece& piece : drawing.pieces) {
        // The Arudha Lagna over the ascendant, the pair centred.
        const QRectF upper(piece.rect.left(), piece.rect.center().y() - metrics.lineSpacing(), piece.rect.width(),
                           metrics.lineSpacing());
        const QRectF lower = upper.translated(0, metrics.lineSpacing());
        painter.setPen(QColor(20, 20, 20));
        painter.setFont(bold);
        painter.drawText(upper, Qt::AlignCenter, piece.label);
        painter.setFont(font());
        painter.setPen(QColor(70, 70, 70));
        painter.drawText(lower, Qt::AlignCenter, piece.ascendantLabel);
    }
    painter.setFont(font());
    painter.setPen(QPen(ink, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(strip);

    for (const Tick& tick : drawing.ticks) {
        painter.drawLine(QPointF(tick.x, strip.bottom()), QPointF(tick.x, strip.bottom() + 4));
        painter.drawText(tick.textRect, Qt::AlignCenter, tick.text);
    }

    // Each showing of a repeated hour, and each stretch that never came, as a
    // bracket under the times with its name in the middle.
    for (const Mark& mark : drawing.marks) {
        const QRectF row = mark.labelRect;
        const double y = row.center().y();
        // Kept apart from a neighbour that begins where this one ends.
        const double left = row.left() + 2;
        const double right = row.right() - 2;
        painter.setPen(QPen(ink, 1));
        painter.drawLine(QPointF(left, y), QPointF(right, y));
        painter.drawLine(QPointF(left, y - 3), QPointF(left, y + 3));
        painter.drawLine(QPointF(right, y - 3), QPointF(right, y + 3));
        if (mark.label.isEmpty()) continue;
        const double width = metrics.horizontalAdvance(mark.label) + 4;
        const QRectF text(row.center().x() - width / 2, row.top(), width, row.height());
        painter.fillRect(text, palette().color(QPalette::Window));
        painter.drawText(text, Qt::AlignCenter, mark.label);
    }

    // The entered time above its line.
    painter.setPen(markerColour);
    const QString text = QStringLiteral("born %1").arg(Time(scan_.Entered));
    const double width = metrics.horizontalAdvance(text);
    const double left = std::clamp(x - width / 2, area.left(), area.right() - width);
    painter.drawText(QRectF(left, area.top(), width, metrics.lineSpacing()), Qt::AlignCenter, text);
}

bool TimeBand::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const Drawing drawing = Layout(QRectF(rect()), scan_, font());
        QString tip;
        for (const Mark& mark : drawing.marks)
            if (mark.labelRect.contains(help->pos()) ||
                (mark.kind == Mark::Kind::NeverCame && mark.span.contains(help->pos())))
                tip = mark.toolTip;
        for (const Piece& piece : drawing.pieces)
            if (piece.rect.contains(help->pos())) tip = piece.toolTip;
        if (!tip.isEmpty()) {
            QToolTip::showText(help->globalPos(), tip, this);
            return true;
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

}  // namespace velmora::ui
