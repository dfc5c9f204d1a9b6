#include "cli/batch_command.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "cli/output.h"
#include "core/batch.h"

namespace velmora::cli {

namespace {

using Clock = std::chrono::steady_clock;

// "1:05:09" or "4:07".
std::string Duration(double seconds) {
    const long s = std::lround(seconds);
    char text[32];
    if (s >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    }
    return text;
}

// The bar on a terminal's standard error, redrawn at most ten times a second.
class ProgressBar {
public:
    ProgressBar(bool shown, std::uint64_t totalBytes) : shown_(shown), totalBytes_(totalBytes) {}

    // Wipes the bar's line, so a message can take it.
    void Clear() {
        if (shown_) std::fputs("\r\x1b[K", stderr);
    }

    void Update(const core::BatchProgress& progress, bool final = false) {
        if (!shown_) return;
        const Clock::time_point now = Clock::now();
        if (!final && now - lastDrawn_ < std::chrono::milliseconds(100)) return;
        lastDrawn_ = now;
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        const double rate = elapsed > 0 ? static_cast<double>(progress.Rows) / elapsed : 0;
        std::string line = "\r";
        if (totalBytes_ > 0) {
            const double done =
                std::min(1.0, static_cast<double>(progress.BytesRead) / static_cast<double>(totalBytes_));
            constexpr int kWidth = 30;
            const int filled = static_cast<int>(done * kWidth);
            line += '[';
            line.append(static_cast<std::size_t>(filled), '#');
            line.append(static_cast<std::size_t>(kWidth - filled), ' ');
            line += "] ";
            char percent[16];
            std::snprintf(percent, sizeof percent, "%3d%% ", static_cast<int>(done * 100));
            line += percent;
            if (done > 0 && !final) {
                line += "ETA ";
                line += Duration(elapsed * (1 - done) / done);
                line += "  ";
            }
        }
        char counts[96];
        std::snprintf(counts, sizeof counts, "%llu rows  %.0f rows/s  ", static_cast<unsigned long long>(progress.Rows),
                      rate);
        line += counts;
        line += "\x1b[K";  // clear what a longer line left
        if (final) line += "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
    }

private:
    bool shown_;
    std::uint64_t totalBytes_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastDrawn_{};
};

}  // namespace

namespace {

// The batch from `read`, to standard output.
// A read that fails ends the input and leaves its reason in readError,
// reported with the source's name.
int RunBatchFrom(const std::function<std::size_t(char*, std::size_t)>& read, std::uint64_t totalBytes, int jobs,
                 const core::AnalysisOptions& options, const core::BatchRowFormat* format, const std::string& readError,
                 const char* source) {
    ProgressBar bar(::isatty(STDERR_FILENO) == 1, totalBytes);

    // Each chunk's lines go out in one write; the first that fails stops
    // the batch.
    std::fflush(stdout);
    Output output;
    core::BatchProgress last;

    core::BatchIo io;
    io.Read = read;
    io.Format = format;
    io.WriteErrors = [&bar](std::string_view text) {
        bar.Clear();
        std::fwrite(text.data(), 1, text.size(), stderr);
    };
    io.Write = [&output](std::string_view text) { return output.Write(text); };
    io.Progress = [&bar, &last](const core::BatchProgress& progress) {
        last = progress;
        bar.Update(progress);
    };
    const Clock::time_point start = Clock::now();
    const core::BatchSummary summary = RunBatch(io, options, jobs);
    bar.Update(last, true);

    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!summary.Failure.empty()) std::fprintf(stderr, "velmora-arudha-lagna-cli: %s\n", summary.Failure.c_str());
    if (summary.WriteFailed) {
        // Stopped at the first failed write: the rows counted are those written.
        std::fprintf(stderr, "velmora-arudha-lagna-cli: %s; the batch stopped after %llu rows\n",
                     output.Error().c_str(), static_cast<unsigned long long>(summary.Rows));
        return Output::kExitCannotWrite;
    }
    std::fprintf(stderr, "velmora-arudha-lagna-cli: %llu rows, %llu analysed, %llu refused, in %.1f s (%.0f rows/s)\n",
                 static_cast<unsigned long long>(summary.Rows), static_cast<unsigned long long>(summary.Analysed),
                 static_cast<unsigned long long>(summary.Refused), seconds,
                 seconds > 0 ? static_cast<double>(summary.Rows) / seconds : 0.0);
    if (!readError.empty())
        std::fprintf(stderr, "velmora-arudha-lagna-cli: reading %s failed: %s\n", source, readError.c_str());
    const bool allAnalysed = summary.Failure.empty() && readError.empty() && summary.Refused == 0;
    return allAnalysed ? 0 : 1;
}

}  // namespace

int RunBatchCommand(const QString& path, int jobs, const core::AnalysisOptions& options,
                    const core::BatchRowFormat* format) {
    const bool standardInput = path == QStringLiteral("-");
    const QByteArray localPath = path.toLocal8Bit();
    const int fd = standardInput ? STDIN_FILENO : ::open(localPath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "velmora-arudha-lagna-cli: %s: %s\n", localPath.constData(), std::strerror(errno));
        return 1;
    }
    struct stat info {};
    const std::uint64_t totalBytes =
        ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
    std::string readError;
    const auto read = [fd, &readError](char* buffer, std::size_t size) -> std::size_t {
        for (;;) {
            const ssize_t n = ::read(fd, buffer, size);
            if (n >= 0) return static_cast<std::size_t>(n);
            if (errno != EINTR) {
                readError = std::strerror(errno);
                return 0;
            }
        }
    };
    const int status = RunBatchFrom(read, totalBytes, jobs, options, format, readError, localPath.constData());
    if (!standardInput) ::close(fd);
    return status;
}

int RunBatchOnText(const std::string& csv, int jobs, const core::AnalysisOptions& options,
                   const core::BatchRowFormat* format) {
    std::size_t at = 0;
    const auto read = [&csv, &at](char* buffer, std::size_t size) {
        const std::size_t n = std::min(size, csv.size() - at);
        std::memcpy(buffer, csv.data() + at, n);
        at += n;
        return n;
    };
    return RunBatchFrom(read, csv.size(), jobs, options, format, std::string(), "the library");
}

}  // namespace velmora::cli
