#pragma once

#include <QColor>
#include <QList>
#include <QRectF>
#include <QString>
#include <QWidget>

#include "core/time_scan.h"

namespace velmora::ui {

// The birth-time scan as a horizontal band: the window's minutes from left
// to right in time order, one coloured piece per segment (the colour of its
// ascendant sign, its Arudha Lagna written in it where there is room), the
// entered minute marked by a line, times at the ends and at every change.
// Where the clocks went back, the repeated hour takes its place twice, its
// first showing and then its second, and a row under the times names the
// two; where they went forward, the clock times that never came keep their
// place, hatched and named in that row. Minutes the scan could not reach
// (before 1901 or after 2050) are left blank.
class TimeBand : public QWidget {
    Q_OBJECT
public:
    explicit TimeBand(QWidget* parent = nullptr);

    void setScan(const core::SensitivityScan& scan);
    const core::SensitivityScan& scan() const { return scan_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // One painted segment.
    struct Piece {
        QRectF rect;
        int ascendantSign = 0;
        int arudhaLagnaSign = 0;
        bool repeated = false;   // the second showing of a repeated hour
        QString label;           // the Arudha Lagna, possibly shortened; may be empty
        QString ascendantLabel;  // the ascendant beneath it, likewise
        QString toolTip;         // the whole story of the segment
    };

    // A time written under the strip, with its tick at x.
    struct Tick {
        double x = 0;
        QRectF textRect;
        QString text;
    };

    // A stretch of clock readings the clocks changed over: each showing of
    // a repeated hour, or readings that never came.
    struct Mark {
        enum class Kind { FirstShowing, SecondShowing, NeverCame };
        Kind kind = Kind::FirstShowing;
        QRectF span;       // its minutes across the strip
        QRectF labelRect;  // its name in the row under the times
        QString label;     // "01:00–01:59 (first)", possibly shortened; may be empty
        QString toolTip;
    };

    // Where everything goes in an area, in time order from left to right.
    struct Drawing {
        QRectF strip;
        QList<Piece> pieces;
        QList<Tick> ticks;  // those drawn: none runs into the one before
        QList<Mark> marks;
        double markerX = 0;  // the middle of the entered minute
    };

    // Whether the scan has marks, and so the row for them.
    static bool HasMarks(const core::SensitivityScan& scan);
    static Drawing Layout(const QRectF& area, const core::SensitivityScan& scan, const QFont& font);
    // The fill colour of an ascendant sign (1..12): twelve light hues.
    static QColor SignColour(int sign);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    core::SensitivityScan scan_;
};

}  // namespace velmora::ui
