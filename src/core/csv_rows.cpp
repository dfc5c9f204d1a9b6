#include "core/csv_rows.h"

#include <csv.h>
#include <rapidjson/encodings.h>

#include <cstring>

namespace velmora::core {

namespace {

// Where the first line break of `bytes` ends ("\r\n", "\r" or "\n"), or npos.
std::size_t FirstLineEnd(std::string_view bytes) {
    const std::size_t n = bytes.find_first_of("\r\n");
    if (n == std::string_view::npos) return n;
    if (bytes[n] == '\r' && n + 1 < bytes.size() && bytes[n + 1] == '\n') return n + 2;
    return n + 1;
}

// The bytes as rapidjson's decoder reads them, NUL bytes included.
struct ByteStream {
    using Ch = char;
    const char* At;
    const char* End;
    Ch Peek() const { return At < End ? *At : '\0'; }
    Ch Take() { return At < End ? *At++ : '\0'; }
    std::size_t Tell() const { return static_cast<std::size_t>(End - At); }
};

// Well-formed UTF-8 (no overlong forms, surrogates or bytes past U+10FFFF),
// by rapidjson's decoder.
bool ValidUtf8(std::string_view text) {
    ByteStream in{text.data(), text.data() + text.size()};
    while (in.At < in.End) {
        unsigned codePoint = 0;
        if (!rapidjson::UTF8<>::Decode(in, &codePoint)) return false;
    }
    return true;
}

}  // namespace

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
    // The bytes of the row in progress from its first line on: after a
    // refused row that ran over several lines they are read again from its
    // second line, so no row is lost in a wrongly quoted one.
    std::string raw;
    int rowLineBreaks = 0;       // line breaks inside the row in progress
    bool skipToLineEnd = false;  // a refused row's first line is being passed over
    std::string replay;          // bytes to read again before the rest of the input

