#include "core/batch.h"

#include <csv.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "core/atlas.h"
#include "core/birth_file.h"
#include "core/input_filters.h"
#include "core/json_report.h"
#include "core/place_zone.h"
#include "core/text_numbers.h"
#include "core/zones.h"

namespace velmora {

// ---------------------------------------------------------------- CSV rows

struct CsvRowReader::State {
    csv_parser parser{};
    std::vector<CsvRow>* out = nullptr;
    CsvRow row;
    std::string head;  // the first bytes, until the byte order mark is settled
    bool headSettled = false;
    long line = 1;      // the physical line being fed
    long rowStart = 1;  // where the row in progress began
    bool atLineStart = true;
    bool rowInProgress = false;
    bool lineHasContent = false;
    bool rowEndedOnLine = false;
    bool pendingCarriageReturn = false;  // the last feed ended in a line break's '\r'

    static void OnField(void* text, std::size_t length, void* data) {
        auto* s = static_cast<State*>(data);
        s->row.Fields.emplace_back(static_cast<const char*>(text), length);
    }
    static void OnRowEnd(int, void* data) {
        auto* s = static_cast<State*>(data);
        s->row.Line = s->rowStart;
        s->out->push_back(std::move(s->row));
        s->row = CsvRow{};
        s->rowEndedOnLine = true;
    }

    // Feeds bytes that hold at most one line break ("\n", "\r\n" or a lone
    // "\r", as the CSV reader takes them all), at their end.
    void FeedSegment(std::string_view segment) {
        if (pendingCarriageReturn && segment == "\n") {
            // The rest of a "\r\n" cut between two feeds: that line was
            // counted at its "\r".
            pendingCarriageReturn = false;
            csv_parse(&parser, segment.data(), segment.size(), OnField, OnRowEnd, this);
            return;
        }
        const bool endsLine = !segment.empty() && (segment.back() == '\n' || segment.back() == '\r');
        pendingCarriageReturn = !segment.empty() && segment.back() == '\r';
        if (atLineStart && !rowInProgress) rowStart = line;
        atLineStart = false;
        for (char c : segment) {
            if (c != '\n' && c != '\r') {
                lineHasContent = true;
                break;
            }
        }
        csv_parse(&parser, segment.data(), segment.size(), OnField, OnRowEnd, this);
        if (endsLine) {
            // A row that ended here is done; one that has begun and not
            // ended runs on (a quoted line break); a blank line changes
            // nothing.
            if (rowEndedOnLine) {
                rowInProgress = false;
            } else if (lineHasContent) {
                rowInProgress = true;
            }
            ++line;
            atLineStart = true;
            lineHasContent = false;
            rowEndedOnLine = false;
        }
    }

    void FeedLines(std::string_view bytes) {
        while (!bytes.empty()) {
            std::size_t n = bytes.find_first_of("\r\n");
            if (n == std::string_view::npos) {
                n = bytes.size();
            } else if (bytes[n] == '\r' && n + 1 < bytes.size() && bytes[n + 1] == '\n') {
                n += 2;
            } else {
                n += 1;
            }
            FeedSegment(bytes.substr(0, n));
            bytes.remove_prefix(n);
        }
    }

