#include "analysis/jaimini.h"

#include <cmath>
#include <stdexcept>

#include "analysis/navamsa.h"

namespace velmora::analysis {

namespace {

using Seconds = std::chrono::duration<double>;

constexpr double kSecondsPerYear = kDashaDaysPerYear * 86400.0;

// The largest degree in sign below 30.
const double kLastDegree = std::nextafter(30.0, 0.0);

// The universal-time date of a moment, as UtDateOf finds it, with a
// multiplication where UtDateOf divides: the table needs 145 dates, the
// bulk of its cost.
[[gnu::always_inline]] inline std::chrono::year_month_day DateOf(UtMoment moment) {
    constexpr double kSecondsPerDay = 86400.0;
    const double seconds = moment.time_since_epoch().count();
    if (!(std::abs(seconds) < 1e15)) return UtDateOf(moment);
    long long day = static_cast<long long>(seconds * (1.0 / kSecondsPerDay));
    // Exact in doubles: whole days' seconds stay far below 2^53.
    while (static_cast<double>(day) * kSecondsPerDay > seconds) --day;
    while (static_cast<double>(day + 1) * kSecondsPerDay <= seconds) ++day;
    return std::chrono::year_month_day(std::chrono::sys_days(std::chrono::days(day)));
}

int SignOf(const std::array<int, kBodyCount>& signs, Body body) {
    return WrapSignNumber(signs[static_cast<std::size_t>(body)]);
}

// The bodies other than `body` standing in its sign.
int CompanionsOf(Body body, const std::array<int, kBodyCount>& signs) {
    const int sign = SignOf(signs, body);
    int count = 0;
    for (int other = 0; other < kGrahaCount; ++other) {
        if (other != body && SignOf(signs, static_cast<Body>(other)) == sign) ++count;
    }
    return count;
}

// Fills a span in place: building it aside and copying it in costs more
// than the rest of the table, as the small date fields stored one by one are
// read back in wide moves.
void Fill(CharaSpan& span, int sign, UtMoment start, UtMoment end, std::chrono::year_month_day startDate,
          std::chrono::year_month_day endDate) {
    span.Sign = sign;
    span.SignName = SignNameOf(sign);
    span.Start = start;
    span.End = end;
    span.StartDate = startDate;
    span.EndDate = endDate;
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

CharaKarakas CharaKarakasOf(const std::array<double, kBodyCount>& longitudes, int scheme) {
    if (scheme != 7 && scheme != 8) throw std::invalid_argument("the chara karaka scheme is 7 or 8");
    CharaKarakas karakas;
    karakas.Scheme = scheme;
    karakas.Count = scheme;
    // Insertion by degree, highest first; a later body goes after an equal
    // one, so an exact tie stays in body order.
    for (int body = 0; body < scheme; ++body) {
        const Body graha = body == 7 ? Rahu : static_cast<Body>(body);
        const double degree = DegreeInSign(longitudes[static_cast<std::size_t>(graha)]);
        CharaKaraka entry;
        entry.Graha = graha;
        entry.DegreeInSign = graha == Rahu ? 30.0 - degree : degree;
        int at = body;
        while (at > 0 && karakas.Ranked[static_cast<std::size_t>(at - 1)].DegreeInSign < entry.DegreeInSign) {
            karakas.Ranked[static_cast<std::size_t>(at)] = karakas.Ranked[static_cast<std::size_t>(at - 1)];
            --at;
        }
        karakas.Ranked[static_cast<std::size_t>(at)] = entry;
    }
    for (std::size_t rank = 0; rank < static_cast<std::size_t>(scheme); ++rank) {
        karakas.Ranked[rank].Name = scheme == 8 ? kKarakaNames8[rank] : kKarakaNames7[rank];
        karakas.Ranked[rank].Title = scheme == 8 ? kKarakaTitles8[rank] : kKarakaTitles7[rank];
    }
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

void FillArgala(ArgalaReference& reference, std::string_view from, int referenceSign,
                const std::array<int, kBodyCount>& signs) {
    reference.From = from;
    reference.Sign = WrapSignNumber(referenceSign);
    std::array<int, kGrahaCount> houses{};
    for (int body = 0; body < kGrahaCount; ++body) {
        const Body graha = static_cast<Body>(body);
        houses[static_cast<std::size_t>(body)] = ArgalaHouseOf(graha, SignOf(signs, graha), reference.Sign);
    }
    for (std::size_t h = 0; h < kArgalaHouses.size(); ++h) {
        ArgalaHouse& house = reference.Houses[h];
        house.House = kArgalaHouses[h];
        house.ObstructionHouse = kArgalaObstructionHouses[h];
        // Without branches: every body is written to the next free place,
        // which only moves on when the body is in the house.
        for (int body = 0; body < kGrahaCount; ++body) {
            const int in = houses[static_cast<std::size_t>(body)];
            house.Bodies.Bodies[static_cast<std::size_t>(house.Bodies.Count)] = static_cast<Body>(body);
            house.Bodies.Count += in == house.House;
            house.Obstructing.Bodies[static_cast<std::size_t>(house.Obstructing.Count)] = static_cast<Body>(body);
            house.Obstructing.Count += in == house.ObstructionHouse;
        }
        if (house.Bodies.Count == 0) {
            house.State = ArgalaState::None;
        } else if (house.Obstructing.Count == 0) {
            house.State = ArgalaState::Unobstructed;
        } else if (house.Bodies.Count > house.Obstructing.Count) {
            house.State = ArgalaState::Prevails;
        } else {
            house.State = ArgalaState::Obstructed;
        }
    }
}

}  // namespace

ArgalaReference ArgalaOf(std::string_view from, int referenceSign, const std::array<int, kBodyCount>& signs) {
    ArgalaReference reference;
    FillArgala(reference, from, referenceSign, signs);
    return reference;
}

namespace {

void FillGrahaArudha(GrahaArudha& arudha, int bodySign, int ownSign) {
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

CharaYears CharaYearsOf(int sign, const std::array<double, kBodyCount>& longitudes,
                        const std::array<int, kBodyCount>& signs) {
    CharaYears years;
    years.Sign = WrapSignNumber(sign);
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
    return years;
}

namespace {

// The table is filled where it stands: at some 9 kB, a copy would cost as
// much as the dates.
void FillCharaDasha(CharaDashaTable& table, const std::array<double, kBodyCount>& longitudes,
                    const std::array<int, kBodyCount>& signs, UtMoment birth) {
    const int ascendant = SignOf(signs, Ascendant);
    table.Forward = CharaRunsForward(ascendant);
    UtMoment start = birth;
    std::chrono::year_month_day startDate = DateOf(birth);
    for (std::size_t k = 0; k < table.Periods.size(); ++k) {
        CharaPeriod& period = table.Periods[k];
        const int sign = NthSignFrom(ascendant, static_cast<int>(k) + 1, table.Forward);
        period.Rule = CharaYearsOf(sign, longitudes, signs);
        period.Years = period.Rule.Years;
        const double seconds = period.Years * kSecondsPerYear;
        const UtMoment end = start + Seconds(seconds);
        const std::chrono::year_month_day endDate = DateOf(end);
        Fill(period, sign, start, end, startDate, endDate);

        // Twelve equal parts; each boundary's date is found once.
        period.SubForward = CharaRunsForward(sign);
        const double subSeconds = seconds / 12.0;
        int subSign = sign;
        UtMoment subStart = start;
        std::chrono::year_month_day subStartDate = startDate;
        for (std::size_t j = 0; j < period.Sub.size(); ++j) {
            const bool last = j + 1 == period.Sub.size();
            const UtMoment subEnd = last ? end : start + Seconds(subSeconds * static_cast<double>(j + 1));
            const std::chrono::year_month_day subEndDate = last ? endDate : DateOf(subEnd);
            subSign = period.SubForward ? subSign % 12 + 1 : (subSign + 10) % 12 + 1;
            Fill(period.Sub[j], subSign, subStart, subEnd, subStartDate, subEndDate);
            subStart = subEnd;
            subStartDate = subEndDate;
        }
        start = end;
        startDate = endDate;
    }
}

}  // namespace

CharaDashaTable CharaDashaOf(const std::array<double, kBodyCount>& longitudes, const std::array<int, kBodyCount>& signs,
                             UtMoment birth) {
    CharaDashaTable table;
    FillCharaDasha(table, longitudes, signs, birth);
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
    JaiminiTools tools;
    tools.Karakas = CharaKarakasOf(longitudes, karakaScheme);
    const Body atmakaraka = tools.Karakas.Atmakaraka().Graha;
    tools.Karakamsa = NavamsaSign(longitudes[static_cast<std::size_t>(atmakaraka)]);
    for (int sign = 1; sign <= kSignCount; ++sign)
        tools.Aspects[static_cast<std::size_t>(sign - 1)] = SignsAspectedBy(sign);
    tools.Argala[0] = ArgalaOf("Asc", SignOf(signs, Ascendant), signs);
    tools.Argala[1] = ArgalaOf("AL", arudhaLagnaSign, signs);
    tools.Argala[2] = ArgalaOf("AK", SignOf(signs, atmakaraka), signs);
    for (int body = 0; body < kGrahaCount; ++body) {
        GrahaArudhaSet& set = tools.GrahaArudhas[static_cast<std::size_t>(body)];
        set.Graha = static_cast<Body>(body);
        const OwnedSigns& owned = kOwnedSigns[static_cast<std::size_t>(body)];
        set.Count = owned.Count;
        for (std::size_t i = 0; i < static_cast<std::size_t>(owned.Count); ++i) {
            FillGrahaArudha(set.Arudhas[i], SignOf(signs, set.Graha), owned.Signs[i]);
        }
    }
    FillCharaDasha(tools.CharaDasha, longitudes, signs, birth);
    return tools;
}

}  // namespace velmora::analysis
