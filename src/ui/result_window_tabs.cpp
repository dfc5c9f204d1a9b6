// The added tabs of the result window. Each page stays empty until it is
// first shown; then its tab is built in it and filled from the record, so
// that a record written into the window costs only the tabs one looks at.

#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/jaimini_tab.h"
#include "ui/result_window.h"
#include "ui/tables_tab.h"
#include "ui/varga_choice.h"
#include "ui/toolkit_tabs.h"

namespace velmora::ui {

namespace {

// The added tabs follow the three of the original window.
constexpr int kFirstAddedTab = 3;
enum AddedTab : std::size_t { kCharts, kDasha, kToday, kJaimini, kTables };

struct AddedTabName {
    const char* Text;
    const char* Page;
};
constexpr std::array<AddedTabName, 5> kAddedTabs{{{"Charts", "tabCharts"},
                                                  {"Dasha", "tabDasha"},
                                                  {"Today", "tabToday"},
                                                  {"Jaimini", "tabJaimini"},
                                                  {"Tables", "tabTables"}}};

}  // namespace

void ResultWindow::AddAddedTabPages() {
    for (std::size_t added = 0; added < kAddedTabs.size(); ++added) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(kAddedTabs[added].Page));
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        addedPages_[added] = page;
        tabs_->addTab(page, QString::fromLatin1(kAddedTabs[added].Text));
    }
}

void ResultWindow::BuildAddedTab(std::size_t added) {
    QWidget* page = addedPages_[added];
    QWidget* tab = nullptr;
    switch (static_cast<AddedTab>(added)) {
        case kCharts:
            if (chartsTab_) return;
            tab = chartsTab_ = new ChartsTab(page);
            chartsTab_->SetChartStyle(chartStyle_);
            chartsTab_->vargaChoice()->SetSettings(settings_);
            break;
        case kDasha:
            if (dashaTab_) return;
            tab = dashaTab_ = new DashaTab(page);
            break;
        case kToday:
            if (todayTab_) return;
            tab = todayTab_ = new TodayTab(page);
            todayTab_->SetChartStyle(chartStyle_);
            connect(todayTab_, &TodayTab::nowRequested, this, &ResultWindow::ShowTimeTabs);
            break;
        case kJaimini:
            if (jaiminiTab_) return;
            tab = jaiminiTab_ = new JaiminiTab(page);
            jaiminiTab_->SetChartStyle(chartStyle_);
            break;
        case kTables:
            if (tablesTab_) return;
            tab = tablesTab_ = new TablesTab(page);
            break;
    }
    // The page carries the tab's name; the tab inside is its content.
    tab->setObjectName(page->objectName() + QStringLiteral("Content"));
    page->layout()->addWidget(tab);
}

ChartsTab* ResultWindow::chartsTab() {
    BuildAddedTab(kCharts);
    return chartsTab_;
}
DashaTab* ResultWindow::dashaTab() {
    BuildAddedTab(kDasha);
    return dashaTab_;
}
TodayTab* ResultWindow::todayTab() {
    BuildAddedTab(kToday);
    return todayTab_;
}
JaiminiTab* ResultWindow::jaiminiTab() {
    BuildAddedTab(kJaimini);
    return jaiminiTab_;
}
TablesTab* ResultWindow::tablesTab() {
    BuildAddedTab(kTables);
    return tablesTab_;
}

void ResultWindow::ApplyChartStyle() {
    if (chartsTab_) chartsTab_->SetChartStyle(chartStyle_);
    if (todayTab_) todayTab_->SetChartStyle(chartStyle_);
    if (jaiminiTab_) jaiminiTab_->SetChartStyle(chartStyle_);
}

void ResultWindow::FillAddedTab(int index) {
    const int added = index - kFirstAddedTab;
    if (added < 0 || added >= static_cast<int>(addedTabShown_.size())) return;
    BuildAddedTab(static_cast<std::size_t>(added));
    if (!shown_) return;
    addedTabShown_[static_cast<std::size_t>(added)] = true;
    switch (static_cast<AddedTab>(added)) {
        case kCharts:
            chartsTab_->ShowAnalysis(*shown_);
            break;
        case kDasha:
            dashaTab_->ShowAnalysis(*shown_, clock_->Now());
            break;
        case kToday:
            todayTab_->ShowAnalysis(*shown_, clock_->Now());
            break;
        case kJaimini:
            jaiminiTab_->ShowAnalysis(*shown_, clock_->Now());
            break;
        case kTables:
            tablesTab_->ShowAnalysis(*shown_);
            break;
    }
}

void ResultWindow::RefillShownTabs(bool timeTabsOnly) {
    if (!shown_) return;
    for (std::size_t added = timeTabsOnly ? kDasha : kCharts; added < addedTabShown_.size(); ++added) {
        const int index = kFirstAddedTab + static_cast<int>(added);
        if (addedTabShown_[added] || tabs_->currentIndex() == index) FillAddedTab(index);
    }
}

}  // namespace velmora::ui
