#pragma once

// Why a derived value is what it is: short English sentences, in the order
// the rule applies, for the Arudha Lagna, the twelve padas, the chara
// karakas, the karakamsa and the years of each chara dasha period. Signs are
// named Aries .. Pisces and bodies as kBodyNames names them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "analysis/jaimini.h"
#include "analysis/padas.h"

namespace velmora::analysis {

inline constexpr std::size_t kMaxSentences = 8;

// One derivation: its sentences, each ending with a full stop, joined by
// single blanks. The text lives in the Derivations that holds it.
struct Derivation {
    std::string_view Text;
    std::array<std::uint16_t, kMaxSentences> Ends{};  // one past each sentence's full stop, in Text
    std::size_t Count = 0;

    std::size_t size() const { return Count; }
    std::string_view operator[](std::size_t i) const;
};

// The derivations of one chart. Their texts share one buffer, written once:
// a Derivations can be moved (the texts stay where they are) but not copied.
struct Derivations {
    std::array<Derivation, 12> Padas;            // house order: AL, A2 .. A11, UL (kPadaLabels)
    Derivation CharaKarakas;                     // the ranking, any exact tie, Rahu's reversed degree
    Derivation Karakamsa;                        // the navamsa of the AK
    Derivation CharaDashaOrder;                  // where the periods start and which way they run
    std::array<Derivation, 12> CharaDashaYears;  // the years of each period, period order
    std::unique_ptr<char[]> Buffer;              // holds every Text

    // The Arudha Lagna is the pada of the 1st house, e.g. "The ascendant is
    // in Virgo; its lord Mercury stands in Leo, the 12th sign from Virgo.
    // Counting 12 signs from Leo reaches Cancer. Cancer is neither the 1st
    // nor the 7th from Virgo, so the Arudha Lagna is Cancer."
    const Derivation& ArudhaLagna() const { return Padas[0]; }
};

// Every derivation of a chart from what JaiminiToolsOf was given (the ten
// sidereal longitudes and their signs, body order, the ascendant last) and
// what it made. The padas' derivations follow the padas ArudhaPadas gives
// for these signs (pass them when they are at hand); the karakas', the
// karakamsa's and the chara dasha years' follow the tools.
Derivations DerivationsOf(const std::array<double, kBodyCount>& longitudes, const std::array<int, kBodyCount>& signs,
                          const JaiminiTools& tools);
Derivations DerivationsOf(const std::array<double, kBodyCount>& longitudes, const std::array<int, kBodyCount>& signs,
                          const std::array<Pada, 12>& padas, const JaiminiTools& tools);

}  // namespace velmora::analysis
