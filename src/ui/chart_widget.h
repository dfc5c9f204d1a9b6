#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPalette>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>

class QPainter;

namespace velmora::ui {

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

// A Vedic chart drawn with QPainter, in the South Indian style (a fixed ring
// of sign boxes, Pisces at the top left) or the North Indian style (houses
// fixed in a diamond, house 1 at the top centre, counted counter-clockwise,
// each showing its sign number). The ascendant's box is shaded and, in the
// South Indian style, crossed by a short diagonal at its top left corner.
class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(QWidget* parent = nullptr);

    // Named chartStyle rather than style: QWidget::style() is the widget's
    // QStyle.
    void setChartStyle(ChartStyle chartStyle);
    ChartStyle chartStyle() const { return chartStyle_; }

    void setPicture(const ChartPicture& picture);
    const ChartPicture& picture() const { return picture_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

    // The chart as this widget would paint it, at the given size, on the
    // widget's palette base colour.
    QImage Render(QSize size) const;

    // Paints a chart into area without a widget (reports, PNG export). Lines
    // and text take the palette's Text colour, the ground its Base colour;
    // the text sizes follow the chart's size and shrink where a box holds
    // many labels. The painter's font gives the family.
    static void Paint(QPainter& painter, const QRectF& area, ChartStyle chartStyle, const ChartPicture& picture,
                      const QPalette& palette);

    // Geometry, in area's coordinates. The chart is the largest square
    // centred in area, less a small margin.
    static QRectF ChartSquare(const QRectF& area);
    // The house a sign is in, counted from the ascendant's sign: 1..12.
    static int HouseOfSign(int sign, int ascendantSign);
    // The outline of a sign's box: a cell of the grid (South Indian) or the
    // diamond or triangle of its house (North Indian).
    static QPolygonF BoxOutline(ChartStyle chartStyle, int sign, const QRectF& area, int ascendantSign);
    // The part of a sign's box that its labels are laid out in.
    static QRectF BoxRect(ChartStyle chartStyle, int sign, const QRectF& area, int ascendantSign);
    // Every text of a chart with its font and place, as Paint draws them.
    static QList<ChartText> Layout(const QRectF& area, ChartStyle chartStyle, const ChartPicture& picture,
                                   const QFont& baseFont);
    // The colour of markers: an orange that stands out on the palette's
    // Base colour, light or dark.
    static QColor MarkerColour(const QPalette& palette);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartStyle chartStyle_ = ChartStyle::SouthIndian;
    ChartPicture picture_;
};

}  // namespace velmora::ui
