#pragma once

#include <QColor>
#include <QList>
#include <QRectF>
#include <QString>
#include <QWidget>

#include "core/time_scan.h"

namespace velmora::ui {

// The birth-time scan as a horizontal band: the window of minutes from left
// to right, one coloured piece per segment (the colour of its ascendant
// sign, its Arudha Lagna written in it where there is room), the entered
// minute marked by a line, times at the ends and at every change. Minutes
// the scan could not reach (before 1901 or after 2050) are left blank.
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
        QString label;           // the Arudha Lagna, possibly shortened; may be empty
        QString ascendantLabel;  // the ascendant beneath it, likewise
        QString toolTip;         // the whole story of the segment
    };

    // Where the pieces of a scan go in area: the strip of the band, the
    // window's minutes spread evenly across its width.
    static QRectF StripRect(const QRectF& area, const QFont& font);
    static QList<Piece> Layout(const QRectF& area, const core::SensitivityScan& scan, const QFont& font);
    // The x of the middle of the entered minute.
    static double MarkerX(const QRectF& area, const core::SensitivityScan& scan, const QFont& font);
    // The fill colour of an ascendant sign (1..12): twelve light hues.
    static QColor SignColour(int sign);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    core::SensitivityScan scan_;
};

}  // namespace velmora::ui
