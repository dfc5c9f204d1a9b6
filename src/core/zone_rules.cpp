#include "core/zone_rules.h"

#include <date/date.h>

// Under C++20 ptz.h's own use of hh_mm_ss is ambiguous between date's and
// std::chrono's (both namespaces are brought in there); naming date's in
// its namespace settles it.
namespace Posix {
using date::hh_mm_ss;
}

#include <date/ptz.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <limits>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace velmora::core {

namespace {

using std::chrono::seconds;

// Big-endian fields of a TZif file.
std::uint32_t Unsigned32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::int64_t Signed64(std::string_view bytes, std::size_t at) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return static_cast<std::int64_t>(value);
}

// A TZif header: "TZif", the version, 15 reserved bytes and six counts.
constexpr std::size_t kHeaderSize = 44;

struct TzifCounts {
    std::uint64_t IsUt, IsStd, Leap, Time, Type, Chars;
};

std::optional<TzifCounts> CountsAt(std::string_view bytes, std::size_t at) {
    if (bytes.size() < at || bytes.size() - at < kHeaderSize || bytes.substr(at, 4) != "TZif") return std::nullopt;
    return TzifCounts{Unsigned32(bytes, at + 20), Unsigned32(bytes, at + 24), Unsigned32(bytes, at + 28),
                      Unsigned32(bytes, at + 32), Unsigned32(bytes, at + 36), Unsigned32(bytes, at + 40)};
}

// The bytes of a data block after its header; `timeSize` is 4 in the
// version 1 block and 8 in the later one. The counts are at most 2^32 - 1
// each, so the sum cannot overflow 64 bits.
std::uint64_t DataSize(const TzifCounts& c, std::uint64_t timeSize) {
    return c.Time * timeSize + c.Time + c.Type * 6 + c.Chars + c.Leap * (timeSize + 4) + c.IsStd + c.IsUt;
}

// The POSIX TZ grammar, as far as the rewriting needs it.
struct RuleText {
    std::string_view Text;
    std::size_t At = 0;

    bool Done() const { return At == Text.size(); }
    char Peek() const { return Done() ? '\0' : Text[At]; }

    // A zone name: "<...>" or three or more letters. Returned as written.
    std::optional<std::string_view> Name() {
        const std::size_t start = At;
        if (Peek() == '<') {
            const std::size_t close = Text.find('>', At);
            if (close == std::string_view::npos) return std::nullopt;
            At = close + 1;
        } else {
            while (!Done() && std::isalpha(static_cast<unsigned char>(Peek()))) ++At;
        }
        if (At - start < 3) return std::nullopt;
        return Text.substr(start, At - start);
    }

    // [+-]hh[:mm[:ss]], hours of up to three digits; in seconds.
    std::optional<long> Time() {
        long sign = 1;
        if (Peek() == '+' || Peek() == '-') sign = Text[At++] == '-' ? -1 : 1;
        long total = 0;
        for (int part = 0; part < 3; ++part) {
            if (part > 0 && Peek() != ':') return sign * total * (part == 1 ? 3600 : 60);
            if (part > 0) ++At;
            const std::size_t start = At;
            long value = 0;
            while (!Done() && std::isdigit(static_cast<unsigned char>(Peek())) && At - start < 3)
                value = value * 10 + (Text[At++] - '0');
            if (At == start) return std::nullopt;
            total = total * 60 + value;
        }
        return sign * total;
    }

    // Jn, n or Mm.w.d: returned as written.
    std::optional<std::string_view> Date() {
        const std::size_t start = At;
        if (Peek() == 'J' || Peek() == 'M') ++At;
        while (!Done() && (std::isdigit(static_cast<unsigned char>(Peek())) || Peek() == '.')) ++At;
        if (At == start || (At == start + 1 && !std::isdigit(static_cast<unsigned char>(Text[start]))))
            return std::nullopt;
        return Text.substr(start, At - start);
    }
};

// [-]h[:mm[:ss]], as short as the value allows.
std::string TimeText(long total) {
    const long magnitude = total < 0 ? -total : total;
    const long minutes = magnitude / 60 % 60;
    const long secs = magnitude % 60;
    char text[32];
    if (secs != 0)
        std::snprintf(text, sizeof text, "%s%ld:%02ld:%02ld", total < 0 ? "-" : "", magnitude / 3600, minutes, secs);
    else if (minutes != 0)
        std::snprintf(text, sizeof text, "%s%ld:%02ld", total < 0 ? "-" : "", magnitude / 3600, minutes);
    else
        std::snprintf(text, sizeof text, "%s%ld", total < 0 ? "-" : "", magnitude / 3600);
    return text;
}

