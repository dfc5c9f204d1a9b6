#pragma once

#include <QMainWindow>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "core/display.h"
#include "core/pipeline.h"
#include "ui/chart_widget.h"
#include "ui/file_dialogs.h"
#include "ui/platform.h"
#include "ui/update_reminder.h"
#include "ui/window_widgets.h"

class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QTextEdit;

namespace velmora::ui {

class ChartsTab;
class DashaTab;
class TablesTab;
class JaiminiTab;
class Links;
class TodayTab;

// Where the chosen chart style is remembered, and its two values.
inline constexpr const char* kChartStyleKey = "View/ChartStyle";
inline constexpr const char* kChartStyleSouth = "south";
inline constexpr const char* kChartStyleNorth = "north";

// Object names of the twelve sign boxes of the chart, sign index order.
inline constexpr std::array<std::string_view, kSignCount> kSignBoxNames{
    "lblAries", "lblTaurus",  "lblGemini",      "lblCancer",    "lblLeo",      "lblVirgo",
    "lblLibra", "lblScorpio", "lblSagattarius", "lblCapricorn", "lblAquarius", "lblPisces"};

// Object names of the profile controls, in the order of the profile fields.
inline constexpr std::array<std::string_view, core::kProfileFieldCount> kProfileControlNames{
    "lblArudhaLagnaPresentInSign",
    "lblVedicName",
    "lblEnglishName",
    "lblRullingPlanet",
    "lblSymbol",
    "lblNature",
    "lblColor",
    "lblTypeOfSign",
    "lblGender",
    "lblBestPeriodOfActivity",
    "lblBarren",
    "lblCaste",
    "lblPosition",
    "lblConstituentCharacter",
    "lblLuckyDays",
    "lblLuckyNumbers",
    "lblBestDirection",
    "lblLuckyColors",
    "lblLuckyGemstone",
    "lblPartOfTheBody",
    "lblPhysique",
    "txtLooks",
    "txtNature",
    "txtCareerAndFinance",
    "txtLoveAndDomesticLife",
    "txtHealth",
    "lblCompatibleWith",
    "lblNotCompatibleWith",
    "lblYourArudhaLagnais"};

// Object names of the details panel's values, in core::BirthDetails order.
inline constexpr std::array<std::string_view, 8> kDetailControlNames{
    "lblName", "lblDOB", "lblTOB", "lblLatitude", "lblLongitude", "lblCity", "lblState", "lblCountry"};

// The result window frmDisplay: the chart with the birth details, the ten
// positions with the readings, and the profile of the Arudha Lagna sign; then
// the charts with the padas and the birth-time band, the dashas, and today's
// sky. The analysis hands it a finished record; only the birth-time scan and
// the sky of a day are worked out here, from that record.
class ResultWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ResultWindow(Links& links, QWidget* parent = nullptr);
    ~ResultWindow() override;

    // Where the chart style is remembered; null: a store of this window's
    // own, in memory. Reading it applies the remembered style.
    void SetSettings(SettingsStore* settings);
    // The clock that says what "now" is (the running dasha, today's sky);
    // null: the system clock. A result on show is brought up to date.
    void SetClock(const Clock* clock);

    // The file choosers and message boxes of the File menu's Print, Export
    // PDF and Save Chart Image; null: the Qt ones. They must outlive the
    // window.
    void SetFileDialogs(FileDialogs* dialogs) { dialogs_ = dialogs ? dialogs : &ownDialogs_; }
    void SetMessages(MessageService* messages) { messages_ = messages ? messages : &ownMessages_; }

    // The style of every chart of the added tabs; choosing one remembers it.
    void SetChartStyle(ChartStyle chartStyle);
    ChartStyle chartStyle() const { return chartStyle_; }

    // Writes a whole record: empty sign boxes, details, empty markers and
    // the chart at once; the positions with the readings and the profile
    // where their pages are built, otherwise when they are (the readings
    // are then this record's alone).
    void ShowResult(const core::BirthAnalysis& analysis);

    void ClearSignBoxes();
    void ShowDetails(const core::BirthDetails& details);
    void ClearMarkers();
    // Builds the positions page if it is not yet built.
    void ShowPositions(const std::array<astro::PositionText, kBodyCount>& positions);
    void ShowChart(const core::DisplayTexts& shown);
    // A profile that is not shown leaves the controls as they are; one that
    // is shown before its page is built is written when it is.
    void ShowProfile(const core::DisplayTexts& shown);
    // Appends one piece of the readings with its weight and colour (builds
    // the positions page if it is not yet built).
    void AppendReading(const core::TextRun& run);

