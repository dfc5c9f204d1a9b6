#pragma once

// Jaimini's tools around the Arudha Lagna: the chara karakas, the karakamsa,
// the sign aspects (rashi drishti), argala, the arudhas of the bodies and the
// chara dasha as K.N. Rao teaches it (S. Dhasmana, "Jaimini System: An
// Introduction", following K.N. Rao). Sign numbers run 1..12 (Aries ..
// Pisces); "the n-th sign from S" counts S itself as the 1st.
//
// Everything here is a fixed-size value: no heap memory is used.

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>

#include "analysis/dasha.h"
#include "model/names.h"

namespace velmora::analysis {

// The nine bodies Sun .. Ketu; the ascendant is not a body for these tools.
inline constexpr int kGrahaCount = 9;

// Sign number 1..12 of any whole number, taken modulo 12.
constexpr int WrapSignNumber(int sign) {
    const int index = (sign - 1) % 12;
    return (index < 0 ? index + 12 : index) + 1;
}

// The n-th sign from `sign`, the sign itself being the 1st; forward in
// zodiac order, or backward.
constexpr int NthSignFrom(int sign, int n, bool forward = true) {
    return WrapSignNumber(forward ? sign + n - 1 : sign - n + 1);
}

// Which sign `to` is from `from` (1..12), counting both; forward in zodiac
// order, or backward.
constexpr int SignCount(int from, int to, bool forward = true) {
    return WrapSignNumber(forward ? to - from + 1 : from - to + 1);
}

// Bodies in body order, at most nine.
struct BodyList {
    std::array<Body, kGrahaCount> Bodies{};
    int Count = 0;

    void Add(Body body) { Bodies[static_cast<std::size_t>(Count++)] = body; }
    bool operator==(const BodyList& other) const;
};

// ---- Chara karakas --------------------------------------------------------

// The karakas in rank order for the 8 scheme, short and full names.
inline constexpr std::array<std::string_view, 8> kKarakaNames8{"AK", "AmK", "BK", "MK", "PiK", "PK", "GK", "DK"};
inline constexpr std::array<std::string_view, 8> kKarakaTitles8{"Atmakaraka",  "Amatyakaraka", "Bhratrikaraka",
                                                                "Matrikaraka", "Pitrikaraka",  "Putrakaraka",
                                                                "Gnatikaraka", "Darakaraka"};
// The 7 scheme has no Pitrikaraka.
inline constexpr std::array<std::string_view, 7> kKarakaNames7{"AK", "AmK", "BK", "MK", "PK", "GK", "DK"};
inline constexpr std::array<std::string_view, 7> kKarakaTitles7{
    "Atmakaraka", "Amatyakaraka", "Bhratrikaraka", "Matrikaraka", "Putrakaraka", "Gnatikaraka", "Darakaraka"};

struct CharaKaraka {
    std::string_view Name;   // "AK", "AmK", ...
    std::string_view Title;  // "Atmakaraka", ...
    Body Graha = Sun;
    // The degree the body ranks by, unrounded: its degree in sign, for Rahu
    // 30 less its degree in sign.
    double DegreeInSign = 0;
};

struct CharaKarakas {
    int Scheme = 8;                     // 7 or 8
    std::array<CharaKaraka, 8> Ranked;  // rank order; the first Scheme entries are used
    int Count = 0;                      // = Scheme

