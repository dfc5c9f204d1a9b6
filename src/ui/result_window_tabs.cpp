// The added tabs of the result window, filled when they are first shown:
// a record written into the window costs only the tabs one looks at.

#include <QTabWidget>

#include "ui/jaimini_tab.h"
#include "ui/result_window.h"
#include "ui/toolkit_tabs.h"

namespace velmora::ui {

namespace {

// The added tabs follow the three of the original window.
constexpr int kFirstAddedTab = 3;
enum AddedTab : std::size_t { kCharts, kDasha, kToday, kJaimini };

}  // namespace

void ResultWindow::FillAddedTab(int index) {
    const int added = index - kFirstAddedTab;
    if (!shown_ || added < 0 || added >= static_cast<int>(addedTabShown_.size())) return;
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
