#include "core/batch.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "core/analysis_json.h"

namespace velmora::core {

void AppendBatchError(std::string& out, long line, std::string_view message) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> w(buffer);
    w.StartObject();
    w.Key("line");
    w.Int64(line);
    w.Key("error");
    w.String(message.data(), static_cast<rapidjson::SizeType>(message.size()));
    w.EndObject();
    out.append(buffer.GetString(), buffer.GetSize());
}

bool AppendBatchLine(std::string& out, const CsvRow& row, const std::variant<FormInput, std::string>& form,
                     const AnalysisOptions& options) {
    bool analysed = false;
    if (const auto* message = std::get_if<std::string>(&form)) {
        AppendBatchError(out, row.Line, *message);
    } else {
        const AnalysisOutcome outcome = RunAnalysis(std::get<FormInput>(form), options);
        if (outcome.Rejected) {
            AppendBatchError(out, row.Line, outcome.Rejected->Text);
        } else {
            AppendAnalysisJson(out, outcome.Result, JsonLayout::Compact);
            analysed = true;
        }
    }
    out.push_back('\n');
    return analysed;
}

bool AppendBatchLine(CompactJsonLines& out, const CsvRow& row, const std::variant<FormInput, std::string>& form,
                     const AnalysisOptions& options) {
    std::string error;
    if (const auto* message = std::get_if<std::string>(&form)) {
        AppendBatchError(error, row.Line, *message);
        out.AppendLine(error);
        return false;
    }
    const AnalysisOutcome outcome = RunAnalysis(std::get<FormInput>(form), options);
    if (outcome.Rejected) {
        AppendBatchError(error, row.Line, outcome.Rejected->Text);
        out.AppendLine(error);
        return false;
    }
    out.AppendAnalysis(outcome.Result);
    return true;
}

// ------------------------------------------------------------------ runner

namespace {

constexpr std::size_t kRowsPerChunk = 256;
constexpr std::size_t kReadSize = 1 << 16;

struct Chunk {
    std::vector<CsvRow> Rows;
    std::vector<std::variant<FormInput, std::string>> Forms;
    CompactJsonLines Out;  // the rows' lines, written straight into one buffer
    std::string Text;      // or the rows in another format's shape
    std::string Errors;    // and that format's refusals
    std::uint64_t RowCount = 0;
    std::uint64_t Analysed = 0;
    std::uint64_t BytesRead = 0;  // of the input, when this chunk was cut
    bool Done = false;            // guarded by the pool's mutex
};

void Analyse(Chunk& chunk, const AnalysisOptions& options, const BatchRowFormat* format) {
    for (std::size_t i = 0; i < chunk.Rows.size(); ++i) {
        const bool analysed = format
                                  ? format->AppendRow(chunk.Text, chunk.Errors, chunk.Rows[i], chunk.Forms[i], options)
                                  : AppendBatchLine(chunk.Out, chunk.Rows[i], chunk.Forms[i], options);
        if (analysed) ++chunk.Analysed;
    }
    // The rows are no longer needed; free them on this thread.
    std::vector<CsvRow>().swap(chunk.Rows);
    std::vector<std::variant<FormInput, std::string>>().swap(chunk.Forms);
}

// Analyses chunks on worker threads; the caller collects them in order.
class Pool {
public:
    Pool(int threads, const AnalysisOptions& options, const BatchRowFormat* format)
        : options_(options), format_(format) {
        for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
    }
    ~Pool() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : workers_) t.join();
    }
    void Submit(Chunk* chunk) {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(chunk);
        }
        wake_.notify_one();
    }
    // Drops the chunks no thread has begun.
    void Cancel() {
        std::lock_guard lock(mutex_);
        queue_.clear();
    }
    void WaitFor(Chunk* chunk) {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [chunk] { return chunk->Done; });
    }

private:
    void Work() {
        for (;;) {
            Chunk* chunk = nullptr;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
                if (queue_.empty()) return;
                chunk = queue_.front();
                queue_.pop_front();
            }
            Analyse(*chunk, options_, format_);
            {
                std::lock_guard lock(mutex_);
                chunk->Done = true;
            }
            done_.notify_all();
        }
    }

    const AnalysisOptions& options_;
    const BatchRowFormat* format_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<Chunk*> queue_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace

