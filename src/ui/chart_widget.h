#pragma once

#include <QImage>
#include <QSize>
#include <QWidget>

#include "report/chart_painting.h"

namespace velmora::ui {

// The chart's vocabulary is the painting's.
using report::ChartPicture;
using report::ChartStyle;
using report::ChartText;

// A Vedic chart on screen, painted by report::PaintChart.
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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartStyle chartStyle_ = ChartStyle::SouthIndian;
    ChartPicture picture_;
};

}  // namespace velmora::ui
