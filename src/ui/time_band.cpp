#include "ui/time_band.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

#include "core/period_texts.h"
#include "core/text_formats.h"
#include "report/qt_text.h"

namespace velmora::ui {

namespace {

QString Sign(int sign) { return report::ToQString(SignNameOf(sign)); }

// The x of the left edge of a minute offset; the last minute ends at the
// strip's right edge.
double EdgeX(const QRectF& strip, const core::SensitivityScan& scan, double offset) {
    const double minutes = 2.0 * scan.WindowMinutes + 1;
    return strip.left() + (offset + scan.WindowMinutes) / minutes * strip.width();
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
    return {640, line * 5 + 16};
}

QSize TimeBand::minimumSizeHint() const {
    const int line = QFontMetrics(font()).lineSpacing();
    return {240, line * 5 + 16};
}

QRectF TimeBand::StripRect(const QRectF& area, const QFont& font) {
    const double line = QFontMetricsF(font).lineSpacing();
    return area.adjusted(4, line + 4, -4, -(line + 6));
}

QList<TimeBand::Piece> TimeBand::Layout(const QRectF& area, const core::SensitivityScan& scan, const QFont& font) {
    QList<Piece> pieces;
    if (!scan.Ok || scan.Segments.empty()) return pieces;
    const QRectF strip = StripRect(area, font);
    const QFontMetricsF metrics(BoldOf(font));
    for (const core::SensitivitySegment& segment : scan.Segments) {
        Piece piece;
        piece.rect = QRectF(QPointF(EdgeX(strip, scan, segment.FromOffset), strip.top()),
                            QPointF(EdgeX(strip, scan, segment.ToOffset + 1), strip.bottom()));
        piece.ascendantSign = segment.AscendantSign;
        piece.arudhaLagnaSign = segment.ArudhaLagnaSign;
        const QString arudha = Sign(segment.ArudhaLagnaSign);
        piece.label = Fitting({QStringLiteral("AL ") + arudha, arudha, arudha.left(3)}, piece.rect.width(), metrics);
        const QString ascendant = Sign(segment.AscendantSign);
        piece.ascendantLabel = Fitting({QStringLiteral("Asc ") + ascendant, ascendant, ascendant.left(3)},
                                       piece.rect.width(), QFontMetricsF(font));
        piece.toolTip =
            QStringLiteral("Born %1 to %2: ascendant %3, Arudha Lagna %4")
                .arg(report::ToQString(ScanTimeText(scan, segment.From)),
                     report::ToQString(ScanTimeText(scan, segment.To)), Sign(segment.AscendantSign), arudha);
        pieces << piece;
    }
    return pieces;
}

double TimeBand::MarkerX(const QRectF& area, const core::SensitivityScan& scan, const QFont& font) {
    return EdgeX(StripRect(area, font), scan, 0.5);
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
    const QRectF strip = StripRect(area, font());
    const QColor ink = palette().color(QPalette::Text);
    painter.fillRect(strip, palette().color(QPalette::Base));

    if (!scan_.Ok || scan_.Segments.empty()) {
        painter.setPen(ink);
        painter.drawText(strip, Qt::AlignCenter, scan_.Ok ? QString() : report::ToQString(scan_.Error));
        return;
    }

    const QFontMetricsF metrics(font());
    const QFont bold = BoldOf(font());
    const QList<Piece> pieces = Layout(area, scan_, font());
    for (const Piece& piece : pieces) {
        painter.fillRect(piece.rect, SignColour(piece.ascendantSign));
        painter.setPen(QPen(ink, 1));
        painter.drawLine(piece.rect.topLeft(), piece.rect.bottomLeft());
    }
    // The entered minute: a line through the strip, under the labels.
    const double x = MarkerX(area, scan_, font());
    const QColor markerColour(160, 20, 20);
    painter.setPen(QPen(markerColour, 2));
    painter.drawLine(QPointF(x, strip.top() - 3), QPointF(x, strip.bottom() + 3));
    for (const Piece& piece : pieces) {
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

    // Times under the strip: the ends and every change, skipped where they
    // would run into the one before.
    double lastRight = -1e9;
    const auto timeLabel = [&](double at, const ClockReading& minute, bool alignRight) {
        const QString text = report::ToQString(core::ClockTimeText(minute));
        const double width = metrics.horizontalAdvance(text);
        double left = alignRight ? at - width : at - width / 2;
        left = std::clamp(left, area.left(), area.right() - width);
        if (left < lastRight + 6) return;
        painter.drawLine(QPointF(at, strip.bottom()), QPointF(at, strip.bottom() + 4));
        painter.drawText(QRectF(left, strip.bottom() + 4, width, metrics.lineSpacing()), Qt::AlignCenter, text);
        lastRight = left + width;
    };
    for (const core::SensitivitySegment& segment : scan_.Segments)
        timeLabel(EdgeX(strip, scan_, segment.FromOffset), segment.From, false);
    timeLabel(EdgeX(strip, scan_, scan_.LastOffset + 1), scan_.Segments.back().To, true);

    // The entered time above its line.
    painter.setPen(markerColour);
    const QString text = QStringLiteral("born %1").arg(report::ToQString(core::ClockTimeText(scan_.Entered)));
    const double width = metrics.horizontalAdvance(text);
    const double left = std::clamp(x - width / 2, area.left(), area.right() - width);
    painter.drawText(QRectF(left, area.top(), width, metrics.lineSpacing()), Qt::AlignCenter, text);
}

bool TimeBand::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        for (const Piece& piece : Layout(QRectF(rect()), scan_, font())) {
            if (piece.rect.contains(help->pos())) {
                QToolTip::showText(help->globalPos(), piece.toolTip, this);
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

}  // namespace velmora::ui
