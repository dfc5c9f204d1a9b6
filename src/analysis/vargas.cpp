#include "analysis/vargas.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "analysis/longitude.h"

namespace velmora::analysis {

namespace {

// As in the navamsa: a part edge computed from degrees and minutes misses the
// exact multiple by a few units in the last place; this tolerance (in parts)
// lets such a longitude start the next part.
constexpr double kEdgeTolerance = 1e-9;

constexpr std::array<int, kVargaCount> kDivisions{1, 2, 3, 4, 7, 9, 10, 12, 16, 20, 24, 27, 30, 40, 45, 60};

// Sign indexes 0 Aries .. 11 Pisces.
constexpr int kAries = 0, kTaurus = 1, kGemini = 2, kCancer = 3, kLeo = 4, kVirgo = 5, kLibra = 6, kScorpio = 7,
              kSagittarius = 8, kCapricorn = 9, kAquarius = 10, kPisces = 11;

constexpr bool IsOdd(int sign) { return sign % 2 == 0; }  // Aries, Gemini, ... counted from 0
constexpr bool IsMovable(int sign) { return sign % 3 == 0; }
constexpr bool IsFixed(int sign) { return sign % 3 == 1; }

// By modality: movable, fixed, dual.
constexpr int ByModality(int sign, int movable, int fixed, int dual) {
    return IsMovable(sign) ? movable : IsFixed(sign) ? fixed : dual;
}

// The Trimshamsa (D30): five unequal parts, in whole degrees.
constexpr int TrimshamsaSign(int sign, int degree) {
    if (IsOdd(sign)) {
        if (degree < 5) return kAries;
        if (degree < 10) return kAquarius;
        if (degree < 18) return kSagittarius;
        if (degree < 25) return kGemini;
        return kLibra;
    }
    if (degree < 5) return kTaurus;
    if (degree < 12) return kVirgo;
    if (degree < 20) return kPisces;
    if (degree < 25) return kCapricorn;
    return kScorpio;
}

// The varga sign index of part k (0-based) of sign index `sign`.
constexpr int SignOfPart(Varga varga, int sign, int k) {
    int start = sign;
    int step = 1;
    switch (varga) {
        case Varga::D1:
            return sign;
        case Varga::D2:  // odd: Leo then Cancer; even: Cancer then Leo
            return (k == 0) == IsOdd(sign) ? kLeo : kCancer;
        case Varga::D3:
            step = 4;
            break;
        case Varga::D4:
            step = 3;
            break;
        case Varga::D7:
            if (!IsOdd(sign)) start = sign + 6;
            break;
        case Varga::D9:
            start = ByModality(sign, sign, sign + 8, sign + 4);
            break;
        case Varga::D10:
            if (!IsOdd(sign)) start = sign + 8;
            break;
        case Varga::D12:
        case Varga::D60:
            break;
        case Varga::D16:
        case Varga::D45:
            start = ByModality(sign, kAries, kLeo, kSagittarius);
            break;
        case Varga::D20:
            start = ByModality(sign, kAries, kSagittarius, kLeo);
            break;
        case Varga::D24:
            start = IsOdd(sign) ? kLeo : kCancer;
            break;
        case Varga::D27: {
            // Fire, earth, air, water repeat from Aries.
            constexpr int kElementStart[4] = {kAries, kCancer, kLibra, kCapricorn};
            start = kElementStart[sign % 4];
            break;
        }
        case Varga::D30:
            return TrimshamsaSign(sign, k);
        case Varga::D40:
            start = IsOdd(sign) ? kAries : kLibra;
            break;
    }
    return (start + step * k) % 12;
}

// The varga sign index (0..11) of every part of the zodiac, part 0 at 0°
// Aries: 12 × N entries, laid out when the program is built.
template <Varga V, int N>
constexpr std::array<std::int8_t, std::size_t{12} * N> PartSigns() {
    std::array<std::int8_t, std::size_t{12} * N> signs{};
    for (int part = 0; part < 12 * N; ++part)
        signs[static_cast<std::size_t>(part)] = static_cast<std::int8_t>(SignOfPart(V, part / N, part % N));
    return signs;
}

// The varga sign number of a longitude already within [0, 360), one function
// per varga with its own table of parts.
template <Varga V>
int SignFromWrapped(double longitude) {
    // D30 is looked up by whole degrees.
    constexpr int n = V == Varga::D30 ? 30 : kDivisions[static_cast<std::size_t>(V)];
    constexpr int parts = 12 * n;
    static constexpr std::array<std::int8_t, parts> kSigns = PartSigns<V, n>();
    // Counted through the whole zodiac, as the navamsa is (D9 with the very
    // same arithmetic), so that a longitude just short of a sign's end by
    // noise starts the next sign. The other vargas multiply by the
    // reciprocal: an ulp's difference is far inside the edge tolerance.
    double position = 0;
    if constexpr (V == Varga::D9) {
        position = longitude * parts / 360.0;
    } else {
        position = longitude * (parts / 360.0);
    }
    // Not negative, so truncation is the floor.
    int part = static_cast<int>(position + kEdgeTolerance);
    if (part >= parts) part -= parts;  // 359.999999999... rounds up into the first part again
    return kSigns[static_cast<std::size_t>(part)] + 1;
}

using SignFunction = int (*)(double);

template <std::size_t... I>
constexpr std::array<SignFunction, kVargaCount> SignFunctions(std::index_sequence<I...>) {
    return {&SignFromWrapped<kAllVargas[I]>...};
}
constexpr std::array<SignFunction, kVargaCount> kSignFunctions = SignFunctions(std::make_index_sequence<kVargaCount>{});

template <std::size_t... I>
void FillBody(VargaTable& table, std::size_t body, double longitude, std::index_sequence<I...>) {
    ((table[I][body] = SignFromWrapped<kAllVargas[I]>(longitude)), ...);
}

}  // namespace

int VargaDivisions(Varga varga) { return kDivisions[static_cast<std::size_t>(varga)]; }

std::string_view VargaKey(Varga varga) {
    constexpr std::array<std::string_view, kVargaCount> kKeys{"D1",  "D2",  "D3",  "D4",  "D7",  "D9",  "D10", "D12",
                                                              "D16", "D20", "D24", "D27", "D30", "D40", "D45", "D60"};
    return kKeys[static_cast<std::size_t>(varga)];
}

int VargaSign(Varga varga, double siderealLongitude) {
    if (!std::isfinite(siderealLongitude)) return 0;
    return kSignFunctions[static_cast<std::size_t>(varga)](WithinOneCircle(siderealLongitude));
}

VargaTable VargaSigns(const std::array<double, 10>& siderealLongitudes) {
    VargaTable table{};
    for (std::size_t body = 0; body < siderealLongitudes.size(); ++body) {
        const double raw = siderealLongitudes[body];
        if (!std::isfinite(raw)) continue;  // zeros
        FillBody(table, body, WithinOneCircle(raw), std::make_index_sequence<kVargaCount>{});
    }
    return table;
}

}  // namespace velmora::analysis