    PromotionStrip* promotionStrip() const { return promotion_; }
    // The second and third tabs' pages (positions with the readings, the
    // profile), built when first shown or asked for here, and filled from
    // the record on show.
    QWidget* planetsPage();
    QWidget* profilePage();
    // The added tabs, built when first shown or asked for here.
    ChartsTab* chartsTab();
    DashaTab* dashaTab();
    TodayTab* todayTab();
    JaiminiTab* jaiminiTab();
    TablesTab* tablesTab();

public slots:
    // mnuPrint: the printable report (ui/report.h) through the print dialog.
    void PrintReport();
    // mnuExportPdf: the same report as a PDF file chosen in the dialog.
    void ExportPdf();
    // mnuSaveChartImage: the birth chart in the chosen style as a PNG file.
    void SaveChartImage();

signals:
    void backRequested();
    void shutDownRequested();
    void aboutRequested(QWidget* owner);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildFileCommands(QMenu* file, QAction* before);
    QString SuggestedFile(const QString& ending) const;
    void ShowSaveFailure(const QString& path, const QString& error);
    void BuildViewMenu();
    void ShowTimeTabs();
    // The added tabs are filled from the record when first shown; one that
    // has been shown follows each new record (and, the time tabs, clock) at
    // once. `index` is the tab's index; the first three are not added ones.
    void FillAddedTab(int index);
    void RefillShownTabs(bool timeTabsOnly);
    void AddAddedTabPages();
    void BuildAddedTab(std::size_t added);
    void ApplyChartStyle();
    QWidget* BuildChartTab();
    QWidget* BuildDetailsPanel(QWidget* parent);
    void BuildPlanetTab(QWidget* page);
    void BuildProfileTab(QWidget* page);
    // The positions page and the profile page are built and filled when
    // first shown, or asked for; `index` is the tab made current.
    void BuildShownPage(int index);
    void FillPlanetsPage(const core::BirthAnalysis& analysis);
    void WriteProfile(const std::array<std::string_view, core::kProfileFieldCount>& texts);

    Links& links_;
    QTabWidget* tabs_ = nullptr;
    std::array<QLabel*, kSignCount> signBoxes_{};
    std::array<QLabel*, kSignCount> markers_{};
    std::array<QLabel*, 8> details_{};  // kDetailControlNames order
    std::array<QLabel*, 10> positions_{};
    QLabel* engine_ = nullptr;                    // which engine computed the positions
    QLabel* placeMismatch_ = nullptr;             // core::Birth::PlaceMismatch, when there is one
    std::array<QLabel*, 10> formulaPositions_{};  // precise runs: the formulas beside each body
    std::array<QLabel*, 10> differences_{};
    std::array<QLabel*, 10> signDiffers_{};
    std::array<QWidget*, core::kProfileFieldCount> profile_{};
    QTextEdit* readings_ = nullptr;
    QWidget* planetsPage_ = nullptr;  // empty until built
    QWidget* profilePage_ = nullptr;  // empty until built
    // The last profile shown while its page was not yet built.
    std::optional<std::array<std::string_view, core::kProfileFieldCount>> pendingProfile_;
    PromotionStrip* promotion_ = nullptr;

    // The added tabs and what they need.
    ChartsTab* chartsTab_ = nullptr;
    DashaTab* dashaTab_ = nullptr;
    TodayTab* todayTab_ = nullptr;
    JaiminiTab* jaiminiTab_ = nullptr;
    TablesTab* tablesTab_ = nullptr;
    std::array<bool, 5> addedTabShown_{};   // Charts, Dasha, Today, Jaimini, Tables
    std::array<QWidget*, 5> addedPages_{};  // each holds its tab once built
    QAction* southStyle_ = nullptr;
    QAction* northStyle_ = nullptr;
    ChartStyle chartStyle_ = ChartStyle::SouthIndian;
    MemorySettingsStore ownSettings_;
    SettingsStore* settings_ = &ownSettings_;
    SystemClock systemClock_;
    const Clock* clock_ = &systemClock_;
    std::optional<core::BirthAnalysis> shown_;

    // The File menu's report and picture.
    QtFileDialogs ownDialogs_;
    FileDialogs* dialogs_ = &ownDialogs_;
    QtMessageService ownMessages_;
    MessageService* messages_ = &ownMessages_;
};

}  // namespace velmora::ui