    const CharaKaraka& Atmakaraka() const { return Ranked[0]; }
};

// The degree in sign (0 <= d < 30) of a sidereal longitude in degrees.
double DegreeInSign(double longitude);

// The chara karakas from the ten sidereal longitudes (body order). Scheme 8
// ranks Sun .. Saturn and Rahu, scheme 7 Sun .. Saturn; highest degree in
// sign first, Rahu by 30 less its degree; an exact tie goes to the body
// earlier in body order. Throws std::invalid_argument for another scheme.
CharaKarakas CharaKarakasOf(const std::array<double, kBodyCount>& longitudes, int scheme = 8);

// ---- Rashi drishti --------------------------------------------------------

// The three signs a sign aspects, ascending. Movable signs (Aries, Cancer,
// Libra, Capricorn) aspect the fixed signs but the next one, fixed signs the
// movable signs but the previous one, dual signs the other three duals.
constexpr std::array<int, 3> SignsAspectedBy(int sign) {
    sign = WrapSignNumber(sign);
    const int quality = (sign - 1) % 3;  // 0 movable, 1 fixed, 2 dual
    std::array<int, 3> aspected{};
    std::size_t found = 0;
    for (int other = 1; other <= 12 && found < aspected.size(); ++other) {
        const int otherQuality = (other - 1) % 3;
        const bool aspects = quality == 0   ? otherQuality == 1 && other != NthSignFrom(sign, 2)
                             : quality == 1 ? otherQuality == 0 && other != NthSignFrom(sign, 2, false)
                                            : otherQuality == 2 && other != sign;
        if (aspects) aspected[found++] = other;
    }
    return aspected;
}

// The signs each sign aspects, Aries first.
inline constexpr std::array<std::array<int, 3>, 12> kRashiDrishti = [] {
    std::array<std::array<int, 3>, 12> table{};
    for (int sign = 1; sign <= 12; ++sign) table[static_cast<std::size_t>(sign - 1)] = SignsAspectedBy(sign);
    return table;
}();

// Whether sign `from` aspects sign `to` (a sign never aspects itself).
bool SignAspects(int from, int to);

// ---- Argala ---------------------------------------------------------------

enum class ArgalaState { None, Unobstructed, Prevails, Obstructed };

// "none", "unobstructed", "prevails", "obstructed".
std::string_view ArgalaStateName(ArgalaState state);

// The argala houses in their order, with the house that obstructs each.
inline constexpr std::array<int, 4> kArgalaHouses{2, 4, 11, 5};
inline constexpr std::array<int, 4> kArgalaObstructionHouses{12, 10, 3, 9};

struct ArgalaHouse {
    int House = 0;
    BodyList Bodies;  // in the argala house
    int ObstructionHouse = 0;
    BodyList Obstructing;  // in the obstruction house
    ArgalaState State = ArgalaState::None;
};

struct ArgalaReference {
    std::string_view From;  // "Asc", "AL" or "AK"
    int Sign = 0;
    std::array<ArgalaHouse, 4> Houses;  // houses 2, 4, 11, 5
};

// The house (1..12) a body occupies counted from a reference sign: the
// forward count, except for Ketu, which is counted backward.
int ArgalaHouseOf(Body body, int bodySign, int referenceSign);

// Argala on one reference sign from the bodies' signs (body order; the
// ascendant's entry is not used).
ArgalaReference ArgalaOf(std::string_view from, int referenceSign, const std::array<int, kBodyCount>& signs);

// ---- Graha arudhas --------------------------------------------------------

struct GrahaArudha {
    int OwnSign = 0;     // the owned sign the arudha is of
    int Sign = 0;        // the arudha
    bool Moved = false;  // the count fell on the body's sign or the 7th from it
};

struct GrahaArudhaSet {
    Body Graha = Sun;
    std::array<GrahaArudha, 2> Arudhas;  // owned signs ascending
    int Count = 0;                       // 1 or 2
};

// The arudha of a body standing in bodySign for one sign it owns: count from
// the body to the owned sign, as many again from the owned sign; when that is
// the body's own sign or the 7th from it, the 10th sign from it instead.
GrahaArudha GrahaArudhaOf(int bodySign, int ownSign);

// The signs a body owns, ascending (Rahu Aquarius, Ketu Scorpio).
struct OwnedSigns {
    std::array<int, 2> Signs{};
    int Count = 0;
};
OwnedSigns OwnedSignsOf(Body body);

// ---- Chara dasha (K.N. Rao) -----------------------------------------------

// How the years of a sign's period were found.
enum class CharaLordChoice {
    SingleLord,    // the sign has one lord
    BothLordsIn,   // Scorpio or Aquarius with both lords in it: 12 years
    OtherLord,     // one of the two lords in the sign: counted to the other
    MoreBodies,    // neither in it: the lord with more other bodies in its sign
    HigherDegree,  // neither, equal bodies: the higher degree in sign
    EqualDefault,  // neither, equal bodies and degrees: Mars or Saturn
};

struct CharaYears {
    int Sign = 0;
    bool CountForward = true;  // the direction of the count to the lord
    Body Lord = Sun;           // the lord counted to (or, for 12 years, a lord in the sign)
    Body OtherLord = Sun;      // Scorpio and Aquarius: the lord not counted to; else Lord again
    int LordSign = 0;          // the sign Lord stands in
    int OtherLordSign = 0;     // the sign OtherLord stands in
    int LordCompanions = 0;    // MoreBodies and after: the other bodies in each lord's sign
    int OtherCompanions = 0;
    CharaLordChoice Choice = CharaLordChoice::SingleLord;
    int Count = 0;  // from the sign to LordSign, both counted; 1 when the lord stands in the sign
    int Years = 0;  // Count - 1, or 12
};

// Whether the periods from this ascendant, and the sub-periods of a period of
// this sign, run forward: Aries, Leo, Virgo, Libra, Aquarius, Pisces.
bool CharaRunsForward(int sign);

// Whether the years of this sign are counted forward to its lord: Aries,
// Taurus, Gemini, Libra, Scorpio, Sagittarius.
bool CharaCountsForward(int sign);

// The years of a sign's period from the sidereal longitudes and the signs of
// the ten bodies (body order).
CharaYears CharaYearsOf(int sign, const std::array<double, kBodyCount>& longitudes,
                        const std::array<int, kBodyCount>& signs);

// One period or sub-period, half open: from Start up to, not including, End.
// Its sign's name and its dates (the universal-time calendar dates of the
// two moments) are read from those when shown: the table keeps only what
// they come from, so that it stays small and quick to make.
struct CharaSpan {
    int Sign = 0;
    UtMoment Start{};
    UtMoment End{};

