#include "report/chart_painting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <optional>

#include "model/names.h"

namespace velmora::report {

namespace {

// Grid cell (row, column) of each sign in the South Indian chart, sign index
// order: Pisces, Aries, Taurus, Gemini across the top, clockwise round.
constexpr int kSouthCells[12][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 3}, {2, 3}, {3, 3},
                                    {3, 2}, {3, 1}, {3, 0}, {2, 0}, {1, 0}, {0, 0}};

struct UnitPoint {
    double x, y;
};

// The North Indian houses on a unit square (y down). Corners, side
// midpoints, the centre and the quarter points of the diagonals bound them.
struct NorthHouse {
    int corners;
    UnitPoint outline[4];
    UnitPoint labels[2];  // top left and bottom right of the label box
    UnitPoint number;     // centre of the sign number, near the inner corner
};

constexpr UnitPoint kTL{0, 0}, kTR{1, 0}, kBL{0, 1}, kBR{1, 1};
constexpr UnitPoint kT{0.5, 0}, kL{0, 0.5}, kR{1, 0.5}, kB{0.5, 1}, kC{0.5, 0.5};
constexpr UnitPoint kQtl{0.25, 0.25}, kQtr{0.75, 0.25}, kQbl{0.25, 0.75}, kQbr{0.75, 0.75};

// House order, counter-clockwise from the top centre diamond. A diamond's
// label box is the square inscribed in it; a triangle's a rectangle against
// its outer side: the largest for the wide top and bottom ones, a squarer one
// for the narrow side ones so that a name fits across.
constexpr NorthHouse kNorthHouses[12] = {
    {4, {kT, kQtl, kC, kQtr}, {{0.375, 0.125}, {0.625, 0.375}}, {0.5, 0.425}},
    {3, {kTL, kT, kQtl, {}}, {{0.125, 0.0}, {0.375, 0.125}}, {0.25, 0.19}},
    {3, {kTL, kQtl, kL, {}}, {{0.0, 0.165}, {0.165, 0.335}}, {0.205, 0.25}},
    {4, {kL, kQtl, kC, kQbl}, {{0.125, 0.375}, {0.375, 0.625}}, {0.425, 0.5}},
    {3, {kL, kQbl, kBL, {}}, {{0.0, 0.665}, {0.165, 0.835}}, {0.205, 0.75}},
    {3, {kBL, kQbl, kB, {}}, {{0.125, 0.875}, {0.375, 1.0}}, {0.25, 0.81}},
    {4, {kB, kQbl, kC, kQbr}, {{0.375, 0.625}, {0.625, 0.875}}, {0.5, 0.575}},
    {3, {kB, kQbr, kBR, {}}, {{0.625, 0.875}, {0.875, 1.0}}, {0.75, 0.81}},
    {3, {kBR, kQbr, kR, {}}, {{0.835, 0.665}, {1.0, 0.835}}, {0.795, 0.75}},
    {4, {kR, kQtr, kC, kQbr}, {{0.625, 0.375}, {0.875, 0.625}}, {0.575, 0.5}},
    {3, {kR, kQtr, kTR, {}}, {{0.835, 0.165}, {1.0, 0.335}}, {0.795, 0.25}},
    {3, {kTR, kQtr, kT, {}}, {{0.625, 0.0}, {0.875, 0.125}}, {0.75, 0.19}},
};

int WrapSign(int sign) { return ((sign - 1) % 12 + 12) % 12 + 1; }

QPointF Place(const QRectF& square, UnitPoint p) {
    return {square.left() + p.x * square.width(), square.top() + p.y * square.height()};
}

QRectF SouthCell(const QRectF& square, int sign) {
    const double cell = square.width() / 4;
    const int* rowColumn = kSouthCells[WrapSign(sign) - 1];
    return {square.left() + rowColumn[1] * cell, square.top() + rowColumn[0] * cell, cell, cell};
}

const NorthHouse& NorthHouseOf(int sign, int ascendantSign) {
    return kNorthHouses[HouseOfSign(sign, ascendantSign) - 1];
}

// Text sizes in pixels, from the chart's side.
int BasePixels(double side) { return std::clamp(static_cast<int>(std::lround(side / 26)), kLegibleChartPixels, 30); }
constexpr int kSmallestPixels = 6;

struct LineFit {
    int pixels = kSmallestPixels;
    int columns = 1;
    bool elide = false;
};

// The largest text size from largest down to smallest, and the fewest
// columns at it, that fits the lines into room; nothing when none does.
std::optional<LineFit> FitLinesDownTo(const QStringList& lines, QSizeF room, QFont font, int largest, int smallest) {
    const int count = static_cast<int>(lines.size());
    const int maxColumns = std::min(3, count);
    for (int pixels = largest; pixels >= smallest; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetricsF metrics(font);
        const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
        for (int columns = 1; columns <= maxColumns; ++columns) {
            const int rows = (count + columns - 1) / columns;
            if (rows * metrics.height() > room.height()) continue;
            double width = gap * (columns - 1);
            for (int c = 0; c < columns; ++c) {
                double widest = 0;
                for (int i = c * rows; i < std::min(count, (c + 1) * rows); ++i)
                    widest = std::max(widest, metrics.horizontalAdvance(lines[i]));
                width += widest;
            }
            if (width <= room.width()) return LineFit{pixels, columns, false};
        }
    }
    return std::nullopt;
}

// The largest text size, and the fewest columns at it, that fits the lines
// into room; failing that the smallest size, elided.
LineFit FitLines(const QStringList& lines, QSizeF room, QFont font, int largest) {
    if (const std::optional<LineFit> fit = FitLinesDownTo(lines, room, font, largest, kSmallestPixels)) return *fit;
    const int count = static_cast<int>(lines.size());
    const int maxColumns = std::min(3, count);
    font.setPixelSize(kSmallestPixels);
    const double lineHeight = QFontMetricsF(font).height();
    int columns = 1;
    // Whole lines per column, the last column perhaps short.
    auto linesPerColumn = [&] { return (count + columns - 1) / columns; };
    while (columns < maxColumns && linesPerColumn() * lineHeight > room.height()) ++columns;
    return {kSmallestPixels, columns, true};
}

// Lays one box's lines out in columns, the block centred in room.
void PlaceLines(QList<ChartText>& out, const QList<ChartText>& lines, const QRectF& room, const QFont& baseFont,
                int largest) {
    if (lines.isEmpty()) return;
    QStringList texts;
    for (const ChartText& line : lines) texts << line.text;
    // The full names while they stay legible and near the chart's size;
    // then the body abbreviations ("Ju (R)"), which a small box holds at a
    // legible size where the names would shrink to specks; only past that
    // the smallest size, elided.
    const int legible = std::min(largest, kLegibleChartPixels);
    std::optional<LineFit> fitted =
        FitLinesDownTo(texts, room.size(), baseFont, largest, std::max(legible, largest * 3 / 4));
    if (!fitted) {
        QStringList shortened;
        for (const QString& text : texts) shortened << ShortChartLabel(text);
        fitted = FitLinesDownTo(shortened, room.size(), baseFont, largest, legible);
        if (!fitted) fitted = FitLines(shortened, room.size(), baseFont, largest);
        texts = shortened;
    }
    const LineFit fit = *fitted;
    QFont font = baseFont;
    font.setPixelSize(fit.pixels);
    const QFontMetricsF metrics(font);
    const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
    const int count = static_cast<int>(lines.size());
    const int rows = (count + fit.columns - 1) / fit.columns;

    if (fit.elide) {
        const double width = (room.width() - gap * (fit.columns - 1)) / fit.columns;
        for (QString& text : texts) text = metrics.elidedText(text, Qt::ElideRight, width);
    }
    QList<double> columnWidths;
    double blockWidth = gap * (fit.columns - 1);
    for (int c = 0; c < fit.columns; ++c) {
        double widest = 0;
        for (int i = c * rows; i < std::min(count, (c + 1) * rows); ++i)
            widest = std::max(widest, metrics.horizontalAdvance(texts[i]));
        columnWidths << widest;
        blockWidth += widest;
    }
    const double blockHeight = std::min(count, rows) * metrics.height();
    double x = room.center().x() - blockWidth / 2;
    const double top = room.center().y() - blockHeight / 2;
    for (int c = 0; c < fit.columns; ++c) {
        for (int i = c * rows; i < std::min(count, (c + 1) * rows); ++i) {
            ChartText text = lines[i];
            text.text = texts[i];
            text.font = font;
            const double width = metrics.horizontalAdvance(texts[i]);
            text.rect = QRectF(x + (columnWidths[c] - width) / 2, top + (i - c * rows) * metrics.height(), width,
                               metrics.height());
            out << text;
        }
        x += columnWidths[c] + gap;
    }
}

QColor Mix(const QColor& a, const QColor& b, double share) {
    return QColor::fromRgbF(static_cast<float>(a.redF() * share + b.redF() * (1 - share)),
                            static_cast<float>(a.greenF() * share + b.greenF() * (1 - share)),
                            static_cast<float>(a.blueF() * share + b.blueF() * (1 - share)));
}

}  // namespace

