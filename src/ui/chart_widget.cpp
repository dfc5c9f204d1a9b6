#include "ui/chart_widget.h"

#include <QPainter>

namespace velmora::ui {

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void ChartWidget::setChartStyle(ChartStyle chartStyle) {
    if (chartStyle == chartStyle_) return;
    chartStyle_ = chartStyle;
    update();
}

void ChartWidget::setPicture(const ChartPicture& picture) {
    picture_ = picture;
    update();
}

QSize ChartWidget::sizeHint() const { return {440, 440}; }

QSize ChartWidget::minimumSizeHint() const { return {240, 240}; }

QImage ChartWidget::Render(QSize size) const {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(palette().color(QPalette::Base));
    QPainter painter(&image);
    painter.setFont(font());
    report::PaintChart(painter, QRectF(QPointF(0, 0), QSizeF(size)), chartStyle_, picture_, palette());
    return image;
}

void ChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    report::PaintChart(painter, QRectF(rect()), chartStyle_, picture_, palette());
}

}  // namespace velmora::ui
