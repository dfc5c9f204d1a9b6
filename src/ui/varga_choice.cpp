#include "ui/varga_choice.h"

#include <QVBoxLayout>

#include "core/parashari_texts.h"
#include "report/parashari_parts.h"
#include "ui/chart_widget.h"
#include "ui/platform.h"

namespace velmora::ui {

VargaChoice::VargaChoice(ChartWidget* chart, QWidget* parent) : QComboBox(parent), chart_(chart) {
    setObjectName(QStringLiteral("cboSecondVarga"));
    setToolTip(QStringLiteral("The divisional chart drawn beside the birth chart"));
    for (analysis::Varga v : analysis::kAllVargas)
        addItem(QString::fromStdString(core::VargaTitle(v)), QString::fromUtf8(analysis::VargaKey(v).data()));
    SetVarga(analysis::Varga::D9);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (settings_) settings_->SetValue(QString::fromLatin1(kSecondVargaKey), currentData().toString());
        Draw();
    });
}

analysis::Varga VargaChoice::varga() const {
    return analysis::kAllVargas[static_cast<std::size_t>(std::max(0, currentIndex()))];
}

void VargaChoice::SetVarga(analysis::Varga varga) { setCurrentIndex(static_cast<int>(varga)); }

void VargaChoice::SetSettings(SettingsStore* settings) {
    settings_ = nullptr;  // applying what was read writes nothing back
    const std::optional<QString> remembered =
        settings ? settings->Value(QString::fromLatin1(kSecondVargaKey)) : std::nullopt;
    const int found = remembered ? findData(*remembered) : -1;
    setCurrentIndex(found >= 0 ? found : static_cast<int>(analysis::Varga::D9));
    settings_ = settings;
}

void VargaChoice::ShowAnalysis(const core::BirthAnalysis& analysis) {
    for (std::size_t v = 0; v < pictures_.size(); ++v)
        pictures_[v] = report::VargaPicture(analysis, analysis::kAllVargas[v]);
    Draw();
}

void VargaChoice::Draw() { chart_->setPicture(pictures_[static_cast<std::size_t>(varga())]); }

ChartWidget* VargaChartColumn(const QString& chartName, QBoxLayout* into, QWidget* parent, VargaChoice** choice) {
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    auto* chart = new ChartWidget(parent);
    chart->setObjectName(chartName);
    chart->setMinimumSize(220, 220);
    *choice = new VargaChoice(chart, parent);
    column->addWidget(*choice, 0, Qt::AlignHCenter);
    column->addWidget(chart, 1);
    into->addLayout(column, 1);
    return chart;
}

}  // namespace velmora::ui