QRectF ChartSquare(const QRectF& area) {
    const double side = std::min(area.width(), area.height());
    const double margin = std::max(1.0, side * 0.015);
    const double inner = std::max(0.0, side - 2 * margin);
    return {area.center().x() - inner / 2, area.center().y() - inner / 2, inner, inner};
}

int HouseOfSign(int sign, int ascendantSign) { return (WrapSign(sign) - WrapSign(ascendantSign) + 12) % 12 + 1; }

QPolygonF BoxOutline(ChartStyle chartStyle, int sign, const QRectF& area, int ascendantSign) {
    const QRectF square = ChartSquare(area);
    if (chartStyle == ChartStyle::SouthIndian) return QPolygonF(SouthCell(square, sign));
    const NorthHouse& house = NorthHouseOf(sign, ascendantSign);
    QPolygonF outline;
    for (int i = 0; i < house.corners; ++i) outline << Place(square, house.outline[i]);
    outline << outline.front();
    return outline;
}

QRectF BoxRect(ChartStyle chartStyle, int sign, const QRectF& area, int ascendantSign) {
    const QRectF square = ChartSquare(area);
    const double padding = square.width() * 0.01;
    if (chartStyle == ChartStyle::SouthIndian)
        return SouthCell(square, sign).adjusted(padding, padding, -padding, -padding);
    const NorthHouse& house = NorthHouseOf(sign, ascendantSign);
    return QRectF(Place(square, house.labels[0]), Place(square, house.labels[1]))
        .adjusted(padding, padding, -padding, -padding);
}

