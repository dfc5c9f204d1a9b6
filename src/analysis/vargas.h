#pragma once

#include <array>
#include <string_view>

namespace velmora::analysis {

// The sixteen divisional charts of Parashara, in the order they are listed.
enum class Varga { D1, D2, D3, D4, D7, D9, D10, D12, D16, D20, D24, D27, D30, D40, D45, D60 };

inline constexpr int kVargaCount = 16;
inline constexpr std::array<Varga, kVargaCount> kAllVargas{
    Varga::D1,  Varga::D2,  Varga::D3,  Varga::D4,  Varga::D7,  Varga::D9,  Varga::D10, Varga::D12,
    Varga::D16, Varga::D20, Varga::D24, Varga::D27, Varga::D30, Varga::D40, Varga::D45, Varga::D60};

// The number of parts a sign is cut into (1 for D1 .. 60 for D60).
int VargaDivisions(Varga varga);

// "D1" .. "D60".
std::string_view VargaKey(Varga varga);

// The sign number (1..12) of a sidereal longitude in degrees in one varga
// (Brihat Parashara Hora Shastra, chapter 6). Part k = floor(d × N / 30) of
// the degree d within the sign; the varga sign is the part's start sign
// counted on by k (D3 by four signs a part, D4 by three); D2 and D30 have
// their own tables. Longitudes outside [0, 360) are wrapped first; a longitude
// on a part's edge up to floating-point noise (1e-9 of a part) belongs to the
// part that starts there, as in NavamsaSign, which D9 always equals. NaN or
// infinity gives 0.
int VargaSign(Varga varga, double siderealLongitude);

// Every body's sign in every varga: [varga in kAllVargas order][body].
using VargaTable = std::array<std::array<int, 10>, kVargaCount>;
VargaTable VargaSigns(const std::array<double, 10>& siderealLongitudes);

}  // namespace velmora::analysis
