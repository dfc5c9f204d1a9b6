#include "analysis/derivations.h"

#include <charconv>
#include <cmath>

namespace velmora::analysis {

namespace {

// Writes the sentences of one derivation into it: text is appended piece by
// piece and End() closes a sentence with a full stop.
class Writer {
public:
    Writer(Derivation& derivation, std::size_t reserve) : d_(derivation) { d_.Text.reserve(reserve); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    Writer& operator<<(std::string_view text) {
        Open();
        d_.Text.append(text);
        return *this;
    }
    Writer& operator<<(char c) {
        Open();
        d_.Text.push_back(c);
        return *this;
    }
    Writer& operator<<(int number) {
        Open();
        char buffer[16];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
        d_.Text.append(buffer, result.ptr);
        return *this;
    }
    Writer& Sign(int sign) { return *this << SignNameOf(sign); }
    Writer& Graha(Body body) { return *this << kBodyNames[static_cast<std::size_t>(body)]; }
    // 1st, 2nd, 3rd, 4th .. 12th.
    Writer& Ordinal(int n) {
        *this << n;
        const int lastTwo = n % 100;
        if (lastTwo >= 11 && lastTwo <= 13) return *this << "th";
        switch (n % 10) {
            case 1:
                return *this << "st";
            case 2:
                return *this << "nd";
            case 3:
                return *this << "rd";
            default:
                return *this << "th";
        }
    }
    // Degrees with the given decimals and a degree sign, e.g. 17.66°.
    Writer& Degrees(double degrees, int decimals) {
        Open();
        char buffer[40];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, degrees, std::chars_format::fixed, decimals);
        d_.Text.append(buffer, result.ptr);
        d_.Text.append("°");
        return *this;
    }
    Writer& Plural(int n, std::string_view one, std::string_view many) { return *this << (n == 1 ? one : many); }
    void End() {
        d_.Text.push_back('.');
        const auto end = static_cast<std::uint16_t>(d_.Text.size());
        if (d_.Count < kMaxSentences) {
            d_.Ends[d_.Count++] = end;
        } else {
            d_.Ends[kMaxSentences - 1] = end;  // not reached: no rule needs more sentences
        }
    }

private:
    // A blank before the first word of every sentence but the first.
    void Open() {
        if (d_.Count > 0 && d_.Text.size() == d_.Ends[d_.Count - 1]) d_.Text.push_back(' ');
    }

    Derivation& d_;
};

constexpr int kShownDecimals = 2;
constexpr int kMostDecimals = 12;

bool SameText(double a, double b, int decimals) {
    char x[40];
    char y[40];
    const auto rx = std::to_chars(x, x + sizeof x, a, std::chars_format::fixed, decimals);
    const auto ry = std::to_chars(y, y + sizeof y, b, std::chars_format::fixed, decimals);
    return std::string_view(x, static_cast<std::size_t>(rx.ptr - x)) ==
           std::string_view(y, static_cast<std::size_t>(ry.ptr - y));
}

// Decimals enough to show two different degrees differently: two unless
// they look alike at two.
int DecimalsToTell(double a, double b) {
    int decimals = kShownDecimals;
    if (a == b) return decimals;
    while (decimals < kMostDecimals && SameText(a, b, decimals)) ++decimals;
    return decimals;
}

// The bodies of a list in words: "Mars", "Mars and Ketu", "Sun, Moon and Mars".
void WriteBodies(Writer& w, const Body* bodies, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) w << (i + 1 == count ? " and " : ", ");
        w.Graha(bodies[i]);
    }
}

// "the Arudha Lagna", "A2" .. "A11", "the upapada (UL)".
void WritePadaName(Writer& w, const Pada& pada) {
    if (pada.House == 1) {
        w << "the Arudha Lagna";
    } else if (pada.House == 12) {
        w << "the upapada (UL)";
    } else {
        w << pada.Label;
    }
}

void WriteSignList(Writer& w, bool forward) {
    w << (forward ? "Aries, Leo, Virgo, Libra, Aquarius or Pisces"
                  : "Taurus, Gemini, Cancer, Scorpio, Sagittarius or Capricorn");
}

}  // namespace

