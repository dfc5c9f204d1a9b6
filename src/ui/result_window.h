#pragma once

#include <QMainWindow>

#include <array>
#include <string>

#include "core/display.h"
#include "core/pipeline.h"
#include "ui/window_widgets.h"

class QLabel;
class QTabWidget;
class QTextEdit;

namespace velmora::ui {

class Links;

// Object names of the twelve sign boxes of the chart, sign index order.
inline constexpr std::array<std::string_view, kSignCount> kSignBoxNames{
    "lblAries", "lblTaurus",      "lblGemini",      "lblCancer",    "lblLeo",      "lblVirgo",
    "lblLibra", "lblScorpio",     "lblSagattarius", "lblCapricorn", "lblAquarius", "lblPisces"};

// Object names of the profile controls, in the order of the profile fields.
inline constexpr std::array<std::string_view, kProfileFieldCount> kProfileControlNames{
    "lblArudhaLagnaPresentInSign", "lblVedicName",         "lblEnglishName",
    "lblRullingPlanet",            "lblSymbol",            "lblNature",
    "lblColor",                    "lblTypeOfSign",        "lblGender",
    "lblBestPeriodOfActivity",     "lblBarren",            "lblCaste",
    "lblPosition",                 "lblConstituentCharacter", "lblLuckyDays",
    "lblLuckyNumbers",             "lblBestDirection",     "lblLuckyColors",
    "lblLuckyGemstone",            "lblPartOfTheBody",     "lblPhysique",
    "txtLooks",                    "txtNature",            "txtCareerAndFinance",
    "txtLoveAndDomesticLife",      "txtHealth",            "lblCompatibleWith",
    "lblNotCompatibleWith",        "lblYourArudhaLagnais"};

// Object names of the details panel's values, in BirthDetails order.
inline constexpr std::array<std::string_view, 8> kDetailControlNames{
    "lblName", "lblDOB", "lblTOB", "lblLatitude", "lblLongitude", "lblCity", "lblState", "lblCountry"};

// The result window frmDisplay: the chart with the birth details, the ten
// positions with the readings, and the profile of the Arudha Lagna sign. It
// computes nothing; the analysis hands it a finished record.
class ResultWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ResultWindow(Links& links, QWidget* parent = nullptr);

    // Writes a whole record, in the analysis's order: empty sign boxes,
    // details, empty markers, positions, chart, profile, readings.
    void ShowResult(const BirthAnalysis& analysis);

    void ClearSignBoxes();
    void ShowDetails(const BirthDetails& details);
    void ClearMarkers();
    void ShowPositions(const std::array<std::string, kBodyCount>& positions);
    void ShowChart(const DisplayTexts& shown);
    // A profile that is not shown leaves the controls as they are.
    void ShowProfile(const DisplayTexts& shown);
    // Appends one piece of the readings with its weight and colour.
    void AppendReading(const TextRun& run);

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
    std::array<QLabel*, kSignCount> signBoxes_{};
    std::array<QLabel*, kSignCount> markers_{};
    std::array<QLabel*, 8> details_{};  // kDetailControlNames order
    std::array<QLabel*, 10> positions_{};
    QLabel* engine_ = nullptr;                   // which engine computed the positions
    std::array<QLabel*, 10> formulaPositions_{};  // precise runs: the formulas beside each body
    std::array<QLabel*, 10> differences_{};
    std::array<QLabel*, 10> signDiffers_{};
    std::array<QWidget*, kProfileFieldCount> profile_{};
    QTextEdit* readings_ = nullptr;
    PromotionStrip* promotion_ = nullptr;
};

}  // namespace velmora::ui
