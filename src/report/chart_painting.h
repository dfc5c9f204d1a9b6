#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPalette>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <array>

class QPainter;

namespace velmora::report {

enum class ChartStyle { SouthIndian, NorthIndian };

// What a chart shows, in sign order: index 0 is Aries, 11 Pisces.
struct ChartPicture {
    QString title;                        // drawn in the middle of the South Indian chart
    int ascendantSign = 1;                // 1..12
    std::array<QStringList, 12> bodies;   // e.g. "Sun", "Mars (R)", "Asc"
    std::array<QStringList, 12> markers;  // e.g. "AL", "A7", drawn in the marker colour
};

// One piece of text of a painted chart, where it goes and how.
struct ChartText {
    enum class Kind { Body, Marker, SignNumber, Title };
    Kind kind = Kind::Body;
    int sign = 0;  // 1..12; 0 for the title
    QString text;
    QRectF rect;  // the text's own box, in the painter's coordinates
    QFont font;
};

// A Vedic chart painted with QPainter, in the South Indian style (a fixed
// ring of sign boxes, Pisces at the top left) or the North Indian style
// (houses fixed in a diamond, house 1 at the top centre, counted
// counter-clockwise, each showing its sign number). The ascendant's box is
// shaded and, in the South Indian style, crossed by a short diagonal at its
// top left corner.

// Paints a chart into area. Lines and text take the palette's Text colour,
// the ground its Base colour; the text sizes follow the chart's size and
// shrink where a box holds many labels. The painter's font gives the family.
void PaintChart(QPainter& painter, const QRectF& area, ChartStyle chartStyle, const ChartPicture& picture,
                const QPalette& palette);

// Geometry, in area's coordinates. The chart is the largest square centred
// in area, less a small margin.
QRectF ChartSquare(const QRectF& area);
// The house a sign is in, counted from the ascendant's sign: 1..12.
int HouseOfSign(int sign, int ascendantSign);
// The outline of a sign's box: a cell of the grid (South Indian) or the
// diamond or triangle of its house (North Indian).
QPolygonF BoxOutline(ChartStyle chartStyle, int sign, const QRectF& area, int ascendantSign);
// The part of a sign's box that its labels are laid out in.
QRectF BoxRect(ChartStyle chartStyle, int sign, const QRectF& area, int ascendantSign);
// Every text of a chart with its font and place, as PaintChart draws them.
QList<ChartText> LayoutChart(const QRectF& area, ChartStyle chartStyle, const ChartPicture& picture,
                             const QFont& baseFont);
// The smallest text size, in pixels, of the names in a chart of the sizes
// the windows show (from about 200 pixels a side): where a box is too small
// for the full names at this size, the body abbreviations are used instead.
inline constexpr int kLegibleChartPixels = 8;
// A body's label shortened to its abbreviation, Su Mo Me Ve Ma Ju Sa Ra Ke
// As, keeping a transit's "t " and a retrograde's " (R)": "Ju (R)", "t Mo".
// Other labels (the padas' "AL", "A7") come back as they are.
QString ShortChartLabel(const QString& label);
// The colour of markers: an orange that stands out on the palette's Base
// colour, light or dark.
QColor MarkerColour(const QPalette& palette);

}  // namespace velmora::report