std::string_view Derivation::operator[](std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : Ends[i - 1] + 1u;
    return std::string_view(Text).substr(begin, Ends[i] - begin);
}

Derivation PadaDerivation(const Pada& pada) {
    Derivation derivation;
    Writer w(derivation, 224);
    const int house = pada.HouseSign;
    const int lordFromHouse = SignCount(house, pada.LordSign);
    if (pada.House == 1) {
        w << "The ascendant is in ";
    } else {
        w << "The ";
        w.Ordinal(pada.House) << " house is ";
    }
    w.Sign(house) << "; its lord " << pada.LordName << " stands in ";
    w.Sign(pada.LordSign) << ", the ";
    w.Ordinal(lordFromHouse) << " sign from ";
    w.Sign(house).End();

    const int reached = NthSignFrom(pada.LordSign, lordFromHouse);
    w << "Counting " << lordFromHouse;
    w.Plural(lordFromHouse, " sign", " signs") << " from ";
    w.Sign(pada.LordSign) << " reaches ";
    w.Sign(reached).End();

    const int reachedFromHouse = SignCount(house, reached);
    w.Sign(reached);
    if (reachedFromHouse == 1) {
        w << " is the 1st from ";
        w.Sign(house) << ", so ";
        WritePadaName(w, pada);
        w << " is the 10th sign from ";
        w.Sign(house) << " instead: ";
        w.Sign(pada.PadaSign).End();
    } else if (reachedFromHouse == 7) {
        w << " is the 7th from ";
        w.Sign(house) << ", so ";
        WritePadaName(w, pada);
        w << " is the 10th sign from ";
        w.Sign(reached) << " instead: ";
        w.Sign(pada.PadaSign) << ", the 4th from ";
        w.Sign(house).End();
    } else {
        w << " is neither the 1st nor the 7th from ";
        w.Sign(house) << ", so ";
        WritePadaName(w, pada);
        w << " is ";
        w.Sign(pada.PadaSign).End();
    }
    return derivation;
}

Derivation CharaKarakaDerivation(const CharaKarakas& karakas, const std::array<double, kBodyCount>& longitudes) {
    Derivation derivation;
    Writer w(derivation, 640);
    const auto count = static_cast<std::size_t>(karakas.Count);
    const bool withRahu = karakas.Scheme == 8;
    w << "The " << karakas.Scheme << "-karaka scheme ranks Sun, Moon, Mercury, Venus, Mars, Jupiter"
      << (withRahu ? ", Saturn and Rahu" : " and Saturn") << " by degree in sign, highest first";
    w.End();

    // Decimals for each rank: enough to tell it from its neighbours.
    std::array<int, 8> decimals{};
    decimals.fill(kShownDecimals);
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const int d = DecimalsToTell(karakas.Ranked[i].DegreeInSign, karakas.Ranked[i + 1].DegreeInSign);
        if (d > decimals[i]) decimals[i] = d;
        if (d > decimals[i + 1]) decimals[i + 1] = d;
    }
    if (withRahu) {
        std::size_t rahu = 0;
        while (karakas.Ranked[rahu].Graha != Rahu) ++rahu;
        const double degree = DegreeInSign(longitudes[Rahu]);
        const int shown = std::max(decimals[rahu], DecimalsToTell(degree, karakas.Ranked[rahu].DegreeInSign));
        w << "Rahu moves backward, so it ranks by 30° less its degree in sign: 30° − ";
        w.Degrees(degree, shown) << " = ";
        w.Degrees(karakas.Ranked[rahu].DegreeInSign, shown).End();
    }

    w << "In order: ";
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) w << ", ";
        w.Graha(karakas.Ranked[i].Graha) << ' ';
        w.Degrees(karakas.Ranked[i].DegreeInSign, decimals[i]);
    }
    w.End();

    for (std::size_t first = 0; first < count;) {
        std::size_t last = first;
        while (last + 1 < count && karakas.Ranked[last + 1].DegreeInSign == karakas.Ranked[first].DegreeInSign) ++last;
        if (last > first) {
            std::array<Body, 8> tied{};
            for (std::size_t i = first; i <= last; ++i) tied[i - first] = karakas.Ranked[i].Graha;
            const std::size_t n = last - first + 1;
            WriteBodies(w, tied.data(), n);
            w << (n == 2 ? " both" : " all") << " rank by exactly ";
            w.Degrees(karakas.Ranked[first].DegreeInSign, decimals[first]);
            if (n == 2) {
                w << "; the tie goes to ";
                w.Graha(tied[0]) << ", the earlier in body order";
            } else {
                w << "; the tie goes by body order";
            }
            w.End();
        }
        first = last + 1;
    }

    w << "So ";
    for (std::size_t i = 0; i < count; ++i) {
        const CharaKaraka& karaka = karakas.Ranked[i];
        if (i > 0) w << (i + 1 == count ? " and " : ", ");
        w << "the " << karaka.Name << " (" << karaka.Title << ") " << (i == 0 ? "is " : "");
        w.Graha(karaka.Graha);
    }
    w.End();
    return derivation;
}