QList<ChartText> LayoutChart(const QRectF& area, ChartStyle chartStyle, const ChartPicture& picture,
                             const QFont& baseFont) {
    QList<ChartText> out;
    const QRectF square = ChartSquare(area);
    if (square.width() < 8) return out;
    const int base = BasePixels(square.width());

    for (int sign = 1; sign <= 12; ++sign) {
        QList<ChartText> lines;
        const auto add = [&](ChartText::Kind kind, const QStringList& texts) {
            for (const QString& text : texts)
                if (!text.trimmed().isEmpty()) lines << ChartText{kind, sign, text.trimmed(), {}, {}};
        };
        add(ChartText::Kind::Body, picture.bodies[static_cast<std::size_t>(sign - 1)]);
        add(ChartText::Kind::Marker, picture.markers[static_cast<std::size_t>(sign - 1)]);
        PlaceLines(out, lines, BoxRect(chartStyle, sign, area, picture.ascendantSign), baseFont, base);
    }

    if (chartStyle == ChartStyle::NorthIndian) {
        QFont font = baseFont;
        font.setPixelSize(std::max(std::min(base, kLegibleChartPixels), base * 4 / 5));
        const QFontMetricsF metrics(font);
        for (int sign = 1; sign <= 12; ++sign) {
            const QString number = QString::number(sign);
            const QSizeF size(metrics.horizontalAdvance(number), metrics.height());
            const QPointF centre = Place(square, NorthHouseOf(sign, picture.ascendantSign).number);
            out << ChartText{ChartText::Kind::SignNumber, sign, number,
                             QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size), font};
        }
    } else if (!picture.title.trimmed().isEmpty()) {
        const double cell = square.width() / 4;
        const QRectF room = QRectF(square.left() + cell, square.top() + cell, 2 * cell, 2 * cell)
                                .adjusted(cell * 0.15, cell * 0.15, -cell * 0.15, -cell * 0.15);
        QFont font = baseFont;
        font.setBold(true);
        int pixels = base * 6 / 5;
        for (; pixels > kSmallestPixels; --pixels) {
            font.setPixelSize(pixels);
            const QRectF needed =
                QFontMetricsF(font).boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, picture.title.trimmed());
            if (needed.width() <= room.width() && needed.height() <= room.height()) break;
        }
        font.setPixelSize(pixels);
        out << ChartText{ChartText::Kind::Title, 0, picture.title.trimmed(), room, font};
    }
    return out;
}

