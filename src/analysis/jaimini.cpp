#include "analysis/jaimini.h"

#include <bit>
#include <cmath>
#include <stdexcept>

#include "analysis/navamsa.h"

namespace velmora::analysis {

namespace {

using Seconds = std::chrono::duration<double>;

constexpr double kSecondsPerYear = kDashaDaysPerYear * 86400.0;

// The largest degree in sign below 30.
const double kLastDegree = std::nextafter(30.0, 0.0);

using Signs = std::array<int, kBodyCount>;

// The signs of the bodies as given, each taken into 1..12 once: the steps
// below read them as they are.
Signs Wrapped(const Signs& signs) {
    Signs wrapped;
    for (std::size_t body = 0; body < signs.size(); ++body) wrapped[body] = WrapSignNumber(signs[body]);
    return wrapped;
}

int SignOf(const Signs& wrapped, Body body) { return wrapped[static_cast<std::size_t>(body)]; }

// The bodies other than `body` standing in its sign.
int CompanionsOf(Body body, const Signs& wrapped) {
    const int sign = SignOf(wrapped, body);
    int count = 0;
    for (int other = 0; other < kGrahaCount; ++other)
        count += other != body && wrapped[static_cast<std::size_t>(other)] == sign;
    return count;
}

}  // namespace

bool BodyList::operator==(const BodyList& other) const {
    if (Count != other.Count) return false;
    for (int i = 0; i < Count; ++i) {
        if (Bodies[static_cast<std::size_t>(i)] != other.Bodies[static_cast<std::size_t>(i)]) return false;
    }
    return true;
}

double DegreeInSign(double longitude) {
    if (!(std::abs(longitude) < 1e15)) return 0.0;  // NaN, infinite or past any turn count
    long long signs = static_cast<long long>(longitude * (1.0 / 30.0));
    if (static_cast<double>(signs) * 30.0 > longitude) --signs;  // towards minus infinity
    double degree = longitude - 30.0 * static_cast<double>(signs);
    if (degree < 0.0) degree += 30.0;
    if (degree >= 30.0) degree -= 30.0;
    // A hair below a sign's end stays in the sign, as the sign of its arc text does.
    return degree < 0.0 ? kLastDegree : degree;
}

namespace {

void FillKarakas(CharaKarakas& karakas, const std::array<double, kBodyCount>& longitudes, int scheme) {
    if (scheme != 7 && scheme != 8) throw std::invalid_argument("the chara karaka scheme is 7 or 8");
    karakas.Scheme = scheme;
    karakas.Count = scheme;
    // Highest degree first; an exact tie goes to the body earlier in body
    // order. Each body's rank is counted, without branches, which random
    // degrees would mispredict: the bodies above it, and those tied with it
    // that come earlier.
    std::array<double, 8> degrees{};
    for (int body = 0; body < scheme; ++body) {
        const Body graha = body == 7 ? Rahu : static_cast<Body>(body);
        const double degree = DegreeInSign(longitudes[static_cast<std::size_t>(graha)]);
        degrees[static_cast<std::size_t>(body)] = graha == Rahu ? 30.0 - degree : degree;
    }
    for (std::size_t body = 0; body < static_cast<std::size_t>(scheme); ++body) {
        std::size_t rank = 0;
        for (std::size_t other = 0; other < static_cast<std::size_t>(scheme); ++other) {
            rank += static_cast<std::size_t>(degrees[other] > degrees[body]) +
                    static_cast<std::size_t>(other < body && degrees[other] == degrees[body]);
        }
        karakas.Ranked[rank].Graha = body == 7 ? Rahu : static_cast<Body>(body);
        karakas.Ranked[rank].DegreeInSign = degrees[body];
    }
    for (std::size_t rank = 0; rank < static_cast<std::size_t>(scheme); ++rank) {
        karakas.Ranked[rank].Name = scheme == 8 ? kKarakaNames8[rank] : kKarakaNames7[rank];
        karakas.Ranked[rank].Title = scheme == 8 ? kKarakaTitles8[rank] : kKarakaTitles7[rank];
    }
}

}  // namespace

CharaKarakas CharaKarakasOf(const std::array<double, kBodyCount>& longitudes, int scheme) {
    CharaKarakas karakas;
    FillKarakas(karakas, longitudes, scheme);
    return karakas;
}

bool SignAspects(int from, int to) {
    to = WrapSignNumber(to);
    for (int sign : SignsAspectedBy(from)) {
        if (sign == to) return true;
    }
    return false;
}

std::string_view ArgalaStateName(ArgalaState state) {
    switch (state) {
        case ArgalaState::None:
            return "none";
        case ArgalaState::Unobstructed:
            return "unobstructed";
        case ArgalaState::Prevails:
            return "prevails";
        case ArgalaState::Obstructed:
            return "obstructed";
    }
    return {};
}

int ArgalaHouseOf(Body body, int bodySign, int referenceSign) {
    return SignCount(WrapSignNumber(referenceSign), WrapSignNumber(bodySign), body != Ketu);
}

namespace {

// The bodies of a set of bits (bit n for body n), in body order. Without
// branches, which the random sets of charts would mispredict: every body is
// written to the next free place, which moves on only when its bit is set.
void FillBodies(BodyList& list, unsigned bits) {
    int count = 0;
    for (int body = 0; body < kGrahaCount; ++body) {
        list.Bodies[static_cast<std::size_t>(count)] = static_cast<Body>(body);
        count += static_cast<int>((bits >> body) & 1u);
    }
    list.Count = count;
}

void FillArgala(ArgalaReference& reference, std::string_view from, int referenceSign, const Signs& wrapped) {
    reference.From = from;
    reference.Sign = WrapSignNumber(referenceSign);
    // The bodies in each house from the reference sign, as bits; Ketu
    // counts backward.
    std::array<unsigned, 13> inHouse{};
    for (int body = 0; body < kGrahaCount; ++body) {
        const int sign = wrapped[static_cast<std::size_t>(body)];
        const int distance = body == Ketu ? reference.Sign - sign : sign - reference.Sign;
        inHouse[static_cast<std::size_t>(distance < 0 ? distance + 13 : distance + 1)] |= 1u << body;
    }
    for (std::size_t h = 0; h < kArgalaHouses.size(); ++h) {
        ArgalaHouse& house = reference.Houses[h];
        house.House = kArgalaHouses[h];
        house.ObstructionHouse = kArgalaObstructionHouses[h];
        FillBodies(house.Bodies, inHouse[static_cast<std::size_t>(house.House)]);
        FillBodies(house.Obstructing, inHouse[static_cast<std::size_t>(house.ObstructionHouse)]);
        // None without bodies; else unobstructed without obstructing ones;
        // else prevails with more bodies than obstruct, or is obstructed.
        const int in = house.Bodies.Count;
        const int against = house.Obstructing.Count;
        static_assert(static_cast<int>(ArgalaState::Unobstructed) == 1 &&
                      static_cast<int>(ArgalaState::Prevails) == 2 && static_cast<int>(ArgalaState::Obstructed) == 3);
        house.State = static_cast<ArgalaState>((in != 0) * (1 + (against != 0) * (1 + (in <= against))));
    }
}

}  // namespace

ArgalaReference ArgalaOf(std::string_view from, int referenceSign, const std::array<int, kBodyCount>& signs) {
    ArgalaReference reference;
    FillArgala(reference, from, referenceSign, Wrapped(signs));
    return reference;
}

namespace {

constexpr void FillGrahaArudha(GrahaArudha& arudha, int bodySign, int ownSign) {
    bodySign = WrapSignNumber(bodySign);
    arudha.OwnSign = WrapSignNumber(ownSign);
    const int counted = NthSignFrom(arudha.OwnSign, SignCount(bodySign, arudha.OwnSign));
    arudha.Moved = counted == bodySign || counted == NthSignFrom(bodySign, 7);
    arudha.Sign = arudha.Moved ? NthSignFrom(counted, 10) : counted;
}

}  // namespace

GrahaArudha GrahaArudhaOf(int bodySign, int ownSign) {
    GrahaArudha arudha;
    FillGrahaArudha(arudha, bodySign, ownSign);
    return arudha;
}

namespace {

constexpr OwnedSigns OwnedBy(Body body) {
    OwnedSigns owned;
    if (body == Rahu) {
        owned.Signs[0] = 11;
        owned.Count = 1;
    } else if (body == Ketu) {
        owned.Signs[0] = 8;
        owned.Count = 1;
    } else {
        for (int sign = 1; sign <= kSignCount && owned.Count < 2; ++sign) {
            if (kSignLords[static_cast<std::size_t>(sign - 1)] == body) {
                owned.Signs[static_cast<std::size_t>(owned.Count++)] = sign;
            }
        }
    }
    return owned;
}

// The signs of the nine bodies, found once from the sign lords.
constexpr std::array<OwnedSigns, kGrahaCount> kOwnedSigns = [] {
    std::array<OwnedSigns, kGrahaCount> table{};
    for (int body = 0; body < kGrahaCount; ++body)
        table[static_cast<std::size_t>(body)] = OwnedBy(static_cast<Body>(body));
    return table;
}();

// The arudhas of each body standing in each sign, Aries first: they depend
// on nothing else, so they are found once.
constexpr auto kGrahaArudhas = [] {
    std::array<std::array<GrahaArudhaSet, kSignCount>, kGrahaCount> table{};
    for (std::size_t body = 0; body < kGrahaCount; ++body) {
        const OwnedSigns& owned = kOwnedSigns[body];
        for (std::size_t sign = 0; sign < kSignCount; ++sign) {
            GrahaArudhaSet& set = table[body][sign];
            set.Graha = static_cast<Body>(body);
            set.Count = owned.Count;
            for (std::size_t i = 0; i < static_cast<std::size_t>(owned.Count); ++i)
                FillGrahaArudha(set.Arudhas[i], static_cast<int>(sign) + 1, owned.Signs[i]);
        }
    }
    return table;
}();

}  // namespace

OwnedSigns OwnedSignsOf(Body body) {
    return body >= Sun && body <= Ketu ? kOwnedSigns[static_cast<std::size_t>(body)] : OwnedSigns{};
}

bool CharaRunsForward(int sign) {
    switch (WrapSignNumber(sign)) {
        case 1:
        case 5:
        case 6:
        case 7:
        case 11:
        case 12:
            return true;
        default:
            return false;
    }
}

bool CharaCountsForward(int sign) {
    switch (WrapSignNumber(sign)) {
        case 1:
        case 2:
        case 3:
        case 7:
        case 8:
        case 9:
            return true;
        default:
            return false;
    }
}

namespace {

// Written into the period's rule where it stands: a rule returned and
// copied in is read back in pieces of other widths than it was written in,
// which stalls.
[[gnu::always_inline]] inline void FillYears(CharaYears& years, int sign,
                                             const std::array<double, kBodyCount>& longitudes, const Signs& signs) {
    years.Sign = sign;
    years.CountForward = CharaCountsForward(years.Sign);
    const bool twoLords = years.Sign == 8 || years.Sign == 11;
    if (!twoLords) {
        years.Lord = kSignLords[static_cast<std::size_t>(years.Sign - 1)];
        years.OtherLord = years.Lord;
    } else {
        // Scorpio: Mars and Ketu; Aquarius: Saturn and Rahu. The first is
        // the one taken when nothing tells them apart.
        const Body first = years.Sign == 8 ? Mars : Saturn;
        const Body second = years.Sign == 8 ? Ketu : Rahu;
        const bool firstIn = SignOf(signs, first) == years.Sign;
        const bool secondIn = SignOf(signs, second) == years.Sign;
        years.Lord = first;
        years.OtherLord = second;
        if (firstIn && secondIn) {
            years.Choice = CharaLordChoice::BothLordsIn;
        } else if (firstIn || secondIn) {
            years.Choice = CharaLordChoice::OtherLord;
            years.Lord = firstIn ? second : first;
            years.OtherLord = firstIn ? first : second;
        } else {
            const int firstCompanions = CompanionsOf(first, signs);
            const int secondCompanions = CompanionsOf(second, signs);
            const double firstDegree = DegreeInSign(longitudes[static_cast<std::size_t>(first)]);
            const double secondDegree = DegreeInSign(longitudes[static_cast<std::size_t>(second)]);
            bool takeSecond = false;
            if (firstCompanions != secondCompanions) {
                years.Choice = CharaLordChoice::MoreBodies;
                takeSecond = secondCompanions > firstCompanions;
            } else if (firstDegree != secondDegree) {
                years.Choice = CharaLordChoice::HigherDegree;
                takeSecond = secondDegree > firstDegree;
            } else {
                years.Choice = CharaLordChoice::EqualDefault;
            }
            years.Lord = takeSecond ? second : first;
            years.OtherLord = takeSecond ? first : second;
            years.LordCompanions = takeSecond ? secondCompanions : firstCompanions;
            years.OtherCompanions = takeSecond ? firstCompanions : secondCompanions;
        }
        years.OtherLordSign = SignOf(signs, years.OtherLord);
    }
    years.LordSign = SignOf(signs, years.Lord);
    if (!twoLords) years.OtherLordSign = years.LordSign;
    years.Count = SignCount(years.Sign, years.LordSign, years.CountForward);
    years.Years = years.Count == 1 ? 12 : years.Count - 1;
}

}  // namespace

CharaYears CharaYearsOf(int sign, const std::array<double, kBodyCount>& longitudes,
                        const std::array<int, kBodyCount>& signs) {
    CharaYears years;
    FillYears(years, WrapSignNumber(sign), longitudes, Wrapped(signs));
    return years;
}

namespace {

// The table is filled where it stands, rather than built aside and copied.
void FillCharaDasha(CharaDashaTable& table, const std::array<double, kBodyCount>& longitudes, const Signs& signs,
                    UtMoment birth) {
    const int ascendant = SignOf(signs, Ascendant);
    table.Forward = CharaRunsForward(ascendant);
    UtMoment start = birth;
    for (std::size_t k = 0; k < table.Periods.size(); ++k) {
        CharaPeriod& period = table.Periods[k];
        const int sign = NthSignFrom(ascendant, static_cast<int>(k) + 1, table.Forward);
        FillYears(period.Rule, sign, longitudes, signs);
        period.Years = period.Rule.Years;
        const double seconds = period.Years * kSecondsPerYear;
        const UtMoment end = start + Seconds(seconds);
        period.Sign = sign;
        period.Start = start;
        period.End = end;

        // Twelve equal parts, the sign after this one first, this one last.
        period.SubForward = CharaRunsForward(sign);
        const double subSeconds = seconds / 12.0;
        const int step = period.SubForward ? 1 : -1;
        int subSign = sign;
        UtMoment subStart = start;
        for (std::size_t j = 0; j < period.Sub.size(); ++j) {
            CharaSpan& sub = period.Sub[j];
            const UtMoment subEnd =
                j + 1 == period.Sub.size() ? end : start + Seconds(subSeconds * static_cast<double>(j + 1));
            subSign += step;
            subSign += subSign > 12 ? -12 : subSign < 1 ? 12 : 0;
            sub.Sign = subSign;
            sub.Start = subStart;
            sub.End = subEnd;
            subStart = subEnd;
        }
        start = end;
    }
}

}  // namespace

CharaDashaTable CharaDashaOf(const std::array<double, kBodyCount>& longitudes, const std::array<int, kBodyCount>& signs,
                             UtMoment birth) {
    CharaDashaTable table;
    FillCharaDasha(table, longitudes, Wrapped(signs), birth);
    return table;
}

std::optional<RunningChara> RunningCharaAt(const CharaDashaTable& table, UtMoment moment) {
    for (std::size_t k = 0; k < table.Periods.size(); ++k) {
        const CharaPeriod& period = table.Periods[k];
        if (moment < period.Start || moment >= period.End) continue;
        for (std::size_t j = 0; j < period.Sub.size(); ++j) {
            if (moment < period.Sub[j].End) return RunningChara{k, j};
        }
    }
    return std::nullopt;
}

JaiminiTools JaiminiToolsOf(const std::array<double, kBodyCount>& longitudes, const std::array<int, kBodyCount>& signs,
                            int arudhaLagnaSign, UtMoment birth, int karakaScheme) {
    const Signs wrapped = Wrapped(signs);
    // Each part is filled where it stands: returned and copied in, the
    // parts would cost as much again.
    JaiminiTools tools;
    FillKarakas(tools.Karakas, longitudes, karakaScheme);
    const Body atmakaraka = tools.Karakas.Atmakaraka().Graha;
    tools.Karakamsa = NavamsaSign(longitudes[static_cast<std::size_t>(atmakaraka)]);
    tools.Aspects = kRashiDrishti;
    FillArgala(tools.Argala[0], "Asc", SignOf(wrapped, Ascendant), wrapped);
    FillArgala(tools.Argala[1], "AL", arudhaLagnaSign, wrapped);
    FillArgala(tools.Argala[2], "AK", SignOf(wrapped, atmakaraka), wrapped);
    for (std::size_t body = 0; body < kGrahaCount; ++body)
        tools.GrahaArudhas[body] = kGrahaArudhas[body][static_cast<std::size_t>(wrapped[body] - 1)];
    FillCharaDasha(tools.CharaDasha, longitudes, wrapped, birth);
    return tools;
}

}  // namespace velmora::analysis
