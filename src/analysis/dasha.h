#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>
#include <type_traits>
#include <vector>

#include "analysis/dasha_year.h"

namespace velmora::analysis {

// A moment in universal time: seconds since 1970-01-01 00:00 UT, with a
// fraction. Leap seconds are ignored, as std::chrono::sys_time does.
using UtMoment = std::chrono::sys_time<std::chrono::duration<double>>;

// The moment of a Julian day (JD 2440587.5 is 1970-01-01 00:00 UT).
UtMoment MomentOfJulianDay(double julianDay);

// The universal-time calendar date a moment falls on.
std::chrono::year_month_day UtDateOf(UtMoment moment);

inline constexpr double kDashaDaysPerYear = 365.25;
inline constexpr int kDashaCycleYears = 120;

struct DashaLord {
    std::string_view Name;
    int Years = 0;
};

// The nine lords in their repeating order; the lord of nakshatra n (0-based)
// is entry n mod 9.
inline constexpr std::array<DashaLord, 9> kDashaLords{{{"Ketu", 7},
                                                       {"Venus", 20},
                                                       {"Sun", 6},
                                                       {"Moon", 10},
                                                       {"Mars", 7},
                                                       {"Rahu", 18},
                                                       {"Jupiter", 16},
                                                       {"Saturn", 19},
                                                       {"Mercury", 17}}};

inline constexpr std::array<std::string_view, 27> kNakshatraNames{"Ashwini",
                                                                  "Bharani",
                                                                  "Krittika",
                                                                  "Rohini",
                                                                  "Mrigashira",
                                                                  "Ardra",
                                                                  "Punarvasu",
                                                                  "Pushya",
                                                                  "Ashlesha",
                                                                  "Magha",
                                                                  "Purva Phalguni",
                                                                  "Uttara Phalguni",
                                                                  "Hasta",
                                                                  "Chitra",
                                                                  "Swati",
                                                                  "Vishakha",
                                                                  "Anuradha",
                                                                  "Jyeshtha",
                                                                  "Mula",
                                                                  "Purva Ashadha",
                                                                  "Uttara Ashadha",
                                                                  "Shravana",
                                                                  "Dhanishta",
                                                                  "Shatabhisha",
                                                                  "Purva Bhadrapada",
                                                                  "Uttara Bhadrapada",
                                                                  "Revati"};

// One period, half open: it runs from Start up to, not including, End.
// The dates are the universal-time calendar dates of the two moments.
struct DashaSpan {
    int Lord = 0;  // index into kDashaLords
    std::string_view LordName;
    UtMoment Start{};
    UtMoment End{};
    std::chrono::year_month_day StartDate{};
    std::chrono::year_month_day EndDate{};
};

// A list of at most N values kept in place, for the short lists of periods
// a table holds by the hundred (no allocation each). The room past Count is
// left unwritten: a result holds tables of such lists that most analyses
// never fill, and clearing them all would cost more than filling the few
// that are used. Only plain values (copied byte for byte, nothing to
// destroy) are kept, and a copy takes the values made, not the room.
template <class T, std::size_t N>
struct FixedList {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "the list copies its values byte for byte");

    FixedList() noexcept {}  // NOLINT: the room stays unwritten on purpose
    // Copying bytes makes the values anew (they are plain values).
    FixedList(const FixedList& other) noexcept : Count(other.Count) {
        std::memcpy(room_, other.room_, Count * sizeof(T));
    }
    FixedList& operator=(const FixedList& other) noexcept {
        Count = other.Count;
        std::memmove(room_, other.room_, Count * sizeof(T));
        return *this;
    }

    std::size_t Count = 0;

    void push_back(const T& value) { ::new (Slot(Count++)) T(value); }
    // The next value, default made, to be filled in place.
    T& emplace_back() { return *::new (Slot(Count++)) T{}; }
    std::size_t size() const { return Count; }
    bool empty() const { return Count == 0; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + Count; }
    const T& operator[](std::size_t i) const { return data()[i]; }
    const T& front() const { return data()[0]; }
    const T& back() const { return data()[Count - 1]; }

private:
    void* Slot(std::size_t i) { return room_ + i * sizeof(T); }
    // The values made so far (none to read when there are none).
    const T* data() const {
        const T* first = reinterpret_cast<const T*>(room_);
        return Count > 0 ? std::launder(first) : first;
    }
    alignas(T) std::byte room_[N * sizeof(T)];
};

// A period without its calendar dates (the third level has up to 729 of
// them in a table). Half open like DashaSpan.
struct DashaPeriod {
    int Lord = 0;  // index into kDashaLords
    UtMoment Start{};
    UtMoment End{};
};

using PratyantarList = FixedList<DashaPeriod, 9>;

// An antar dasha, with what its pratyantar dashas are laid from (see
// PratyantarsOf): its start before the cut at birth and its length.
struct AntarDasha : DashaSpan {
    UtMoment NominalStart{};
    double Years = 0;
};

struct MahaDasha : DashaSpan {
    std::vector<AntarDasha> Sub;  // the antar dashas from birth on
};

struct DashaTable {
    int Nakshatra = 0;  // 1..27
    std::string_view NakshatraName;
    int Lord = 0;  // index into kDashaLords: the lord of the Moon's nakshatra
    std::string_view LordName;
    double ElapsedFraction = 0;          // of the nakshatra at birth, 0 <= f < 1
    double BalanceYears = 0;             // left of the first maha dasha at birth
    std::vector<MahaDasha> Periods;      // nine, the one running at birth first
    DashaYear Year = DashaYear::Julian;  // the year the periods are counted in
    double YearDays = kDashaDaysPerYear;
};

// The Vimshottari dashas from the Moon's sidereal longitude in degrees (any
// value; wrapped into [0, 360)) and the birth moment, to three levels (Brihat
// Parashara Hora Shastra, chapter 46): an antar dasha lasts maha years × its
// lord's years / 120 and a pratyantar antar years × its lord's years / 120;
// the antars start with the maha's lord, the pratyantars with the antar's,
// and go on in the lords' order. The first maha dasha starts at birth; every
// level is laid from its nominal start (the birth less the part of the first
// maha already elapsed), the periods over before birth are left out and the
// one running at birth starts at birth. A longitude on a nakshatra's edge up
// to floating-point noise starts that nakshatra. `year` sets the days of a
// dasha year.
DashaTable VimshottariDashas(double moonLongitude, UtMoment birth, DashaYear year = DashaYear::Julian);
// The same table with the nine maha dashas alone (each one's Sub empty),
// for callers that want no more than the period running at birth.
DashaTable VimshottariMahaDashas(double moonLongitude, UtMoment birth, DashaYear year = DashaYear::Julian);

// The pratyantar dashas of one antar dasha of `table`, from birth on; laid
// when asked (a whole table has up to 729, more than most callers show).
PratyantarList PratyantarsOf(const DashaTable& table, const AntarDasha& antar);

// Where a moment falls in a table: indexes into Periods, into that period's
// Sub and into that antar's pratyantars (PratyantarsOf).
struct RunningDasha {
    std::size_t Maha = 0;
    std::size_t Antar = 0;
    std::size_t Pratyantar = 0;
};

// The maha, antar and pratyantar dasha running at a moment; nothing before
// birth or after the last period's end.
std::optional<RunningDasha> RunningDashaAt(const DashaTable& table, UtMoment moment);

}  // namespace velmora::analysis
