#include "analysis/derivations.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>

namespace velmora::analysis {

namespace {

// A name padded to 16 characters, so that it is copied in one fixed move.
struct PaddedName {
    std::array<char, 16> Chars{};
    std::size_t Size = 0;
};

template <std::size_t N>
constexpr std::array<PaddedName, N> Padded(const std::array<std::string_view, N>& names) {
    std::array<PaddedName, N> padded{};
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t c = 0; c < names[i].size() && c < 16; ++c) padded[i].Chars[c] = names[i][c];
        padded[i].Size = names[i].size();
    }
    return padded;
}

constexpr std::array<PaddedName, kSignCount> kPaddedSigns = Padded(kSignNames);
constexpr std::array<PaddedName, kBodyCount> kPaddedBodies = Padded(kBodyNames);

// Degrees are shown with two decimals, more where two would not tell two
// apart, at most twelve.
constexpr int kShownDecimals = 2;
constexpr int kMostDecimals = 12;

// Writes the sentences of a chart's derivations one after another into one
// buffer: Start() begins a derivation, End() closes a sentence with a full
// stop and Finish() hands the derivation its views. The pieces are mostly
// literals whose copies the compiler makes in place, and names are moved in
// one fixed 16-character piece: a chart's derivations cost a few
// microseconds so, several times less than appending to a string for each.
class Writer {
public:
    Writer(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {}
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void Start() {
        begin_ = size_;
        count_ = 0;
    }
    void Finish(Derivation& derivation) const {
        const std::size_t end = size_ > begin_ ? size_ - 1 : begin_;  // without the blank after the last stop
        derivation.Text = std::string_view(buffer_ + begin_, end - begin_);
        for (std::size_t i = 0; i < count_; ++i) derivation.Ends[i] = static_cast<std::uint16_t>(ends_[i] - begin_);
        derivation.Count = count_;
    }

    [[gnu::always_inline]] Writer& operator<<(std::string_view text) {
        Put(text.data(), text.size());
        return *this;
    }
    Writer& operator<<(char c) {
        if (size_ < capacity_) buffer_[size_++] = c;
        return *this;
    }
    Writer& operator<<(int number) {
        const auto result = std::to_chars(buffer_ + size_, buffer_ + capacity_, number);
        if (result.ec == std::errc()) size_ = static_cast<std::size_t>(result.ptr - buffer_);
        return *this;
    }
    Writer& Sign(int sign) { return Name(kPaddedSigns[static_cast<std::size_t>(WrapSignNumber(sign) - 1)]); }
    Writer& Graha(Body body) { return Name(kPaddedBodies[static_cast<std::size_t>(body)]); }
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
    // Degrees with the given decimals and a degree sign, e.g. 17.66°; a
    // degree in sign just short of 30 gets the decimals it needs not to
    // read 30.
    Writer& Degrees(double degrees, int decimals) {
        double half = 0.5;
        for (int d = 0; d < decimals; ++d) half /= 10;
        while (degrees < 30.0 && degrees >= 30.0 - half && decimals < 12) {
            ++decimals;
            half /= 10;
        }
        if (decimals != kShownDecimals || !Hundredths(degrees)) {
            const auto result =
                std::to_chars(buffer_ + size_, buffer_ + capacity_, degrees, std::chars_format::fixed, decimals);
            if (result.ec == std::errc()) size_ = static_cast<std::size_t>(result.ptr - buffer_);
        }
        return *this << "°";
    }
    Writer& Plural(int n, std::string_view one, std::string_view many) { return *this << (n == 1 ? one : many); }
    // Closes a sentence: the full stop, and the blank before the next one.
    void End() {
        *this << ". ";
        ends_[count_ < kMaxSentences ? count_++ : kMaxSentences - 1] = size_ - 1;  // no rule needs more
    }

private:
    // Two decimals the quick way, as std::to_chars writes them: the
    // hundredths rounded to the nearest whole number. The product's error
    // stays below a millionth of a hundredth for these sizes, so unless the
    // hundredths lie that close to a half the rounding is the same as that of
    // the exact value; there (and for what is not a degree) nothing is
    // written and false returned.
    bool Hundredths(double value) {
        if (!(value >= 0.0 && value < 1e6)) return false;
        const double hundredths = value * 100.0;
        auto whole = static_cast<long long>(hundredths);
        const double rest = hundredths - static_cast<double>(whole);  // exact
        if (std::abs(rest - 0.5) <= 1e-6) return false;
        whole += rest > 0.5;
        *this << static_cast<int>(whole / 100);
        const int cents = static_cast<int>(whole % 100);
        const char digits[3] = {'.', static_cast<char>('0' + cents / 10), static_cast<char>('0' + cents % 10)};
        Put(digits, sizeof digits);
        return true;
    }

    // A piece that fits is copied with its own, fixed size: a literal's
    // copy then compiles to a few moves. Cutting it to the room left would
    // make every copy one of unknown size, a call or a loop of its own.
    [[gnu::always_inline]] void Put(const char* text, std::size_t size) {
        if (size <= capacity_ - size_) [[likely]] {
            std::memcpy(buffer_ + size_, text, size);
            size_ += size;
        } else {
            PutCut(text, size);
        }
    }
    [[gnu::noinline, gnu::cold]] void PutCut(const char* text, std::size_t size) {
        size = std::min(size, capacity_ - size_);
        std::memcpy(buffer_ + size_, text, size);
        size_ += size;
    }
    // The buffer has room for a whole padded name past its capacity.
    Writer& Name(const PaddedName& name) {
        if (size_ + name.Size <= capacity_) {
            std::memcpy(buffer_ + size_, name.Chars.data(), name.Chars.size());
            size_ += name.Size;
        }
        return *this;
    }

    char* buffer_;
    std::size_t capacity_;
    std::size_t size_ = 0;
    std::size_t begin_ = 0;
    std::array<std::size_t, kMaxSentences> ends_{};
    std::size_t count_ = 0;
};

// Room for a chart's derivations: the longest take under 10 000 characters
// (twelve padas of at most 260, karakas of at most 1 200 with every tie and
// twelve decimals, twelve periods' years of at most 400); a text past it
// would be cut, never written beyond.
constexpr std::size_t kDerivationsCapacity = 16384;
constexpr std::size_t kNameSlack = 16;  // a padded name's whole move at the very end

bool SameText(double a, double b, int decimals) {
    char x[40];
    char y[40];
    const auto rx = std::to_chars(x, x + sizeof x, a, std::chars_format::fixed, decimals);
    const auto ry = std::to_chars(y, y + sizeof y, b, std::chars_format::fixed, decimals);
    return std::string_view(x, static_cast<std::size_t>(rx.ptr - x)) ==
           std::string_view(y, static_cast<std::size_t>(ry.ptr - y));
}

// Decimals enough to show two different degrees differently: two unless
// they look alike at two. Values a hundredth or more apart never do.
int DecimalsToTell(double a, double b) {
    int decimals = kShownDecimals;
    if (a == b || std::abs(a - b) >= 0.01) return decimals;
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

void WritePada(Writer& w, const Pada& pada) {
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
}

void WriteKarakas(Writer& w, const CharaKarakas& karakas, const std::array<double, kBodyCount>& longitudes) {
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
    // Bodies at exactly the same degree are shown alike: backward, then
    // forward through each run of equal degrees.
    for (std::size_t i = count - 1; i > 0; --i) {
        if (karakas.Ranked[i - 1].DegreeInSign == karakas.Ranked[i].DegreeInSign) {
            decimals[i - 1] = std::max(decimals[i - 1], decimals[i]);
        }
    }
    for (std::size_t i = 1; i < count; ++i) {
        if (karakas.Ranked[i - 1].DegreeInSign == karakas.Ranked[i].DegreeInSign) decimals[i] = decimals[i - 1];
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
}

void WriteKarakamsa(Writer& w, const CharaKarakas& karakas, const std::array<double, kBodyCount>& longitudes,
                    const std::array<int, kBodyCount>& signs) {
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
}

void WriteCharaYears(Writer& w, const CharaYears& years, const std::array<double, kBodyCount>& longitudes) {
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
            return;
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
                return;
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
}

void WriteCharaOrder(Writer& w, const CharaDashaTable& table) {
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
}

}  // namespace

std::string_view Derivation::operator[](std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : Ends[i - 1] + 1u;
    return std::string_view(Text).substr(begin, Ends[i] - begin);
}

Derivations DerivationsOf(const std::array<double, kBodyCount>& longitudes, const std::array<int, kBodyCount>& signs,
                          const JaiminiTools& tools) {
    return DerivationsOf(longitudes, signs, ArudhaPadas(signs), tools);
}

Derivations DerivationsOf(const std::array<double, kBodyCount>& longitudes, const std::array<int, kBodyCount>& signs,
                          const std::array<Pada, 12>& padas, const JaiminiTools& tools) {
    Derivations derivations;
    derivations.Buffer = std::make_unique_for_overwrite<char[]>(kDerivationsCapacity + kNameSlack);
    Writer w(derivations.Buffer.get(), kDerivationsCapacity);
    for (std::size_t h = 0; h < padas.size(); ++h) {
        w.Start();
        WritePada(w, padas[h]);
        w.Finish(derivations.Padas[h]);
    }
    w.Start();
    WriteKarakas(w, tools.Karakas, longitudes);
    w.Finish(derivations.CharaKarakas);
    w.Start();
    WriteKarakamsa(w, tools.Karakas, longitudes, signs);
    w.Finish(derivations.Karakamsa);
    w.Start();
    WriteCharaOrder(w, tools.CharaDasha);
    w.Finish(derivations.CharaDashaOrder);
    for (std::size_t k = 0; k < tools.CharaDasha.Periods.size(); ++k) {
        w.Start();
        WriteCharaYears(w, tools.CharaDasha.Periods[k].Rule, longitudes);
        w.Finish(derivations.CharaDashaYears[k]);
    }
    return derivations;
}

}  // namespace velmora::analysis