Derivation KarakamsaDerivation(const CharaKarakas& karakas, const std::array<double, kBodyCount>& longitudes,
                               const std::array<int, kBodyCount>& signs) {
    Derivation derivation;
    Writer w(derivation, 224);
    const Body ak = karakas.Atmakaraka().Graha;
    const double longitude = longitudes[static_cast<std::size_t>(ak)];
    const double degree = DegreeInSign(longitude);
    w << "The AK (Atmakaraka) is ";
    w.Graha(ak) << ", at ";
    w.Degrees(degree, kShownDecimals) << ' ';
    w.Sign(WrapSignNumber(signs[static_cast<std::size_t>(ak)])).End();

    // The navamsa as NavamsaSign finds it: 108 parts of 3°20' from 0° Aries.
    double wrapped = std::isfinite(longitude) ? std::fmod(longitude, 360.0) : 0.0;
    if (wrapped < 0) wrapped += 360.0;
    const int part = static_cast<int>(std::floor(wrapped * 108 / 360.0 + 1e-9)) % 108;
    const int sign = part / 9 + 1;
    const int firstNavamsa = (sign - 1) * 9 % 12 + 1;
    const int navamsa = part % 12 + 1;
    w << "Each sign has nine navamsas of 3°20', and those of ";
    w.Sign(sign) << " begin from ";
    w.Sign(firstNavamsa) << "; ";
    w.Degrees(degree, kShownDecimals) << " lies in the ";
    w.Ordinal(part % 9 + 1) << ", ";
    w.Sign(navamsa).End();
    w << "So the karakamsa is ";
    w.Sign(navamsa).End();
    return derivation;
}