    std::string_view SignName() const { return SignNameOf(Sign); }
    std::chrono::year_month_day StartDate() const { return UtDateOf(Start); }
    std::chrono::year_month_day EndDate() const { return UtDateOf(End); }
};

struct CharaPeriod : CharaSpan {
    int Years = 0;    // the length of the period, as Rule.Years
    CharaYears Rule;  // how the years were found
    bool SubForward = true;
    std::array<CharaSpan, 12> Sub;  // the sign after this one first, this sign last
};

struct CharaDashaTable {
    bool Forward = true;  // the direction of the periods
    std::array<CharaPeriod, 12> Periods;
};

// "forward" or "backward".
constexpr std::string_view DirectionName(bool forward) { return forward ? "forward" : "backward"; }

// The twelve periods from the ascendant's sign, the first starting at birth;
// each lasts its years of 365.25 days and falls into twelve equal parts.
CharaDashaTable CharaDashaOf(const std::array<double, kBodyCount>& longitudes, const std::array<int, kBodyCount>& signs,
                             UtMoment birth);

// Indexes into Periods and into that period's Sub.
struct RunningChara {
    std::size_t Period = 0;
    std::size_t Sub = 0;
};

// The period and sub-period running at a moment; nothing before birth or
// from the end of the twelfth period on.
std::optional<RunningChara> RunningCharaAt(const CharaDashaTable& table, UtMoment moment);

// ---- All together ---------------------------------------------------------

struct JaiminiTools {
    CharaKarakas Karakas;
    int Karakamsa = 0;                                     // the navamsa sign of the AK
    std::array<std::array<int, 3>, 12> Aspects{};          // the signs each sign aspects, Aries first
    std::array<ArgalaReference, 3> Argala;                 // from Asc, AL, AK
    std::array<GrahaArudhaSet, kGrahaCount> GrahaArudhas;  // body order
    CharaDashaTable CharaDasha;
};

// The whole toolkit for one chart: the ten sidereal longitudes and their
// signs (body order, the ascendant last), the Arudha Lagna's sign, the birth
// moment and the karaka scheme (7 or 8; std::invalid_argument otherwise).
JaiminiTools JaiminiToolsOf(const std::array<double, kBodyCount>& longitudes, const std::array<int, kBodyCount>& signs,
                            int arudhaLagnaSign, UtMoment birth, int karakaScheme = 8);

}  // namespace velmora::analysis