    void Settle() {
        headSettled = true;
        std::string_view start = head;
        if (start.substr(0, 3) == "\xEF\xBB\xBF") start.remove_prefix(3);
        FeedLines(start);
        head.clear();
    }
};

CsvRowReader::CsvRowReader() : state_(std::make_unique<State>()) {
    csv_init(&state_->parser, CSV_STRICT_FINI | CSV_APPEND_NULL);
}

CsvRowReader::~CsvRowReader() { csv_free(&state_->parser); }

void CsvRowReader::Feed(std::string_view bytes, std::vector<CsvRow>& rows) {
    State& s = *state_;
    s.out = &rows;
    if (!s.headSettled) {
        const std::size_t wanted = std::min<std::size_t>(3 - s.head.size(), bytes.size());
        s.head.append(bytes.substr(0, wanted));
        bytes.remove_prefix(wanted);
        if (s.head.size() < 3) return;
        s.Settle();
    }
    s.FeedLines(bytes);
}

bool CsvRowReader::Finish(std::vector<CsvRow>& rows) {
    State& s = *state_;
    s.out = &rows;
    if (!s.headSettled) s.Settle();
    if (s.atLineStart && !s.rowInProgress) s.rowStart = s.line;
    return csv_fini(&s.parser, State::OnField, State::OnRowEnd, &s) == 0;
}

// ----------------------------------------------------------------- columns

namespace {

std::string Folded(std::string_view text) {
    text = text.substr(0, text.find_last_not_of(" \t") + 1);
    text.remove_prefix(std::min(text.size(), text.find_first_not_of(" \t")));
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view Field(const CsvRow& row, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= row.Fields.size()) return {};
    return row.Fields[static_cast<std::size_t>(column)];
}

std::optional<bool> DstValue(std::string_view text) {
    const std::string folded = Folded(text);
    if (folded.empty() || folded == "0" || folded == "false" || folded == "no") return false;
    if (folded == "1" || folded == "true" || folded == "yes") return true;
    return std::nullopt;
}

}  // namespace

std::variant<BatchColumns, std::string> ColumnsOfHeader(const CsvRow& header) {
    BatchColumns c;
    const std::pair<std::string_view, int*> names[] = {
        {"name", &c.Name},   {"date", &c.Date},       {"time", &c.Time},   {"zone", &c.Zone},
        {"dst", &c.Dst},     {"lat", &c.Lat},         {"lon", &c.Lon},     {"city", &c.City},
        {"state", &c.State}, {"country", &c.Country}, {"place", &c.Place}, {"utc_offset", &c.UtcOffset}};
    for (std::size_t i = 0; i < header.Fields.size(); ++i) {
        const std::string name = Folded(header.Fields[i]);
        for (const auto& [known, column] : names) {
            if (name == known && *column == BatchColumns::kAbsent) *column = static_cast<int>(i);
        }
    }
    for (const auto& [known, column] : {std::pair{"name", c.Name}, {"date", c.Date}, {"time", c.Time}}) {
        if (column == BatchColumns::kAbsent)
            return "the header row has no \"" + std::string(known) +
                   "\" column (expected name,date,time,zone,dst,lat,lon,city,state,country)";
    }
    return c;
}

std::variant<FormInput, std::string> FormOfRow(const CsvRow& row, const BatchColumns& columns) {
    FormInput form;
    const std::optional<std::string> name = FilterNameText(Field(row, columns.Name));
    if (!name) return std::string(kOnlyLettersMessage);
    form.Name = *name;
    if (auto failed = SetDateText(form, Field(row, columns.Date))) return "date: " + *failed;
    if (auto failed = SetTimeText(form, Field(row, columns.Time))) return "time: " + *failed;

    const std::string_view place = Field(row, columns.Place);
    if (!place.empty()) {
        const std::optional<Place> found = Atlas::Instance().Find(place);
        if (!found) return "place: the atlas holds no place " + Quoted(place);
        const PlaceZoneOutcome outcome = ApplyPlace(form, *found);
        if (outcome.Refusal) return outcome.Refusal->Text;
        return form;
    }

    const std::string_view zone = Field(row, columns.Zone);
    if (!zone.empty()) {
        int value = 0;
        bool digits = zone.size() <= 4;
        for (char c : zone) {
            digits = digits && c >= '0' && c <= '9';
            value = value * 10 + (c - '0');
        }
        if (!digits)
            return "zone: a row of the zone list, 0 to " + std::to_string(kZoneCount - 1) + ", not " + Quoted(zone);
        form.ZoneRow = value;
    }
    const std::optional<bool> dst = DstValue(Field(row, columns.Dst));
    if (!dst) return "dst: 1, 0, true, false, yes, no or empty, not " + Quoted(Field(row, columns.Dst));
    form.DaylightSaving = *dst;
    const std::string_view offset = Field(row, columns.UtcOffset);
    if (!offset.empty()) {
        const std::optional<int> minutes = ParseUtcOffset(offset);
        if (!minutes) return "utc_offset: like +05:45, within 18 hours, not " + Quoted(offset);
        form.ExactUtcOffsetMinutes = minutes;
        form.DaylightSaving = false;
    }
    // Empty coordinates stay empty: the window's checks name them.
    if (const std::string_view lat = Field(row, columns.Lat); !lat.empty()) {
        if (auto failed = SetLatitudeText(form, lat)) return "lat: " + *failed;
    }
    if (const std::string_view lon = Field(row, columns.Lon); !lon.empty()) {
        if (auto failed = SetLongitudeText(form, lon)) return "lon: " + *failed;
    }
    form.City = Field(row, columns.City);
    form.State = Field(row, columns.State);
    form.Country = Field(row, columns.Country);
    return form;
}

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
    std::uint64_t RowCount = 0;
    std::uint64_t Analysed = 0;
    std::uint64_t BytesRead = 0;  // of the input, when this chunk was cut
    bool Done = false;            // guarded by the pool's mutex
};