QString ShortChartLabel(const QString& label) {
    static constexpr std::array<const char*, kBodyCount> kAbbreviations{"Su", "Mo", "Me", "Ve", "Ma",
                                                                        "Ju", "Sa", "Ra", "Ke", "As"};
    const QString transit = QStringLiteral("t ");
    const bool isTransit = label.startsWith(transit);
    const QString rest = isTransit ? label.mid(transit.size()) : label;
    for (std::size_t i = 0; i < kBodyCount; ++i) {
        const QString name = QString::fromLatin1(kBodyNames[i].data(), static_cast<qsizetype>(kBodyNames[i].size()));
        if (rest == name || rest.startsWith(name + QLatin1Char(' ')))
            return (isTransit ? transit : QString()) + QLatin1String(kAbbreviations[i]) + rest.mid(name.size());
    }
    return label;
}

QColor MarkerColour(const QPalette& palette) {
    return palette.color(QPalette::Base).lightnessF() < 0.5 ? QColor(255, 171, 64) : QColor(191, 54, 12);
}

void PaintChart(QPainter& painter, const QRectF& area, ChartStyle chartStyle, const ChartPicture& picture,
                const QPalette& palette) {
    const QRectF square = ChartSquare(area);
    if (square.width() < 8) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const QColor ink = palette.color(QPalette::Text);
    painter.fillRect(square, palette.color(QPalette::Base));

    // The ascendant's box, shaded.
    QColor shade = palette.color(QPalette::Highlight);
    shade.setAlphaF(0.18f);
    QPainterPath ascendantBox;
    ascendantBox.addPolygon(BoxOutline(chartStyle, picture.ascendantSign, area, picture.ascendantSign));
    painter.fillPath(ascendantBox, shade);

    QPen pen(ink, std::max(1.0, square.width() / 320));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(square);
    const auto at = [&](double x, double y) { return Place(square, {x, y}); };
    if (chartStyle == ChartStyle::SouthIndian) {
        for (double d : {0.25, 0.75}) {
            painter.drawLine(at(d, 0), at(d, 1));
            painter.drawLine(at(0, d), at(1, d));
        }
        painter.drawLine(at(0.5, 0), at(0.5, 0.25));
        painter.drawLine(at(0.5, 0.75), at(0.5, 1));
        painter.drawLine(at(0, 0.5), at(0.25, 0.5));
        painter.drawLine(at(0.75, 0.5), at(1, 0.5));
        // The ascendant's mark: a diagonal across the box's top left corner.
        const QRectF cell = SouthCell(square, picture.ascendantSign);
        painter.drawLine(cell.topLeft() + QPointF(0, cell.height() * 0.3),
                         cell.topLeft() + QPointF(cell.width() * 0.3, 0));
    } else {
        painter.drawLine(at(0, 0), at(1, 1));
        painter.drawLine(at(1, 0), at(0, 1));
        painter.drawPolygon(QPolygonF({at(0.5, 0), at(0, 0.5), at(0.5, 1), at(1, 0.5)}));
    }

    const QColor marker = MarkerColour(palette);
    const QColor muted = Mix(ink, palette.color(QPalette::Base), 0.6);
    for (const ChartText& text : LayoutChart(area, chartStyle, picture, painter.font())) {
        painter.setFont(text.font);
        switch (text.kind) {
            case ChartText::Kind::Body:
                painter.setPen(ink);
                break;
            case ChartText::Kind::Marker:
                painter.setPen(marker);
                break;
            case ChartText::Kind::SignNumber:
                painter.setPen(muted);
                break;
            case ChartText::Kind::Title:
                painter.setPen(ink);
                break;
        }
        const int flags = text.kind == ChartText::Kind::Title ? Qt::AlignCenter | Qt::TextWordWrap : Qt::AlignCenter;
        painter.drawText(text.rect, flags, text.text);
    }
    painter.restore();
}

}  // namespace velmora::report
