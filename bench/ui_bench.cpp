// One analysis through the windows: from the click on "Analyze My Arudha
// Lagna" to the result window shown with the whole record written into it.
// Runs offscreen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>

#include <memory>

#include "core/form_builders.h"
#include "core/pipeline.h"
#include "ui/main_window.h"
#include "ui/links.h"
#include "ui/platform.h"
#include "ui/result_window.h"
#include "ui/window_fixture.h"

namespace {

class SilentMessages final : public velmora::ui::MessageService {
public:
    void ShowNotice(QWidget*, const QString&, velmora::core::MessageIcon) override { ++Shown; }
    bool AskYesNo(QWidget*, const QString&, velmora::core::MessageIcon) override { return false; }
    UnsavedAnswer AskUnsaved(QWidget*, const QString&) override { return UnsavedAnswer::Cancel; }
    int Shown = 0;
};

class NoBrowser final : public velmora::ui::UrlOpener {
public:
    void Open(const QUrl&) override {}
};

void AnalysisFromClickToResultShown(benchmark::State& state) {
    SilentMessages messages;
    NoBrowser browser;
    velmora::ui::Links links(browser);
    velmora::MainWindow window(messages, links);
    velmora::testing::TypeBirth(window, velmora::testing::DelhiBirth("ravi kumar"));
    window.show();
    QApplication::processEvents();
    auto* analyse = window.findChild<QPushButton*>(QStringLiteral("cmdRashi"));

    for (auto _ : state) {
        analyse->click();
        velmora::ui::ResultWindow* result = window.resultWindow();
        // Shown means laid out and painted once.
        QApplication::processEvents();
        if (!result || !result->isVisible()) {
            state.SkipWithError("no result window");
            break;
        }
        state.PauseTiming();
        result->findChild<QPushButton*>(QStringLiteral("cmdBack"))->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (messages.Shown != 0) state.SkipWithError("the form was refused");
}
BENCHMARK(AnalysisFromClickToResultShown)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// The parts of the click: the result window built empty, and a finished
// record written into a fresh one and shown.
velmora::core::BirthAnalysis DelhiAnalysis() {
    velmora::core::AnalysisOptions options;
    options.ScanBirthTime = true;
    return velmora::core::RunAnalysis(velmora::testing::DelhiForm("RAVI KUMAR"), options).Result;
}

void ResultWindowBuilt(benchmark::State& state) {
    NoBrowser browser;
    velmora::ui::Links links(browser);
    for (auto _ : state) {
        velmora::ui::ResultWindow window(links);
        benchmark::DoNotOptimize(&window);
    }
}
BENCHMARK(ResultWindowBuilt)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The analysis written into a window, shown, laid out and painted once.
void WriteAndShow(velmora::ui::ResultWindow& window, const velmora::core::BirthAnalysis& analysis) {
    window.ShowResult(analysis);
    window.show();
    QApplication::processEvents();
}

// Times `timed` on a fresh result window for each iteration, after the
// untimed `prepare`; making and dropping the window are not timed.
template <class Prepare, class Timed>
void OnFreshWindows(benchmark::State& state, Prepare prepare, Timed timed) {
    NoBrowser browser;
    velmora::ui::Links links(browser);
    const velmora::core::BirthAnalysis analysis = DelhiAnalysis();
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<velmora::ui::ResultWindow>(links);
        prepare(*window, analysis);
        state.ResumeTiming();
        timed(*window, analysis);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

void ResultWrittenAndShown(benchmark::State& state) {
    OnFreshWindows(
        state, [](velmora::ui::ResultWindow&, const velmora::core::BirthAnalysis&) {}, WriteAndShow);
}
BENCHMARK(ResultWrittenAndShown)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// What the first showing of the positions tab and then of the profile tab
// costs: their pages are built, filled and painted then, not with the window.
void PositionsAndProfileFirstShown(benchmark::State& state) {
    OnFreshWindows(state, WriteAndShow, [](velmora::ui::ResultWindow& window, const velmora::core::BirthAnalysis&) {
        auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        tabs->setCurrentIndex(1);
        QApplication::processEvents();
        tabs->setCurrentIndex(2);
        QApplication::processEvents();
    });
}
BENCHMARK(PositionsAndProfileFirstShown)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
