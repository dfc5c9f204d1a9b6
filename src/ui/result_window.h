#pragma once

#include <QMainWindow>

#include <array>
#include <string>

#include "analysis/chart.h"
#include "analysis/readings.h"
#include "analysis/sign_profiles.h"
#include "core/driver.h"
#include "ui/window_widgets.h"

class QLabel;
class QTabWidget;
class QTextEdit;

namespace velmora::ui {

class Links;

// The result window frmDisplay: the chart with the birth details, the ten
// positions with the readings, and the profile of the Arudha Lagna sign. It
// computes nothing; the analysis hands it a finished record.
class ResultWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ResultWindow(Links& links, QWidget* parent = nullptr);

    // Writes a whole record, in the analysis's order: empty sign boxes,
    // details, empty markers, positions, chart, profile, readings.
    void ShowResult(const AnalysisResult& result);

    void ClearSignBoxes();
    void ShowDetails(const BirthDetails& details);
    void ClearMarkers();
    void ShowPositions(const std::array<std::string, 10>& positions);
    void ShowChart(const analysis::ChartCaptions& chart);
    // A profile that could not be found leaves the controls as they are.
    void ShowProfile(const analysis::ProfileDisplay& profile);
    // Appends one piece of the readings with its weight and colour.
    void AppendReading(const analysis::TextRun& run);

    PromotionStrip* promotionStrip() const { return promotion_; }

signals:
    void backRequested();
    void shutDownRequested();
    void aboutRequested(QWidget* owner);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QWidget* BuildChartTab();
    QWidget* BuildDetailsPanel(QWidget* parent);
    QWidget* BuildPlanetTab();
    QWidget* BuildProfileTab();

    Links& links_;
    QTabWidget* tabs_ = nullptr;
    std::array<QLabel*, analysis::kSignCount> signBoxes_{};
    std::array<QLabel*, analysis::kSignCount> markers_{};
    std::array<QLabel*, 8> details_{};  // kDetailControlNames order
    std::array<QLabel*, 10> positions_{};
    std::array<QWidget*, analysis::kProfileControlCount> profile_{};
    QTextEdit* readings_ = nullptr;
    PromotionStrip* promotion_ = nullptr;
};

}  // namespace velmora::ui