// A TZif file is a few kilobytes; anything past 1 MiB is not one.
constexpr std::size_t kMaxTzifBytes = 1 << 20;

std::string ReadFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    std::string bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0 || bytes.size() + static_cast<std::size_t>(got) > kMaxTzifBytes) {
            if (got != 0) bytes.clear();
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

// The database's last period runs to the end of its calendar; only there
// can the rule say something else.
bool IsLastPeriod(const date::sys_info& info) {
    return info.end >= date::sys_days{date::year{9999} / date::January / 1};
}

// A zone id names a file under the folder: no absolute paths, no "..".
bool IsPlainId(std::string_view id) {
    if (id.empty() || id.front() == '/') return false;
    std::size_t start = 0;
    while (start <= id.size()) {
        const std::size_t end = std::min(id.find('/', start), id.size());
        const std::string_view part = id.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

std::optional<TzifTail> ReadTzifTail(std::string_view bytes, std::string* error) {
    const auto fail = [error](const char* why) -> std::optional<TzifTail> {
        if (error) *error = why;
        return std::nullopt;
    };
    const std::optional<TzifCounts> first = CountsAt(bytes, 0);
    if (!first) return fail("not a TZif file");
    const std::uint64_t firstEnd = kHeaderSize + DataSize(*first, 4);
    if (firstEnd > bytes.size()) return fail("the TZif file is cut short");
    TzifTail tail;
    if (bytes[4] == '\0') {
        // Version 1: 32-bit times and no rule.
        if (first->Time > 0)
            tail.LastTransition = static_cast<std::int32_t>(Unsigned32(bytes, kHeaderSize + (first->Time - 1) * 4));
        return tail;
    }
    const std::optional<TzifCounts> second = CountsAt(bytes, static_cast<std::size_t>(firstEnd));
    if (!second) return fail("the TZif file has no second header");
    const std::uint64_t dataStart = firstEnd + kHeaderSize;
    const std::uint64_t dataEnd = dataStart + DataSize(*second, 8);
    if (dataEnd > bytes.size()) return fail("the TZif file is cut short");
    if (second->Time > 0)
        tail.LastTransition = Signed64(bytes, static_cast<std::size_t>(dataStart + (second->Time - 1) * 8));
    // The footer: a newline, the rule (possibly empty), a newline.
    std::string_view footer = bytes.substr(static_cast<std::size_t>(dataEnd));
    if (footer.size() < 2 || footer.front() != '\n') return fail("the TZif file has no footer");
    footer.remove_prefix(1);
    const std::size_t end = footer.find('\n');
    if (end == std::string_view::npos) return fail("the TZif footer is not closed");
    tail.Rule = std::string(footer.substr(0, end));
    return tail;
}

std::optional<std::string> RuleWithoutNegativeTimes(std::string_view rule, seconds& shift) {
    shift = seconds{0};
    RuleText text{rule};
    // Pieces to write back: names and dates as they are, offsets and times
    // as numbers to move.
    struct Piece {
        std::string_view Verbatim;
        std::optional<long> Offset;  // POSIX offset: west of Greenwich positive
        std::optional<long> Time;    // time of day of a change
    };
    std::vector<Piece> pieces;
    const auto name = text.Name();
    const auto offset = text.Time();
    if (!name || !offset) return std::nullopt;
    pieces.push_back({*name, offset, std::nullopt});
    long earliest = 0;
    if (!text.Done()) {
        const auto dstName = text.Name();
        if (!dstName) return std::nullopt;
        pieces.push_back({*dstName, std::nullopt, std::nullopt});
        // The summer offset defaults to an hour ahead of standard time.
        const std::optional<long> dstOffset = text.Peek() == ',' || text.Done() ? *offset - 3600 : text.Time();
        if (!dstOffset) return std::nullopt;
        pieces.push_back({{}, dstOffset, std::nullopt});
        // Both changes or neither.
        for (int change = 0; change < 2 && (change == 1 || !text.Done()); ++change) {
            if (text.Peek() != ',') return std::nullopt;
            ++text.At;
            const auto date = text.Date();
            if (!date) return std::nullopt;
            long time = 7200;  // 02:00 unless given
            if (text.Peek() == '/') {
                ++text.At;
                const auto given = text.Time();
                if (!given) return std::nullopt;
                time = *given;
            }
            earliest = std::min(earliest, time);
            pieces.push_back({*date, std::nullopt, time});
        }
    }
    if (!text.Done()) return std::nullopt;
    if (earliest >= 0) return std::string(rule);

    const long moved = (-earliest + 3599) / 3600 * 3600;
    shift = seconds{moved};
    std::string out;
    for (const Piece& piece : pieces) {
        if (piece.Time) {
            out += ",";
            out += piece.Verbatim;
            out += '/';
            out += TimeText(*piece.Time + moved);
        } else {
            out += piece.Verbatim;
            if (piece.Offset) out += TimeText(*piece.Offset - moved);
        }
    }
    return out;
}

ZoneHistory::ZoneHistory(const date::time_zone* zone, std::string tzifPath)
    : zone_(zone), tzifPath_(std::move(tzifPath)) {}

ZoneHistory::ZoneHistory(const date::time_zone* zone, std::optional<TzifTail> tail) : zone_(zone) {
    Take(std::move(tail));
}

void ZoneHistory::Take(std::optional<TzifTail> tail) {
    if (!tail || tail->Rule.empty() || !tail->LastTransition) return;
    const std::optional<std::string> rule = RuleWithoutNegativeTimes(tail->Rule, shift_);
    if (!rule) return;
    try {
        rule_ = std::make_unique<Posix::time_zone>(*rule);
    } catch (const std::exception&) {
        // A rule the reader cannot take: the database's last offset stays,
        // as it would without the rule.
        rule_.reset();
        return;
    }
    ruleFrom_ = date::sys_seconds{seconds{*tail->LastTransition}};
}

bool ZoneHistory::HasRule() {
    if (!tzifPath_.empty()) {
        Take(ReadTzifTail(ReadFile(tzifPath_)));
        tzifPath_.clear();
    }
    return rule_ != nullptr;
}

bool ZoneHistory::FollowsRule() { return HasRule(); }

ZoneHistory::~ZoneHistory() = default;
ZoneHistory::ZoneHistory(ZoneHistory&&) noexcept = default;
ZoneHistory& ZoneHistory::operator=(ZoneHistory&&) noexcept = default;

namespace {

// ptz.h answers a rule without summer time ("HST10") with a sys_info whose
// save it never sets (Posix::time_zone::contant_offset declares it without
// an initialiser): such an answer spans all time, and its save is zero.
void SettleConstantOffset(date::sys_info& info) {
    if (info.begin == date::sys_days{date::year::min() / date::January / 1}) info.save = std::chrono::minutes{0};
}

}  // namespace

date::local_info ZoneHistory::RuleInfo(date::local_seconds local) const {
    date::local_info info = rule_->get_info(local + shift_);
    SettleConstantOffset(info.first);
    SettleConstantOffset(info.second);
    info.first.offset -= shift_;
    info.second.offset -= shift_;
    return info;
}

date::sys_info ZoneHistory::RuleInfo(date::sys_seconds moment) const {
    date::sys_info info = rule_->get_info(moment);
    SettleConstantOffset(info);
    info.offset -= shift_;
    return info;
}

date::local_info ZoneHistory::Info(date::local_seconds local) {
    date::local_info listed = zone_->get_info(local);
    // Past the last transition the database holds its last offset for
    // ever; the rule knows better. The rule agrees with that last offset
    // when it takes over (RFC 8536 3.3), so the hand-over is seamless.
    if (listed.result != date::local_info::unique || !IsLastPeriod(listed.first) || !HasRule()) return listed;
    if (date::sys_seconds{local.time_since_epoch() - listed.first.offset} < ruleFrom_) return listed;
    return RuleInfo(local);
}

date::sys_info ZoneHistory::Info(date::sys_seconds moment) {
    date::sys_info listed = zone_->get_info(moment);
    if (!IsLastPeriod(listed) || !HasRule() || moment < ruleFrom_) return listed;
    return RuleInfo(moment);
}

ZoneRules::ZoneRules(std::string zoneinfoFolder) : folder_(std::move(zoneinfoFolder)) {}

ZoneHistory* ZoneRules::Find(std::string_view zoneId) {
    if (const auto known = zones_.find(zoneId); known != zones_.end()) return known->second ? &*known->second : nullptr;
    const std::string id(zoneId);
    const date::time_zone* zone = nullptr;
    try {
        zone = date::locate_zone(id);
    } catch (const std::exception&) {
        zone = nullptr;
    }
    std::optional<ZoneHistory> history;
    if (zone != nullptr) history.emplace(zone, IsPlainId(id) ? folder_ + "/" + id : std::string());
    const auto stored = zones_.emplace(id, std::move(history)).first;
    return stored->second ? &*stored->second : nullptr;
}

}  // namespace velmora::core
