#pragma once

#include <QComboBox>

#include <array>

#include "analysis/vargas.h"
#include "core/pipeline.h"
#include "report/chart_painting.h"

class QBoxLayout;

namespace velmora::ui {

class ChartWidget;
class SettingsStore;

// The choice of the varga the Charts tab's second chart draws: the sixteen
// of Parashara, the navamsa unless another was chosen; the choice is kept in
// the settings store.
class VargaChoice : public QComboBox {
    Q_OBJECT
public:
    // Draws into `chart`.
    VargaChoice(ChartWidget* chart, QWidget* parent = nullptr);

    analysis::Varga varga() const;
    void SetVarga(analysis::Varga varga);

    // Where the choice is remembered; reading it applies the remembered one.
    void SetSettings(SettingsStore* settings);
    // The pictures of every varga of an analysis; the chosen one is drawn.
    void ShowAnalysis(const core::BirthAnalysis& analysis);

private:
    void Draw();

    ChartWidget* chart_ = nullptr;
    SettingsStore* settings_ = nullptr;
    std::array<report::ChartPicture, analysis::kVargaCount> pictures_{};
};

// Where the choice is stored, and its value ("D9").
inline constexpr char kSecondVargaKey[] = "Charts/SecondVarga";

// The choice above its chart, as a column added to `into`; the chart is
// named `chartName`.
ChartWidget* VargaChartColumn(const QString& chartName, QBoxLayout* into, QWidget* parent, VargaChoice** choice);

}  // namespace velmora::ui
