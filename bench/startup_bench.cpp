// Start-up to the input window shown (offscreen), and the resident memory
// of the program after one analysis.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <QFile>
#include <QLineEdit>

#include "app/application.h"
#include "support/sample_birth.h"
#include "ui/main_window.h"
#include "ui/result_window.h"

namespace {

// When main() began: the first start-up also counts the Qt set-up of a
// freshly started process.
std::chrono::steady_clock::time_point processStart;

class FreeGuard final : public velmora::InstanceGuard {
public:
    bool Claim() override { return true; }
};

class RecentStore final : public velmora::ui::ReminderStore {
public:
    std::optional<QString> LastReminder() const override { return QDateTime::currentDateTime().toString(Qt::ISODate); }
    void SetLastReminder(const QString&) override {}
};

class SilentMessages final : public velmora::ui::MessageService {
public:
    void ShowNotice(QWidget*, const QString&, velmora::core::MessageIcon) override {}
    bool AskYesNo(QWidget*, const QString&, velmora::core::MessageIcon) override { return false; }
    UnsavedAnswer AskUnsaved(QWidget*, const QString&) override { return UnsavedAnswer::Cancel; }
};

class NoBrowser final : public velmora::ui::UrlOpener {
public:
    void Open(const QUrl&) override {}
};

struct Services {
    FreeGuard guard;
    velmora::ui::SystemClock clock;
    RecentStore store;
    SilentMessages messages;
    NoBrowser opener;
    velmora::Application::Services Make() {
        return {guard, clock, store, messages, opener, [] { return 0.5; }};
    }
};

void BM_StartUpToInputWindow(benchmark::State& state) {
    Services services;
    static double firstStartMs = -1;
    if (firstStartMs < 0) {
        velmora::Application program(services.Make());
        program.Start();
        QCoreApplication::processEvents();
        firstStartMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - processStart).count();
        program.mainWindow()->hide();
    }
    state.counters["first_start_in_process_ms"] = firstStartMs;
    for (auto _ : state) {
        velmora::Application program(services.Make());
        program.Start();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(program.mainWindow()->isVisible());
        state.PauseTiming();
        program.mainWindow()->hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToInputWindow)->Unit(benchmark::kMillisecond);

long ResidentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

void BM_ResidentMemoryAfterOneAnalysis(benchmark::State& state) {
    Services services;
    velmora::Application program(services.Make());
    program.Start();
    // The sample birth's name and coordinates, put in without keystrokes
    // (this program does without QtTest); the rest as the window opens.
    const velmora::testing::FormTexts birth = velmora::testing::DelhiBirth();
    auto set = [window = program.mainWindow()](const char* box, const std::string& text) {
        window->findChild<QLineEdit*>(QString::fromLatin1(box))->setText(QString::fromStdString(text));
    };
    set("txtName", birth.Name);
    set("txtLatD", birth.LatitudeDegrees);
    set("txtLatM", birth.LatitudeMinutes);
    set("txtLonD", birth.LongitudeDegrees);
    set("txtLonM", birth.LongitudeMinutes);
    auto* window = program.mainWindow();
    for (auto _ : state) {
        window->Analyze();
        QCoreApplication::processEvents();
    }
    state.counters["rss_kB"] = static_cast<double>(ResidentKilobytes());
}
BENCHMARK(BM_ResidentMemoryAfterOneAnalysis)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    processStart = std::chrono::steady_clock::now();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
