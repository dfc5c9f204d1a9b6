// The library window at 100,000 births: one keystroke in the Find box, from
// the text changed to the list shown again (the filter, the sorted order
// kept, the table's reset), offscreen.
//   BM_LibraryWindowKeystroke/n: "ravi kumar" typed to its n-th letter,
//     sorted by date; the figure to watch is the time (target 16 ms).
//   BM_LibraryWindowSort: choosing another column to sort by.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/library.h"
#include "ui/file_dialogs.h"
#include "ui/library_window.h"
#include "ui/platform.h"

namespace {

constexpr int kBirths = 100000;

class SilentMessages final : public velmora::ui::MessageService {
public:
    void ShowNotice(QWidget*, const QString&, velmora::core::MessageIcon) override {}
    bool AskYesNo(QWidget*, const QString&, velmora::core::MessageIcon) override { return false; }
    UnsavedAnswer AskUnsaved(QWidget*, const QString&) override { return UnsavedAnswer::Cancel; }
};

// The library and its window, made once for the process.
struct Shown {
    std::filesystem::path Folder;
    std::unique_ptr<velmora::core::Library> Library;
    SilentMessages Messages;
    velmora::ui::QtFileDialogs Dialogs;
    velmora::ui::MemorySettingsStore Settings;
    std::unique_ptr<velmora::ui::LibraryWindow> Window;

    Shown() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-window-bench-XXXXXX").string();
        Folder = mkdtemp(pattern.data());
        {
            // Names "RAVI KUMAR 1" ... with a few hundred first names, so a
            // typed word matches a share of them.
            static const char* const first[] = {"RAVI", "ASHA", "MEERA", "ARJUN", "PRIYA", "KARAN", "NISHA"};
            std::ofstream csv(Folder / "births.csv");
            csv << "name,date,time,zone,dst,lat,lon,city,state,country,tags\n";
            for (int i = 0; i < kBirths; ++i) {
                csv << first[i % 7] << " KUMAR " << char('A' + i % 26) << char('A' + i / 26 % 26) << ','
                    << 1901 + i % 150 << '-' << (i % 9 + 1 < 10 ? "0" : "") << i % 9 + 1 << '-' << 10 + i % 18
                    << ",09:05,34,0,28:36N,077:12E,New Delhi,Delhi,India," << (i % 5 == 0 ? "client" : "") << '\n';
            }
        }
        Library = velmora::core::Library::Open(Folder / "library.sqlite").Opened;
        Library->Import({Folder / "births.csv"});
        Window = std::make_unique<velmora::ui::LibraryWindow>(*Library, Messages, Dialogs, Settings);
        Window->show();
        Window->table()->horizontalHeader()->setSortIndicator(velmora::ui::LibraryTableModel::Date, Qt::AscendingOrder);
        QApplication::processEvents();
    }
    ~Shown() {
        Window.reset();
        Library.reset();
        std::filesystem::remove_all(Folder);
    }
};

Shown& Window() {
    static Shown shown;
    return shown;
}

void BM_LibraryWindowKeystroke(benchmark::State& state) {
    Shown& shown = Window();
    const QString word = QStringLiteral("ravi kumar").left(static_cast<int>(state.range(0)));
    const QString before = word.left(word.size() - 1);
    for (auto _ : state) {
        state.PauseTiming();
        shown.Window->filterBox()->setText(before);
        QApplication::processEvents();
        state.ResumeTiming();
        shown.Window->filterBox()->setText(word);
        QApplication::processEvents();
    }
    state.counters["shown"] = shown.Window->model()->rowCount();
}
BENCHMARK(BM_LibraryWindowKeystroke)->Arg(1)->Arg(4)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_LibraryWindowSort(benchmark::State& state) {
    Shown& shown = Window();
    shown.Window->filterBox()->clear();
    int column = 0;
    for (auto _ : state) {
        column = column == velmora::ui::LibraryTableModel::Place ? velmora::ui::LibraryTableModel::Date
                                                                 : velmora::ui::LibraryTableModel::Place;
        shown.Window->table()->horizontalHeader()->setSortIndicator(column, Qt::AscendingOrder);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_LibraryWindowSort)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
