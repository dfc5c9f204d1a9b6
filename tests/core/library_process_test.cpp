// The library under real processes: one killed with SIGKILL in the middle
// of its work, two writing at the same time.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <thread>

#include "core/form_builders.h"
#include "core/library.h"
#include "core/library_files.h"
#include "core/sqlite_db.h"

using namespace velmora;
using namespace velmora::core;
using namespace velmora::core;
using velmora::testing::OpenOrFail;
using velmora::testing::TempFolder;
using velmora::testing::WriteFile;

namespace {

constexpr int kBatchRows = 20000;

std::string BatchCsv() {
    std::string csv = "name,date,time,zone,dst,lat,lon,city,state,country\n";
    for (int i = 0; i < kBatchRows; ++i)
        csv +=
            "BULK BIRTH,1980-01-05,09:" + std::to_string(10 + i % 50) + ",34,0,28:36N,077:12E,New Delhi,Delhi,India\n";
    return csv;
}

// Runs `work` in a child process that ends with _exit(code).
pid_t Spawn(const std::function<int()>& work) {
    const pid_t pid = fork();
    if (pid == 0) _exit(work());
    return pid;
}

int ExitCodeOf(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string IntegrityOf(const std::filesystem::path& file) {
    SqlError error;
    std::optional<SqlDatabase> db = SqlDatabase::Open(file, SqlDatabase::Mode::ReadWrite, error);
    if (!db) return error.Message;
    SqlStatement check = db->Prepare("PRAGMA integrity_check", error);
    if (error || !check.Step()) return "integrity_check failed to run";
    return std::string(check.Text(0));
}

}  // namespace

TEST(LibraryProcesses, KillNineDuringAnImportOrAnEditLeavesItConsistent) {
    TempFolder folder;
    const std::filesystem::path file = folder / "library.sqlite";
    const std::filesystem::path csv = folder / "batch.csv";
    WriteFile(csv, BatchCsv());
    std::int64_t edited = 0;
    {
        auto library = OpenOrFail(file);
        edited = library->Add({velmora::testing::DelhiForm("EDIT A"), {}}).Value;
    }
    std::mt19937 random(20240301);
    std::uint64_t expectedRows = 1;
    for (int round = 0; round < 6; ++round) {
        const bool importing = round % 2 == 0;
        const pid_t child = Spawn([&] {
            auto opened = Library::Open(file);
            if (!opened.Opened) return 3;
            Library& library = *opened.Opened;
            for (int n = 0;; ++n) {
                if (importing) {
                    if (!library.Import({csv}).Status.Ok()) return 4;
                } else {
                    // Each edit rewrites the birth and its columns in one transaction.
                    const std::string name = n % 2 == 0 ? "EDIT B" : "EDIT A";
                    if (!library.Update(edited, {velmora::testing::DelhiForm(name), {}}).Ok()) return 5;
                    if (!library.SetNotes(edited, name).Ok()) return 6;
                }
            }
        });
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(150, 900)(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself with " << WEXITSTATUS(status);

        ASSERT_EQ(IntegrityOf(file), "ok") << "round " << round;
        auto library = OpenOrFail(file);
        ASSERT_TRUE(library);
        const std::vector<LibraryRow> rows = library->List().Value;
        // Whole imports only: the rows beyond the edited one come in runs of a batch.
        ASSERT_GE(rows.size(), expectedRows);
        EXPECT_EQ((rows.size() - 1) % kBatchRows, 0u) << "round " << round << ": " << rows.size() << " rows";
        expectedRows = rows.size();
        // The edited birth's columns agree with its stored birth file.
        const LibraryResult<LibraryBirth> birth = library->Get(edited);
        ASSERT_TRUE(birth.Ok()) << birth.Status.Message;
        EXPECT_EQ(birth.Value.Row.Name, birth.Value.Birth.Form.Name);
        EXPECT_EQ(library->List(birth.Value.Row.Name).Value.size(), 1u);
    }
}

TEST(LibraryProcesses, TwoWritersAtOnceLoseNoWrite) {
    TempFolder folder;
    const std::filesystem::path file = folder / "library.sqlite";
    ASSERT_TRUE(OpenOrFail(file));
    constexpr int kAdds = 200;
    // Each writer adds births one transaction at a time and writes down how
    // many went in and how many were refused as busy.
    auto writer = [&](const std::string& name) {
        return [&file, &folder, name] {
            LibraryOptions options;
            options.BusyTimeout = std::chrono::milliseconds(2000);
            auto opened = Library::Open(file, options);
            if (!opened.Opened) return 3;
            int added = 0, busy = 0;
            for (int i = 0; i < kAdds; ++i) {
                const LibraryResult<std::int64_t> result =
                    opened.Opened->Add({velmora::testing::DelhiForm(name), {}}, {name});
                if (result.Ok()) {
                    ++added;
                } else if (result.Status.Fault == LibraryFault::Busy) {
                    ++busy;
                } else {
                    return 4;
                }
            }
            WriteFile(folder / name, std::to_string(added) + " " + std::to_string(busy));
            return 0;
        };
    };
    const pid_t first = Spawn(writer("WRITER ONE"));
    const pid_t second = Spawn(writer("WRITER TWO"));
    ASSERT_EQ(ExitCodeOf(first), 0);
    ASSERT_EQ(ExitCodeOf(second), 0);

    auto library = OpenOrFail(file);
    for (const std::string name : {"WRITER ONE", "WRITER TWO"}) {
        int added = -1, busy = -1;
        std::istringstream(velmora::testing::ReadFile(folder / name)) >> added >> busy;
        EXPECT_EQ(added + busy, kAdds) << name;
        // Every add that reported success is there, and no other.
        EXPECT_EQ(library->List(name).Value.size(), static_cast<std::size_t>(added)) << name;
    }
    EXPECT_EQ(IntegrityOf(file), "ok");
}