    State() { csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL); }
    ~State() { csv_free(&parser); }

    static void OnField(void* text, std::size_t length, void* data) {
        auto* s = static_cast<State*>(data);
        s->row.Fields.emplace_back(static_cast<const char*>(text), length);
    }
    static void OnRowEnd(int, void* data) {
        auto* s = static_cast<State*>(data);
        s->row.Line = s->rowStart;
        for (std::size_t i = 0; i < s->row.Fields.size() && s->row.Refusal.empty(); ++i) {
            if (!ValidUtf8(s->row.Fields[i])) {
                s->row.Refusal = "field " + std::to_string(i + 1) + " is not valid UTF-8 (the file must be UTF-8)";
                s->row.Fields.clear();
            }
        }
        s->out->push_back(std::move(s->row));
        s->row = CsvRow{};
        s->rowEndedOnLine = true;
        s->raw.clear();
        s->rowLineBreaks = 0;
    }

    void ResetParser() {
        csv_free(&parser);
        csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL);
        row = CsvRow{};
    }

    // Refuses the row in progress: one output row with the message. A row
    // that began on this line passes over the rest of it; one that ran on
    // from earlier lines is read again from its second line. `segment`: the
    // bytes fed last, `unread`: those after them.
    void Refuse(const std::string& message, std::string_view segment, std::string_view unread) {
        CsvRow refused;
        refused.Line = rowStart;
        refused.Refusal = message;
        out->push_back(std::move(refused));
        ResetParser();
        rowInProgress = false;
        rowEndedOnLine = false;
        lineHasContent = false;
        if (rowLineBreaks == 0) {
            replay = std::string(unread) + replay;
            raw.clear();
            const bool endsLine = !segment.empty() && (segment.back() == '\n' || segment.back() == '\r');
            skipToLineEnd = !endsLine;
            if (endsLine) {
                ++line;
                atLineStart = true;
            }
            return;
        }
        const std::size_t second = FirstLineEnd(raw);
        replay = raw.substr(second) + std::string(unread) + replay;
        raw.clear();
        rowLineBreaks = 0;
        line = rowStart + 1;
        atLineStart = true;
        pendingCarriageReturn = false;
        skipToLineEnd = false;
    }

    // Feeds bytes that hold at most one line break ("\n", "\r\n" or a lone
    // "\r", as the CSV reader takes them all), at their end. False when the
    // row was refused (the caller goes on with the replay).
    bool FeedSegment(std::string_view segment, std::string_view unread) {
        const bool endsLine = !segment.empty() && (segment.back() == '\n' || segment.back() == '\r');
        if (skipToLineEnd) {
            if (pendingCarriageReturn && segment == "\n") {
                pendingCarriageReturn = false;
                return true;
            }
            if (endsLine) {
                skipToLineEnd = false;
                pendingCarriageReturn = segment.back() == '\r';
                ++line;
                atLineStart = true;
            }
            return true;
        }
        if (pendingCarriageReturn && segment == "\n") {
            // The rest of a "\r\n" cut between two feeds: that line was
            // counted at its "\r".
            pendingCarriageReturn = false;
            if (rowInProgress) raw.append(segment);
            csv_parse(&parser, segment.data(), segment.size(), OnField, OnRowEnd, this);
            return true;
        }
        pendingCarriageReturn = !segment.empty() && segment.back() == '\r';
        if (atLineStart && !rowInProgress) rowStart = line;
        atLineStart = false;
        for (char c : segment) {
            if (c != '\n' && c != '\r') {
                lineHasContent = true;
                break;
            }
        }
        raw.append(segment);
        if (raw.size() > kMaxRowBytes) {
            Refuse("the row is longer than 64 KiB (a quote left open?)", segment, unread);
            return false;
        }
        if (csv_parse(&parser, segment.data(), segment.size(), OnField, OnRowEnd, this) != segment.size()) {
            Refuse(
                "a quote opens or closes a field wrongly: a quoted field must be quoted whole (\"New Delhi\"), "
                "a quote inside it doubled (\"\"), and a quote may not stand inside an unquoted field",
                segment, unread);
            return false;
        }
        if (endsLine) {
            // A row that ended here is done; one that has begun and not
            // ended runs on (a quoted line break); a blank line changes
            // nothing.
            if (rowEndedOnLine) {
                rowInProgress = false;
            } else if (lineHasContent) {
                rowInProgress = true;
                ++rowLineBreaks;
            }
            if (!rowInProgress) raw.clear();
            ++line;
            atLineStart = true;
            lineHasContent = false;
            rowEndedOnLine = false;
        }
        return true;
    }

    // Reads the bytes, and whatever a refused row gives back to read again.
    void FeedLines(std::string_view bytes) {
        replay.append(bytes);
        std::string work;
        while (!replay.empty()) {
            work.swap(replay);
            replay.clear();
            std::string_view rest = work;
            while (!rest.empty()) {
                std::size_t n = FirstLineEnd(rest);
                if (n == std::string_view::npos) n = rest.size();
                const std::string_view segment = rest.substr(0, n);
                rest.remove_prefix(n);
                if (!FeedSegment(segment, rest)) break;  // the rest is in replay now
            }
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

CsvRowReader::CsvRowReader() : state_(std::make_unique<State>()) {}

CsvRowReader::~CsvRowReader() = default;

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
    bool whole = true;
    // A quote still open at the end refuses its row; the lines after that
    // row's first are read again, and may end in an open quote themselves.
    while (!s.skipToLineEnd) {
        if (s.atLineStart && !s.rowInProgress) s.rowStart = s.line;
        if (csv_fini(&s.parser, State::OnField, State::OnRowEnd, &s) == 0) break;
        whole = false;
        s.Refuse("a quote opened in this row is never closed", {}, {});
        if (s.replay.empty()) break;
        s.FeedLines({});
    }
    s.skipToLineEnd = false;
    s.ResetParser();
    return whole;
}

}  // namespace velmora::core
