#pragma once

// Why a derived value is what it is: short English sentences, in the order
// the rule applies, for the Arudha Lagna, the twelve padas, the chara
// karakas, the karakamsa and the years of each chara dasha period. Signs are
// named Aries .. Pisces and bodies as kBodyNames names them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/jaimini.h"
#include "analysis/padas.h"

namespace velmora::analysis {

inline constexpr std::size_t kMaxSentences = 8;

// One derivation: its sentences, each ending with a full stop, joined by
// single blanks in one text.
struct Derivation {
    std::string Text;
    std::array<std::uint16_t, kMaxSentences> Ends{};  // one past each sentence's full stop
    std::size_t Count = 0;

    std::size_t size() const { return Count; }
    std::string_view operator[](std::size_t i) const;
};

struct Derivations {
    std::array<Derivation, 12> Padas;  // house order: AL, A2 .. A11, UL (kPadaLabels)
    Derivation CharaKarakas;
    Derivation Karakamsa;
    Derivation CharaDashaOrder;                  // where the periods start and which way they run
    std::array<Derivation, 12> CharaDashaYears;  // the years of each period, period order

    // The Arudha Lagna is the pada of the 1st house.
    const Derivation& ArudhaLagna() const { return Padas[0]; }
};

// The derivation of one pada, the Arudha Lagna being the pada of house 1:
// "The ascendant is in Virgo; its lord Mercury stands in Leo, the 12th sign
// from Virgo. Counting 12 signs from Leo reaches Cancer. Cancer is neither the
// 1st nor the 7th from Virgo, so the Arudha Lagna is Cancer."
Derivation PadaDerivation(const Pada& pada);

// The ranking of the chara karakas (the longitudes are those they were
// ranked from), any exact tie and Rahu's reversed degree.
Derivation CharaKarakaDerivation(const CharaKarakas& karakas, const std::array<double, kBodyCount>& longitudes);

// The navamsa of the Atmakaraka.
Derivation KarakamsaDerivation(const CharaKarakas& karakas, const std::array<double, kBodyCount>& longitudes,
                               const std::array<int, kBodyCount>& signs);

// The years of one chara dasha period: the lord, a two-lord decision, the
// direction of the count.
Derivation CharaYearsDerivation(const CharaYears& years, const std::array<double, kBodyCount>& longitudes);

// The first period and the direction of the periods and sub-periods.
Derivation CharaOrderDerivation(const CharaDashaTable& table);

// Every derivation of a chart from what JaiminiToolsOf was given and made.
Derivations DerivationsOf(const std::array<double, kBodyCount>& longitudes, const std::array<int, kBodyCount>& signs,
                          const JaiminiTools& tools);

}  // namespace velmora::analysis
