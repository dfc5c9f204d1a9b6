#pragma once

#include <date/tz.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Posix {
class time_zone;
}

namespace velmora::core {

// The end of a TZif file (RFC 8536, versions 2 and later): the moment of its
// last explicit transition and the POSIX TZ rule ("EST5EDT,M3.2.0,M11.1.0")
// that gives every later change. Debian's files list transitions up to 2037
// only; the rule carries the clocks on from there.
struct TzifTail {
    std::optional<std::int64_t> LastTransition;  // seconds since 1970-01-01 UT; none without transitions
    std::string Rule;                            // empty when the file gives none
};

// Reads the tail of a TZif file's bytes. Nothing, and why in error when
// given, for bytes that are not a whole TZif file; a version 1 file has no
// rule and yields an empty Rule.
std::optional<TzifTail> ReadTzifTail(std::string_view bytes, std::string* error = nullptr);

// POSIX TZ rules may give the time of day of a change as negative
// ("M3.5.0/-1", Greenland: 23:00 the evening before). Date's Posix reader
// takes only times from 0 on, so the rule is rewritten with every time of day
// and both offsets moved later by `shift`: the changes fall on the same
// universal moments, and local times and offsets read from the rewritten
// rule are `shift` ahead. The rule itself when nothing needs moving;
// nothing when the text is not a rule this reader understands.
std::optional<std::string> RuleWithoutNegativeTimes(std::string_view rule, std::chrono::seconds& shift);

// One zone's clocks at every moment: the system database's explicit
// transitions (Howard Hinnant's date/tz) up to the file's last one, the
// file's POSIX rule (date/ptz.h) after it. The file is read the first time a
// moment past the database's last change is asked for. One thread at a time.
class ZoneHistory {
public:
    // `tzifPath`: the zone's TZif file; empty for none (the last offset of
    // the database then holds for ever).
    ZoneHistory(const date::time_zone* zone, std::string tzifPath);
    // With the file's tail already read.
    ZoneHistory(const date::time_zone* zone, std::optional<TzifTail> tail);
    ~ZoneHistory();
    ZoneHistory(ZoneHistory&&) noexcept;
    ZoneHistory& operator=(ZoneHistory&&) noexcept;

    // The offset or offsets a local clock time has: unique, ambiguous (the
    // clocks went back: first is the earlier) or nonexistent (they went
    // forward: first is the offset before the change, second the one after).
    date::local_info Info(date::local_seconds local);
    // The offset in force at a universal moment.
    date::sys_info Info(date::sys_seconds moment);

    const date::time_zone& Zone() const { return *zone_; }
    // Whether moments after the last transition follow the file's rule.
    bool FollowsRule();

private:
    // Reads the file's rule, once.
    bool HasRule();
    void Take(std::optional<TzifTail> tail);
    date::local_info RuleInfo(date::local_seconds local) const;
    date::sys_info RuleInfo(date::sys_seconds moment) const;

    const date::time_zone* zone_;
    std::string tzifPath_;  // emptied once read
    std::unique_ptr<Posix::time_zone> rule_;
    std::chrono::seconds shift_{0};  // see RuleWithoutNegativeTimes
    date::sys_seconds ruleFrom_{};   // the last explicit transition
};

// The zones of a zoneinfo folder, each read once and kept.
class ZoneRules {
public:
    static constexpr std::string_view kSystemFolder = "/usr/share/zoneinfo";

    // The folder the TZif files are read from; the explicit transitions
    // always come from the date library's own (the system) database.
    explicit ZoneRules(std::string zoneinfoFolder = std::string(kSystemFolder));

    // The zone, or nullptr when the database does not know the id.
    ZoneHistory* Find(std::string_view zoneId);

private:
    std::string folder_;
    std::map<std::string, std::optional<ZoneHistory>, std::less<>> zones_;  // nothing: an unknown id
};

}  // namespace velmora::core
