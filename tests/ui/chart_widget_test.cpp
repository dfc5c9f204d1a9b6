// The chart widget: where each sign's box lies in both styles, how labels
// are laid out and shrunk to fit, the painted lines and marks, and repaints
// when the style or the picture changes.

#include <QApplication>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cmath>

#include "ui/chart_widget.h"

using velmora::report::ChartPicture;
using velmora::report::ChartStyle;
using velmora::report::ChartText;
using velmora::ui::ChartWidget;

namespace {

const QRectF kArea(0, 0, 400, 400);

QPalette LightPalette() {
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(48, 140, 198));
    return palette;
}

QPalette DarkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(30, 30, 34));
    palette.setColor(QPalette::Text, QColor(235, 235, 235));
    palette.setColor(QPalette::Highlight, QColor(60, 110, 200));
    return palette;
}

// A point given as fractions of the chart square.
QPointF At(double x, double y, const QRectF& area = kArea) {
    const QRectF square = velmora::report::ChartSquare(area);
    return {square.left() + x * square.width(), square.top() + y * square.height()};
}

QImage Paint(ChartStyle style, const ChartPicture& picture, const QPalette& palette = LightPalette()) {
    QImage image(kArea.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(palette.color(QPalette::Base));
    QPainter painter(&image);
    velmora::report::PaintChart(painter, kArea, style, picture, palette);
    return image;
}

int Distance(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// Whether a pixel within two pixels of p is nearer the ink than the ground.
bool InkNear(const QImage& image, QPointF p, const QPalette& palette = LightPalette()) {
    const QColor ink = palette.color(QPalette::Text), ground = palette.color(QPalette::Base);
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy) {
            const QColor c = image.pixelColor(qRound(p.x()) + dx, qRound(p.y()) + dy);
            if (Distance(c, ink) < Distance(c, ground)) return true;
        }
    return false;
}

int PixelsLike(const QImage& image, const QRectF& rect, QColor colour) {
    int count = 0;
    const QRect r = rect.toAlignedRect() & image.rect();
    for (int x = r.left(); x <= r.right(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            if (Distance(image.pixelColor(x, y), colour) < 60) ++count;
    return count;
}

bool Inside(const QRectF& inner, const QRectF& outer) { return outer.adjusted(-0.5, -0.5, 0.5, 0.5).contains(inner); }

bool Inside(const QRectF& rect, const QPolygonF& outline) {
    for (QPointF corner : {rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight()}) {
        // Nudge each corner towards the rect's centre: the label boxes touch
        // the outline only by their padding.
        const QPointF p = corner + (rect.center() - corner) * 0.01;
        if (!outline.containsPoint(p, Qt::OddEvenFill)) return false;
    }
    return true;
}

ChartPicture Example() {
    ChartPicture picture;
    picture.title = QStringLiteral("Rasi");
    picture.ascendantSign = 5;  // Leo
    picture.bodies[4] << "Asc"
                      << "Sun";
    picture.bodies[5] << "Moon"
                      << "Mars (R)";
    picture.bodies[11] << "Saturn";
    picture.markers[5] << "AL";
    picture.markers[0] << "UL"
                       << "A7";
    return picture;
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

class ChartWidgetTest : public QObject {
    Q_OBJECT
private slots:
    void southBoxesFollowTheFixedRing();
    void northHousesRunCounterClockwiseFromTheTop();
    void labelsGoInTheirSignsBoxes();
    void crowdedBoxesShrinkTheirText();
    void southLinesAndAscendantMark();
    void northLinesAndSignNumbers();
    void markersAndDarkPalette();
    void styleSwitchingRepaints();
};

void ChartWidgetTest::southBoxesFollowTheFixedRing() {
    const double q = velmora::report::ChartSquare(kArea).width() / 4;
    const auto cellOf = [&](int sign) {
        const QPointF c = velmora::report::BoxRect(ChartStyle::SouthIndian, sign, kArea, 1).center() -
                          velmora::report::ChartSquare(kArea).topLeft();
        return QPoint(static_cast<int>(c.x() / q), static_cast<int>(c.y() / q));  // (column, row)
    };
    // Pisces, Aries, Taurus, Gemini across the top; Cancer, Leo down the
    // right; Virgo, Libra, Scorpio, Sagittarius back along the bottom;
    // Capricorn, Aquarius up the left.
    const QPoint expected[12] = {{1, 0}, {2, 0}, {3, 0}, {3, 1}, {3, 2}, {3, 3},
                                 {2, 3}, {1, 3}, {0, 3}, {0, 2}, {0, 1}, {0, 0}};
    for (int sign = 1; sign <= 12; ++sign) QCOMPARE(cellOf(sign), expected[sign - 1]);
    // The ascendant does not move a South Indian box.
    QCOMPARE(velmora::report::BoxRect(ChartStyle::SouthIndian, 1, kArea, 7),
             velmora::report::BoxRect(ChartStyle::SouthIndian, 1, kArea, 1));
    // Boxes are square cells, no two overlapping.
    for (int a = 1; a <= 12; ++a)
        for (int b = a + 1; b <= 12; ++b)
            QVERIFY(!velmora::report::BoxRect(ChartStyle::SouthIndian, a, kArea, 1)
                         .intersects(velmora::report::BoxRect(ChartStyle::SouthIndian, b, kArea, 1)));
}

void ChartWidgetTest::northHousesRunCounterClockwiseFromTheTop() {
    const int ascendant = 10;  // Capricorn
    for (int house = 1; house <= 12; ++house)
        QCOMPARE(velmora::report::HouseOfSign((ascendant + house - 2) % 12 + 1, ascendant), house);
    QCOMPARE(velmora::report::HouseOfSign(10, 10), 1);
    QCOMPARE(velmora::report::HouseOfSign(9, 10), 12);
    QCOMPARE(velmora::report::HouseOfSign(1, 10), 4);
    const auto centre = [&](int house) {
        const int sign = (ascendant + house - 2) % 12 + 1;
        const QRectF square = velmora::report::ChartSquare(kArea);
        const QPointF c = velmora::report::BoxRect(ChartStyle::NorthIndian, sign, kArea, ascendant).center();
        return QPointF((c.x() - square.left()) / square.width(), (c.y() - square.top()) / square.height());
    };
    // House 1 is the top centre diamond, 4 the left, 7 the bottom, 10 the
    // right one.
    QVERIFY(std::abs(centre(1).x() - 0.5) < 0.01 && std::abs(centre(1).y() - 0.25) < 0.01);
    QVERIFY(std::abs(centre(4).x() - 0.25) < 0.01 && std::abs(centre(4).y() - 0.5) < 0.01);
    QVERIFY(std::abs(centre(7).x() - 0.5) < 0.01 && std::abs(centre(7).y() - 0.75) < 0.01);
    QVERIFY(std::abs(centre(10).x() - 0.75) < 0.01 && std::abs(centre(10).y() - 0.5) < 0.01);
    // The triangles: 2 along the top left, 3 down the left top, 5 and 6 at
    // the bottom left corner, 8 and 9 at the bottom right, 11 and 12 at the
    // top right.
    QVERIFY(centre(2).x() > 0.1 && centre(2).x() < 0.4 && centre(2).y() < 0.1);
    QVERIFY(centre(3).x() < 0.1 && centre(3).y() > 0.1 && centre(3).y() < 0.4);
    QVERIFY(centre(5).x() < 0.1 && centre(5).y() > 0.6 && centre(5).y() < 0.9);
    QVERIFY(centre(6).x() > 0.1 && centre(6).x() < 0.4 && centre(6).y() > 0.9);
    QVERIFY(centre(8).x() > 0.6 && centre(8).x() < 0.9 && centre(8).y() > 0.9);
    QVERIFY(centre(9).x() > 0.9 && centre(9).y() > 0.6 && centre(9).y() < 0.9);
    QVERIFY(centre(11).x() > 0.9 && centre(11).y() > 0.1 && centre(11).y() < 0.4);
    QVERIFY(centre(12).x() > 0.6 && centre(12).x() < 0.9 && centre(12).y() < 0.1);
    // Each label box lies inside its house's outline, and the outlines
    // cover the square (diamonds a quarter-square each, triangles an
    // eighth: 4 × 1/8 + 8 × 1/16 = 1).
    double covered = 0;
    for (int sign = 1; sign <= 12; ++sign) {
        const QPolygonF outline = velmora::report::BoxOutline(ChartStyle::NorthIndian, sign, kArea, ascendant);
        QVERIFY2(Inside(velmora::report::BoxRect(ChartStyle::NorthIndian, sign, kArea, ascendant), outline),
                 qPrintable(QStringLiteral("sign %1").arg(sign)));
        double area = 0;
        for (int i = 0; i + 1 < outline.size(); ++i)
            area += outline[i].x() * outline[i + 1].y() - outline[i + 1].x() * outline[i].y();
        covered += std::abs(area) / 2;
    }
    const double side = velmora::report::ChartSquare(kArea).width();
    QVERIFY(std::abs(covered - side * side) < 1);
}

void ChartWidgetTest::labelsGoInTheirSignsBoxes() {
    const ChartPicture picture = Example();
    for (ChartStyle style : {ChartStyle::SouthIndian, ChartStyle::NorthIndian}) {
        const QList<ChartText> texts = velmora::report::LayoutChart(kArea, style, picture, QApplication::font());
        QStringList seen;
        for (const ChartText& text : texts) {
            if (text.kind == ChartText::Kind::Body || text.kind == ChartText::Kind::Marker) {
                QVERIFY2(Inside(text.rect, velmora::report::BoxRect(style, text.sign, kArea, picture.ascendantSign)),
                         qPrintable(text.text));
                const QStringList& source = text.kind == ChartText::Kind::Body
                                                ? picture.bodies[static_cast<std::size_t>(text.sign - 1)]
                                                : picture.markers[static_cast<std::size_t>(text.sign - 1)];
                QVERIFY2(source.contains(text.text), qPrintable(text.text));
                seen << text.text;
            }
        }
        seen.sort();
        QCOMPARE(seen, QStringList({"A7", "AL", "Asc", "Mars (R)", "Moon", "Saturn", "Sun", "UL"}));
        const bool hasTitle = std::any_of(texts.begin(), texts.end(),
                                          [](const ChartText& t) { return t.kind == ChartText::Kind::Title; });
        QCOMPARE(hasTitle, style == ChartStyle::SouthIndian);
    }
    // North: the ascendant's sign is in house 1 and each house shows its sign
    // number inside its outline, clear of the labels.
    const QList<ChartText> north =
        velmora::report::LayoutChart(kArea, ChartStyle::NorthIndian, picture, QApplication::font());
    int numbers = 0;
    for (const ChartText& number : north) {
        if (number.kind != ChartText::Kind::SignNumber) continue;
        ++numbers;
        QCOMPARE(number.text, QString::number(number.sign));
        QVERIFY(Inside(number.rect, velmora::report::BoxOutline(ChartStyle::NorthIndian, number.sign, kArea,
                                                                picture.ascendantSign)));
        for (const ChartText& label : north)
            if (label.kind != ChartText::Kind::SignNumber) QVERIFY(!label.rect.intersects(number.rect));
    }
    QCOMPARE(numbers, 12);
    const QRectF leo = velmora::report::BoxRect(ChartStyle::NorthIndian, 5, kArea, 5);
    QVERIFY(leo.center().y() < At(0.5, 0.5).y() && std::abs(leo.center().x() - At(0.5, 0.5).x()) < 1);
}

void ChartWidgetTest::crowdedBoxesShrinkTheirText() {
    ChartPicture picture;
    picture.ascendantSign = 1;
    picture.bodies[0] << "Sun";
    picture.bodies[2] << "Sun"
                      << "Moon"
                      << "Mercury (R)"
                      << "Venus"
                      << "Mars (R)"
                      << "Jupiter (R)"
                      << "Saturn (R)"
                      << "Rahu";
    picture.markers[2] << "A3"
                       << "A9";
    for (ChartStyle style : {ChartStyle::SouthIndian, ChartStyle::NorthIndian}) {
        const QList<ChartText> texts = velmora::report::LayoutChart(kArea, style, picture, QApplication::font());
        int lone = 0, crowded = 0, count = 0;
        for (const ChartText& text : texts) {
            if (text.sign == 1 && text.kind == ChartText::Kind::Body) lone = text.font.pixelSize();
            if (text.sign != 3 || text.kind == ChartText::Kind::SignNumber) continue;
            ++count;
            crowded = text.font.pixelSize();
            QVERIFY(Inside(text.rect, velmora::report::BoxRect(style, 3, kArea, 1)));
            for (const ChartText& other : texts)
                if (other.sign == 3 && &other != &text && other.kind != ChartText::Kind::SignNumber)
                    QVERIFY2(!text.rect.intersected(other.rect).isValid(), qPrintable(text.text + other.text));
        }
        QCOMPARE(count, 10);
        QVERIFY(lone > 0);
        QVERIFY2(crowded < lone, qPrintable(QStringLiteral("%1 vs %2").arg(crowded).arg(lone)));
        // Text grows with the chart.
        const QList<ChartText> large =
            velmora::report::LayoutChart(QRectF(0, 0, 1000, 1000), style, picture, QApplication::font());
        for (const ChartText& text : large)
            if (text.sign == 1 && text.kind == ChartText::Kind::Body) QVERIFY(text.font.pixelSize() > lone);
    }
}

void ChartWidgetTest::southLinesAndAscendantMark() {
    ChartPicture picture;
    picture.ascendantSign = 5;  // Leo: row 2, column 3
    const QImage image = Paint(ChartStyle::SouthIndian, picture);
    // Outer border, the full grid lines and the short ones between the ring's
    // boxes; none through the middle.
    for (QPointF p : {At(0, 0.6), At(1, 0.4), At(0.6, 0), At(0.4, 1), At(0.25, 0.5), At(0.75, 0.4), At(0.6, 0.25),
                      At(0.4, 0.75), At(0.5, 0.125), At(0.5, 0.875), At(0.125, 0.5), At(0.875, 0.5)})
        QVERIFY2(InkNear(image, p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    for (QPointF p :
         {At(0.5, 0.5), At(0.5, 0.375), At(0.375, 0.5), At(0.625, 0.625), At(0.375, 0.125), At(0.125, 0.875)})
        QVERIFY2(!InkNear(image, p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    // The ascendant's diagonal crosses the top left corner of Leo's box only.
    QVERIFY(InkNear(image, At(0.75 + 0.0375, 0.5 + 0.0375)));
    QVERIFY(!InkNear(image, At(0.25 + 0.0375, 0.0375)));
    picture.ascendantSign = 1;
    QVERIFY(InkNear(Paint(ChartStyle::SouthIndian, picture), At(0.25 + 0.0375, 0.0375)));
    // The ascendant's box is shaded.
    const QImage shaded = Paint(ChartStyle::SouthIndian, picture);
    QVERIFY(shaded.pixelColor(At(0.375, 0.2).toPoint()) != QColor(Qt::white));
    QCOMPARE(shaded.pixelColor(At(0.625, 0.2).toPoint()), QColor(Qt::white));
}

void ChartWidgetTest::northLinesAndSignNumbers() {
    ChartPicture picture;
    picture.ascendantSign = 3;
    const QImage image = Paint(ChartStyle::NorthIndian, picture);
    // Both diagonals, the inner diamond, the border.
    for (QPointF p : {At(0.5, 0.5), At(0.125, 0.125), At(0.875, 0.125), At(0.125, 0.875), At(0.875, 0.875),
                      At(0.625, 0.125), At(0.375, 0.125), At(0.125, 0.625), At(0.875, 0.625), At(0.5, 0), At(0, 0.3)})
        QVERIFY2(InkNear(image, p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    // No grid: the middles of the four diamonds and of the top triangles are
    // clear.
    for (QPointF p : {At(0.5, 0.25), At(0.25, 0.5), At(0.5, 0.75), At(0.75, 0.5), At(0.25, 0.06), At(0.75, 0.06)})
        QVERIFY2(!InkNear(image, p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    // The sign numbers are painted where the layout puts them.
    const QColor muted = QColor(102, 102, 102);
    for (const ChartText& text :
         velmora::report::LayoutChart(kArea, ChartStyle::NorthIndian, picture, QApplication::font()))
        if (text.kind == ChartText::Kind::SignNumber) QVERIFY(PixelsLike(image, text.rect, muted) > 0);
}

void ChartWidgetTest::markersAndDarkPalette() {
    const ChartPicture picture = Example();
    for (const QPalette& palette : {LightPalette(), DarkPalette()}) {
        const QColor marker = velmora::report::MarkerColour(palette);
        QVERIFY(Distance(marker, palette.color(QPalette::Base)) > 250);
        QVERIFY(Distance(marker, palette.color(QPalette::Text)) > 150);
        for (ChartStyle style : {ChartStyle::SouthIndian, ChartStyle::NorthIndian}) {
            const QImage image = Paint(style, picture, palette);
            QVERIFY(InkNear(image, At(0.875, 0.875), palette));  // a line in either style
            for (const ChartText& text : velmora::report::LayoutChart(kArea, style, picture, QApplication::font())) {
                if (text.kind == ChartText::Kind::Marker)
                    QVERIFY2(PixelsLike(image, text.rect, marker) > 3, qPrintable(text.text));
                if (text.kind == ChartText::Kind::Body) {
                    QCOMPARE(PixelsLike(image, text.rect, marker), 0);
                    QVERIFY(PixelsLike(image, text.rect, palette.color(QPalette::Text)) > 3);
                }
            }
        }
    }
}

void ChartWidgetTest::styleSwitchingRepaints() {
    ChartWidget widget;
    QCOMPARE(widget.chartStyle(), ChartStyle::SouthIndian);
    QVERIFY(widget.hasHeightForWidth());
    QCOMPARE(widget.heightForWidth(321), 321);
    QPalette palette = LightPalette();
    palette.setColor(QPalette::Window, Qt::white);
    widget.setPalette(palette);
    widget.setPicture(Example());
    widget.resize(400, 400);
    PaintCounter counter;
    widget.installEventFilter(&counter);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTRY_VERIFY(counter.paints > 0);

    const QRectF area(QPointF(0, 0), QSizeF(widget.size()));
    const QImage south = widget.grab().toImage();
    QVERIFY(!InkNear(south, At(0.2, 0.2, area)));  // inside Pisces, off its label
    QVERIFY(InkNear(south, At(0.5, 0.125, area)));

    int before = counter.paints;
    widget.setChartStyle(ChartStyle::NorthIndian);
    QCOMPARE(widget.chartStyle(), ChartStyle::NorthIndian);
    QTRY_VERIFY(counter.paints > before);
    const QImage north = widget.grab().toImage();
    QVERIFY(InkNear(north, At(0.2, 0.2, area)));  // the diagonal
    QCOMPARE(north.convertToFormat(QImage::Format_RGB32),
             widget.Render(widget.size()).convertToFormat(QImage::Format_RGB32));

    // A new picture repaints too.
    before = counter.paints;
    ChartPicture moved = Example();
    moved.ascendantSign = 9;
    widget.setPicture(moved);
    QTRY_VERIFY(counter.paints > before);
    QCOMPARE(widget.grab().toImage().convertToFormat(QImage::Format_RGB32),
             widget.Render(widget.size()).convertToFormat(QImage::Format_RGB32));
    QVERIFY(widget.grab().toImage().convertToFormat(QImage::Format_RGB32) !=
            north.convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(ChartWidgetTest)
#include "chart_widget_test.moc"