BatchSummary RunBatch(const BatchIo& io, const AnalysisOptions& options, int jobs) {
    BatchSummary summary;
    CsvRowReader reader;
    std::vector<CsvRow> rows;
    std::optional<BatchColumns> columns;
    std::uint64_t bytesRead = 0;
    BatchProgress progress;

    std::unique_ptr<Pool> pool;
    if (jobs > 1) pool = std::make_unique<Pool>(jobs, options, io.Format);
    std::deque<std::unique_ptr<Chunk>> pending;
    // Two chunks a thread keep every thread busy while the oldest is
    // written; the rows in flight stay within kBatchRowsInFlight.
    const std::size_t threads = static_cast<std::size_t>(std::max(jobs, 1));
    const std::size_t rowsPerChunk = std::clamp<std::size_t>(kBatchRowsInFlight / (2 * threads), 8, kRowsPerChunk);
    const std::size_t maxPending = std::max<std::size_t>(1, kBatchRowsInFlight / rowsPerChunk);
    bool stopped = false;
    // Output buffers of chunks already written, for the next chunks: a
    // buffer of a few megabytes made anew for every chunk would cost its
    // pages' faults each time.
    std::vector<CompactJsonLines> spareOutputs;
    std::vector<std::string> spareTexts;  // the same for another format's rows

    // Writes the oldest chunk, once it is done.
    auto finishFront = [&] {
        Chunk& front = *pending.front();
        if (pool) pool->WaitFor(&front);
        const bool written = io.Format ? io.Write(front.Text) : io.Write(front.Out.Text());
        if (!written) {
            summary.WriteFailed = true;
            stopped = true;
            return;
        }
        if (io.Format && !front.Errors.empty() && io.WriteErrors) io.WriteErrors(front.Errors);
        summary.Analysed += front.Analysed;
        summary.Rows += front.RowCount;
        progress.Rows += front.RowCount;
        progress.BytesRead = front.BytesRead;
        if (io.Progress) io.Progress(progress);
        front.Out.Clear();
        spareOutputs.push_back(std::move(front.Out));
        front.Text.clear();
        spareTexts.push_back(std::move(front.Text));
        pending.pop_front();
    };
    // Turns the rows read so far into chunks (forms prepared here, on the
    // calling thread, so the atlas is read from one thread only).
    auto dispatch = [&](bool all) {
        std::size_t start = 0;
        if (!columns && !rows.empty()) {
            auto header = ColumnsOfHeader(rows.front());
            if (auto* failure = std::get_if<std::string>(&header)) {
                summary.Failure = *failure;
                return false;
            }
            columns = std::get<BatchColumns>(header);
            start = 1;
            if (io.Format) io.Write(io.Format->Header);
        }
        while (!stopped && (rows.size() - start >= rowsPerChunk || (all && rows.size() > start))) {
            const std::size_t n = std::min(rowsPerChunk, rows.size() - start);
            auto chunk = std::make_unique<Chunk>();
            if (!spareOutputs.empty()) {
                chunk->Out = std::move(spareOutputs.back());
                spareOutputs.pop_back();
            }
            if (!spareTexts.empty()) {
                chunk->Text = std::move(spareTexts.back());
                spareTexts.pop_back();
            }
            chunk->Rows.assign(std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(start)),
                               std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(start + n)));
            chunk->Forms.reserve(n);
            for (const CsvRow& row : chunk->Rows) chunk->Forms.push_back(FormOfRow(row, *columns));
            chunk->BytesRead = bytesRead;
            chunk->RowCount = n;
            start += n;
            if (pool) {
                while (!stopped && pending.size() >= maxPending) finishFront();
                if (stopped) break;
                pool->Submit(chunk.get());
                pending.push_back(std::move(chunk));
            } else {
                Analyse(*chunk, options, io.Format);
                pending.push_back(std::move(chunk));
                finishFront();
            }
        }
        rows.erase(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(start));
        return !stopped;
    };

    std::vector<char> buffer(kReadSize);
    bool ok = true;
    for (;;) {
        const std::size_t n = io.Read(buffer.data(), buffer.size());
        if (n == 0) break;
        bytesRead += n;
        reader.Feed(std::string_view(buffer.data(), n), rows);
        if (!(ok = dispatch(false))) break;
    }
    if (ok) {
        // A quote left open at the end refuses its row only.
        reader.Finish(rows);
        dispatch(true);
    }
    while (!stopped && !pending.empty()) finishFront();
    if (stopped && pool) {
        // Nothing more is written: let the threads finish what they hold.
        pool->Cancel();
        pool.reset();
    }
    summary.Refused = summary.Rows - summary.Analysed;
    if (!columns && summary.Failure.empty() && !summary.WriteFailed)
        summary.Failure = "the input is empty: a batch's first line names the columns (" +
                          std::string(kBatchColumnsHint) + "), each line after it is a birth";
    return summary;
}

}  // namespace velmora::core