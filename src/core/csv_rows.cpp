#include "core/csv_rows.h"

#include <csv.h>

#include <cstring>

namespace velmora::core {

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

}  // namespace velmora::core
