#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "analysis/dasha.h"

namespace velmora::analysis {

inline constexpr int kYoginiCycleYears = 36;

struct YoginiEntry {
    std::string_view Name;
    int Lord = 0;  // index into kDashaLords
    int Years = 0;
};

// The eight yoginis in their repeating order, with their lords and years.
inline constexpr std::array<YoginiEntry, 8> kYoginis{{{"Mangala", 3, 1},
                                                      {"Pingala", 2, 2},
                                                      {"Dhanya", 6, 3},
                                                      {"Bhramari", 4, 4},
                                                      {"Bhadrika", 8, 5},
                                                      {"Ulka", 7, 6},
                                                      {"Siddha", 1, 7},
                                                      {"Sankata", 5, 8}}};

// One Yogini period, half open: it runs from Start up to, not including,
// End. Without calendar dates (UtDateOf gives them where shown).
struct YoginiSpan {
    int Yogini = 0;  // index into kYoginis
    std::string_view YoginiName;
    int Lord = 0;  // index into kDashaLords
    std::string_view LordName;
    UtMoment Start{};
    UtMoment End{};
};

struct YoginiMaha : YoginiSpan {
    int Years = 0;                 // the yogini's full years
    FixedList<YoginiSpan, 8> Sub;  // the antar periods from birth on
};

struct YoginiTable {
    int Nakshatra = 0;           // 1..27, the Moon's
    int First = 0;               // index into kYoginis: the yogini running at birth
    double ElapsedFraction = 0;  // of the nakshatra at birth, 0 <= f < 1
    double BalanceYears = 0;     // left of the first period at birth
    DashaYear Year = DashaYear::Julian;
    double YearDays = kDashaDaysPerYear;
    std::array<YoginiMaha, 8> Periods{};  // the one running at birth first
};

// The index into kYoginis of the yogini that rules nakshatra 1..27:
// r = (nakshatra + 3) mod 8, r = 1 Mangala .. 7 Siddha, 0 Sankata.
int FirstYoginiOf(int nakshatra);

// The Yogini dasha from the Moon's sidereal longitude in degrees (any value)
// and the birth moment: the first yogini from the Moon's nakshatra with the
// balance (1 − the elapsed fraction of the nakshatra) × its years, eight maha
// periods from the one running at birth, and in each the antar periods from
// the maha's own yogini on in yogini order, each maha years × antar years /
// 36. Laid and cut at birth as the Vimshottari is.
YoginiTable YoginiDashas(double moonLongitude, UtMoment birth, DashaYear year = DashaYear::Julian);

// Where a moment falls: indexes into Periods and into that period's Sub.
struct RunningYogini {
    std::size_t Maha = 0;
    std::size_t Antar = 0;
};

// The periods running at a moment; nothing before birth or after the last
// period's end.
std::optional<RunningYogini> RunningYoginiAt(const YoginiTable& table, UtMoment moment);

}  // namespace velmora::analysis