Derivation CharaYearsDerivation(const CharaYears& years, const std::array<double, kBodyCount>& longitudes) {
    Derivation derivation;
    Writer w(derivation, 320);
    const int sign = years.Sign;
    if (years.Choice == CharaLordChoice::SingleLord) {
        w << "The lord of ";
        w.Sign(sign) << " is ";
        w.Graha(years.Lord) << ", in ";
        w.Sign(years.LordSign);
        if (years.LordSign == sign) {
            w << " itself, so ";
            w.Sign(sign) << " has 12 years";
            w.End();
            return derivation;
        }
        w.End();
    } else {
        // Mars or Saturn is named first, as in the rule.
        const bool lordFirst = years.Lord == Mars || years.Lord == Saturn;
        const Body first = lordFirst ? years.Lord : years.OtherLord;
        const Body second = lordFirst ? years.OtherLord : years.Lord;
        const int firstSign = lordFirst ? years.LordSign : years.OtherLordSign;
        const int secondSign = lordFirst ? years.OtherLordSign : years.LordSign;
        w.Sign(sign) << " has two lords, ";
        w.Graha(first) << " in ";
        w.Sign(firstSign) << " and ";
        w.Graha(second) << " in ";
        w.Sign(secondSign).End();
        switch (years.Choice) {
            case CharaLordChoice::BothLordsIn:
                w << "Both stand in ";
                w.Sign(sign) << ", so ";
                w.Sign(sign) << " has 12 years";
                w.End();
                return derivation;
            case CharaLordChoice::OtherLord:
                w.Graha(years.OtherLord) << " stands in ";
                w.Sign(sign) << " itself, so the count goes to the other lord, ";
                w.Graha(years.Lord).End();
                break;
            case CharaLordChoice::MoreBodies: {
                const int firstCompanions = lordFirst ? years.LordCompanions : years.OtherCompanions;
                const int secondCompanions = lordFirst ? years.OtherCompanions : years.LordCompanions;
                w << "Neither stands in ";
                w.Sign(sign) << "; ";
                w.Graha(first) << " has " << firstCompanions;
                w.Plural(firstCompanions, " other body", " other bodies") << " in its sign and ";
                w.Graha(second) << ' ' << secondCompanions << ", so the count goes to the stronger, ";
                w.Graha(years.Lord).End();
                break;
            }
            case CharaLordChoice::HigherDegree: {
                const double lordDegree = DegreeInSign(longitudes[years.Lord]);
                const double otherDegree = DegreeInSign(longitudes[years.OtherLord]);
                const int decimals = DecimalsToTell(lordDegree, otherDegree);
                w << "Neither stands in ";
                w.Sign(sign) << " and each has " << years.LordCompanions;
                w.Plural(years.LordCompanions, " other body", " other bodies") << " in its sign; ";
                w.Graha(years.Lord) << " at ";
                w.Degrees(lordDegree, decimals) << " stands higher in its sign than ";
                w.Graha(years.OtherLord) << " at ";
                w.Degrees(otherDegree, decimals) << ", so the count goes to ";
                w.Graha(years.Lord).End();
                break;
            }
            case CharaLordChoice::EqualDefault:
                w << "Neither stands in ";
                w.Sign(sign) << ", each has " << years.LordCompanions;
                w.Plural(years.LordCompanions, " other body", " other bodies") << " in its sign and both stand at ";
                w.Degrees(DegreeInSign(longitudes[years.Lord]), kShownDecimals)
                    << " in their signs, so the count goes to ";
                w.Graha(years.Lord).End();
                break;
            case CharaLordChoice::SingleLord:
                break;
        }
    }
    w << "Counting " << DirectionName(years.CountForward) << " from ";
    w.Sign(sign) << ", ";
    w.Sign(years.LordSign) << " is the ";
    w.Ordinal(years.Count) << " sign, so ";
    w.Sign(sign) << " has " << years.Count << " − 1 = " << years.Years;
    w.Plural(years.Years, " year", " years").End();
    return derivation;
}

Derivation CharaOrderDerivation(const CharaDashaTable& table) {
    Derivation derivation;
    Writer w(derivation, 400);
    const CharaPeriod& first = table.Periods[0];
    w << "The chara dasha starts at birth from the ascendant's sign, ";
    w.Sign(first.Sign) << ", and runs " << DirectionName(table.Forward) << ", as it does from ";
    WriteSignList(w, table.Forward);
    w.End();
    w << "Each period lasts its years of 365.25 days and has twelve equal sub-periods, from the sign after it to "
         "itself, forward for ";
    WriteSignList(w, true);
    w << ", backward otherwise";
    w.End();
    return derivation;
}

Derivations DerivationsOf(const std::array<double, kBodyCount>& longitudes, const std::array<int, kBodyCount>& signs,
                          const JaiminiTools& tools) {
    Derivations derivations;
    const std::array<Pada, 12> padas = ArudhaPadas(signs);
    for (std::size_t h = 0; h < padas.size(); ++h) derivations.Padas[h] = PadaDerivation(padas[h]);
    derivations.ArudhaLagna = derivations.Padas[0];
    derivations.CharaKarakas = CharaKarakaDerivation(tools.Karakas, longitudes);
    derivations.Karakamsa = KarakamsaDerivation(tools.Karakas, longitudes, signs);
    derivations.CharaDashaOrder = CharaOrderDerivation(tools.CharaDasha);
    for (std::size_t k = 0; k < tools.CharaDasha.Periods.size(); ++k) {
        derivations.CharaDashaYears[k] = CharaYearsDerivation(tools.CharaDasha.Periods[k].Rule, longitudes);
    }
    return derivations;
}

}  // namespace velmora::analysis