void Analyse(Chunk& chunk, const AnalysisOptions& options) {
    for (std::size_t i = 0; i < chunk.Rows.size(); ++i) {
        if (AppendBatchLine(chunk.Out, chunk.Rows[i], chunk.Forms[i], options)) ++chunk.Analysed;
    }
    // The rows are no longer needed; free them on this thread.
    std::vector<CsvRow>().swap(chunk.Rows);
    std::vector<std::variant<FormInput, std::string>>().swap(chunk.Forms);
}

// Analyses chunks on worker threads; the caller collects them in order.
class Pool {
public:
    Pool(int threads, const AnalysisOptions& options) : options_(options) {
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
            Analyse(*chunk, options_);
            {
                std::lock_guard lock(mutex_);
                chunk->Done = true;
            }
            done_.notify_all();
        }
    }

    const AnalysisOptions& options_;
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
    if (jobs > 1) pool = std::make_unique<Pool>(jobs, options);
    std::deque<std::unique_ptr<Chunk>> pending;
    const std::size_t maxPending = static_cast<std::size_t>(std::max(jobs, 1)) * 4;
    // Output buffers of chunks already written, for the next chunks: a
    // buffer of a few megabytes made anew for every chunk would cost its
    // pages' faults each time.
    std::vector<CompactJsonLines> spareOutputs;

    // Writes the oldest chunk, once it is done.
    auto finishFront = [&] {
        Chunk& front = *pending.front();
        if (pool) pool->WaitFor(&front);
        io.Write(front.Out.Text());
        summary.Analysed += front.Analysed;
        progress.Rows += front.RowCount;
        progress.BytesRead = front.BytesRead;
        if (io.Progress) io.Progress(progress);
        front.Out.Clear();
        spareOutputs.push_back(std::move(front.Out));
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
        }
        while (rows.size() - start >= kRowsPerChunk || (all && rows.size() > start)) {
            const std::size_t n = std::min(kRowsPerChunk, rows.size() - start);
            auto chunk = std::make_unique<Chunk>();
            if (!spareOutputs.empty()) {
                chunk->Out = std::move(spareOutputs.back());
                spareOutputs.pop_back();
            }
            chunk->Rows.assign(std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(start)),
                               std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(start + n)));
            chunk->Forms.reserve(n);
            for (const CsvRow& row : chunk->Rows) chunk->Forms.push_back(FormOfRow(row, *columns));
            chunk->BytesRead = bytesRead;
            chunk->RowCount = n;
            summary.Rows += n;
            start += n;
            if (pool) {
                while (pending.size() >= maxPending) finishFront();
                pool->Submit(chunk.get());
                pending.push_back(std::move(chunk));
            } else {
                Analyse(*chunk, options);
                pending.push_back(std::move(chunk));
                finishFront();
            }
        }
        rows.erase(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(start));
        return true;
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
        // The rows before an unclosed quote are still analysed.
        if (!reader.Finish(rows)) summary.Failure = "the input ends inside a quoted field";
        dispatch(true);
    }
    while (!pending.empty()) finishFront();
    summary.Refused = summary.Rows - summary.Analysed;
    if (!columns && summary.Failure.empty()) summary.Failure = "the input holds no header row";
    return summary;
}

}  // namespace velmora
