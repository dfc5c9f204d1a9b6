#include "core/json_report.h"

#include <rapidjson/internal/dtoa.h>
#include <rapidjson/internal/itoa.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "astro/position_text.h"
#include "core/place_zone.h"
#include "core/zones.h"
#include "model/version.h"

namespace velmora {

namespace {

// The writers fill a rapidjson string buffer, which reserves room once per
// value and then stores characters without checks; a buffer per thread is
// kept, so a batch of many analyses does not allocate it again each time.
rapidjson::StringBuffer& ThreadBuffer() {
    thread_local rapidjson::StringBuffer buffer(nullptr, 32 * 1024);
    buffer.Clear();
    return buffer;
}

// The compact layout, written straight into one growing character buffer:
// byte for byte what rapidjson::Writer writes (the same separators, string
// escapes and number texts, from rapidjson's own dtoa and itoa), without
// its per-character stream calls. Batches write millions of these.
class CompactWriter {
public:
    CompactWriter() { Ensure(kStartSize); }
    // Starts a new document, keeping the buffer.
    void Reset() {
        cur_ = buffer_.get();
        depth_ = 0;
    }
    std::string_view Text() const { return {buffer_.get(), static_cast<std::size_t>(cur_ - buffer_.get())}; }
    // Raw bytes after what is written, outside any document (a line break,
    // a line written elsewhere).
    void Raw(std::string_view bytes) {
        Ensure(bytes.size());
        if (!bytes.empty()) std::memcpy(cur_, bytes.data(), bytes.size());
        cur_ += bytes.size();
    }

    void StartObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void StartArray() { Open('['); }
    void EndArray() { Close(']'); }
    // Keys are the program's own ASCII names: nothing in them needs an escape.
    void Key(const char* text, rapidjson::SizeType length) {
        Prefix();
        Ensure(2 + std::size_t{length});
        *cur_++ = '"';
        for (const char* end = text + length; text < end; ++text) *cur_++ = *text;  // short: no memcpy call
        *cur_++ = '"';
    }
    void String(const char* text, rapidjson::SizeType length) {
        Prefix();
        Ensure(2 + std::size_t{length} * 6);
        *cur_++ = '"';
        char* out = cur_;
        const char* end = text + length;
        // Eight bytes at a time while none of them needs an escape.
        while (end - text >= 8) {
            std::uint64_t word;
            std::memcpy(&word, text, 8);
            if (NeedsEscape(word)) break;
            std::memcpy(out, &word, 8);
            out += 8;
            text += 8;
        }
        for (; text < end; ++text) {
            const unsigned char c = static_cast<unsigned char>(*text);
            if (!kEscape[c]) {
                *out++ = static_cast<char>(c);
                continue;
            }
            cur_ = out;
            *cur_++ = '\\';
            *cur_++ = kEscape[c];
            if (kEscape[c] == 'u') {
                *cur_++ = '0';
                *cur_++ = '0';
                *cur_++ = kHexDigits[c >> 4];
                *cur_++ = kHexDigits[c & 0xF];
            }
            out = cur_;
        }
        cur_ = out;
        *cur_++ = '"';
    }
    void Int(int value) {
        Prefix();
        Ensure(16);
        cur_ = rapidjson::internal::i32toa(value, cur_);
    }
    void Double(double value) {
        Prefix();
        // rapidjson writes nothing for NaN and infinity (the value is refused).
        if (rapidjson::internal::Double(value).IsNanOrInf()) return;
        Ensure(32);
        cur_ = rapidjson::internal::dtoa(value, cur_, kMaxDecimalPlaces);
    }
    void Bool(bool value) { Literal(value ? std::string_view("true") : std::string_view("false")); }
    void Null() { Literal("null"); }

private:
    static constexpr std::size_t kStartSize = 32 * 1024;
    static constexpr int kMaxDecimalPlaces = 324;  // rapidjson::Writer's default
    static constexpr int kMaxDepth = 32;
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    // rapidjson::Writer's escape table: control characters, quote, backslash.
    static constexpr std::array<char, 256> kEscape = [] {
        std::array<char, 256> table{};
        for (int c = 0; c < 0x20; ++c) table[static_cast<std::size_t>(c)] = 'u';
        table['\b'] = 'b';
        table['\t'] = 't';
        table['\n'] = 'n';
        table['\f'] = 'f';
        table['\r'] = 'r';
        table['"'] = '"';
        table['\\'] = '\\';
        return table;
    }();

    // Whether any byte of the word is a control character, '"' or '\\'
    // (bytes of 0x80 and above never count).
    static bool NeedsEscape(std::uint64_t word) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        constexpr std::uint64_t kHighs = 0x8080808080808080ull;
        const std::uint64_t control = (word - 0x20 * kOnes) & ~word;
        const std::uint64_t quote = word ^ (0x22 * kOnes);
        const std::uint64_t backslash = word ^ (0x5C * kOnes);
        return ((control | ((quote - kOnes) & ~quote) | ((backslash - kOnes) & ~backslash)) & kHighs) != 0;
    }

    void Ensure(std::size_t more) {
        if (static_cast<std::size_t>(end_ - cur_) < more) Grow(more);
    }
    [[gnu::noinline]] void Grow(std::size_t more) {
        const std::size_t used = static_cast<std::size_t>(cur_ - buffer_.get());
        std::size_t capacity = std::max<std::size_t>(capacity_ * 2, kStartSize);
        while (capacity - used < more) capacity *= 2;
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (used) std::memcpy(grown.get(), buffer_.get(), used);
        buffer_ = std::move(grown);
        capacity_ = capacity;
        cur_ = buffer_.get() + used;
        end_ = buffer_.get() + capacity;
    }
    // The separator before a value: a comma between array items and object
    // members, a colon between a key and its value.
    void Prefix() {
        if (depth_ == 0) return;
        int& count = counts_[depth_ - 1];
        if (count > 0) {
            Ensure(1);
            *cur_++ = (inArray_[depth_ - 1] || count % 2 == 0) ? ',' : ':';
        }
        ++count;
    }
    void Open(char bracket) {
        Prefix();
        Ensure(1);
        *cur_++ = bracket;
        if (depth_ < kMaxDepth) {
            counts_[depth_] = 0;
            inArray_[depth_] = bracket == '[';
        }
        ++depth_;
    }
    void Close(char bracket) {
        --depth_;
        Ensure(1);
        *cur_++ = bracket;
    }
    void Literal(std::string_view text) {
        Prefix();
        Ensure(text.size());
        std::memcpy(cur_, text.data(), text.size());
        cur_ += text.size();
    }

    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    char* cur_ = nullptr;
    char* end_ = nullptr;
    int depth_ = 0;
    std::array<int, kMaxDepth> counts_{};
    std::array<bool, kMaxDepth> inArray_{};
};

// Fixed-width decimal digits, written from the right.
char* PutDigits(char* end, int value, int width) {
    unsigned magnitude = static_cast<unsigned>(value < 0 ? -value : value);
    for (int i = 0; i < width; ++i) {
        *--end = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    }
    return end;
}

template <class W>
void Str(W& w, std::string_view s) {
    w.String(s.data(), static_cast<rapidjson::SizeType>(s.size()));
}

template <class W>
void Key(W& w, std::string_view s) {
    w.Key(s.data(), static_cast<rapidjson::SizeType>(s.size()));
}

// "1980-01-05"; years and days beyond the field widths keep their low digits,
// which the checks never let through.
struct DateChars {
    char Text[10];
    std::string_view View() const { return {Text, sizeof Text}; }
};

DateChars DateCharsOf(int year, int month, int day) {
    DateChars d;
    PutDigits(d.Text + 4, year, 4);
    d.Text[4] = '-';
    PutDigits(d.Text + 7, month, 2);
    d.Text[7] = '-';
    PutDigits(d.Text + 10, day, 2);
    return d;
}

std::string TimeText(int hour, int minute) {
    char text[5];
    PutDigits(text + 2, hour, 2);
    text[2] = ':';
    PutDigits(text + 5, minute, 2);
    return std::string(text, sizeof text);
}

std::string ColorText(std::uint32_t rgb) {
    static constexpr char kHex[] = "0123456789abcdef";
    char text[7] = {'#'};
    for (int i = 0; i < 6; ++i) text[1 + i] = kHex[(rgb >> (20 - 4 * i)) & 0xF];
    return std::string(text, sizeof text);
}

template <class W>
void SignFields(W& w, int sign) {
    Key(w, "sign");
    w.Int(sign);
    Key(w, "signName");
    Str(w, SignNameOf(sign));
}

template <class W>
void WriteInput(W& w, const BirthAnalysis& a) {
    const BirthData& b = a.Birth;
    const FormInput& f = a.Input;
    w.StartObject();
    Key(w, "name");
    Str(w, b.Name);
    Key(w, "date");
    Str(w, DateCharsOf(b.Year, b.Month, b.Day).View());
    Key(w, "time");
    Str(w, TimeText(b.Hour, b.Minute));
    Key(w, "zoneRow");
    if (b.ExactUtcOffsetMinutes) {
        w.Null();
        Key(w, "zone");
        Str(w, ExactOffsetEntryText(f));
    } else {
        w.Int(f.ZoneRow);
        Key(w, "zone");
        Str(w, f.ZoneRow >= 0 && f.ZoneRow < kZoneCount ? ZoneTable()[static_cast<std::size_t>(f.ZoneRow)].Text
                                                        : std::string_view{});
    }
    Key(w, "daylightSaving");
    w.Bool(b.DaylightSaving);
    if (b.ExactUtcOffsetMinutes) {
        const int m = *b.ExactUtcOffsetMinutes;
        const int magnitude = m < 0 ? -m : m;
        (void)magnitude;
        Key(w, "utcOffset");
        Str(w, OffsetText(m));
    }
    Key(w, "latitude");
    Str(w, LatitudeText(b));
    Key(w, "longitude");
    Str(w, LongitudeText(b));
    Key(w, "city");
    Str(w, f.City);
    Key(w, "state");
    Str(w, f.State);
    Key(w, "country");
    Str(w, f.Country);
    w.EndObject();
}

DateChars IsoDate(const std::chrono::year_month_day& date) {
    return DateCharsOf(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                       static_cast<int>(static_cast<unsigned>(date.day())));
}

template <class W>
void WriteSpan(W& w, const analysis::DashaSpan& span) {
    Key(w, "lord");
    Str(w, span.LordName);
    Key(w, "start");
    Str(w, IsoDate(span.StartDate).View());
    Key(w, "end");
    Str(w, IsoDate(span.EndDate).View());
}

template <class W>
void WriteToolkit(W& w, const BirthAnalysis& a) {
    Key(w, "arudhaPadas");
    w.StartArray();
    for (const analysis::Pada& pada : a.Padas) {
        w.StartObject();
        Key(w, "house");
        w.Int(pada.House);
        Key(w, "label");
        Str(w, pada.Label);
        SignFields(w, pada.PadaSign);
        w.EndObject();
    }
    w.EndArray();

    Key(w, "navamsa");
    w.StartArray();
    for (std::size_t body = 0; body < kBodyCount; ++body) {
        w.StartObject();
        Key(w, "name");
        Str(w, kBodyNames[body]);
        SignFields(w, a.Navamsa[body]);
        w.EndObject();
    }
    w.EndArray();

    const analysis::DashaTable& dasha = a.Dasha;
    Key(w, "dasha");
    w.StartObject();
    Key(w, "system");
    Str(w, "vimshottari");
    Key(w, "nakshatra");
    w.Int(dasha.Nakshatra);
    Key(w, "nakshatraName");
    Str(w, dasha.NakshatraName);
    Key(w, "nakshatraLord");
    Str(w, dasha.LordName);
    Key(w, "balanceYears");
    w.Double(dasha.BalanceYears);
    Key(w, "periods");
    w.StartArray();
    for (const analysis::MahaDasha& maha : dasha.Periods) {
        w.StartObject();
        WriteSpan(w, maha);
        Key(w, "sub");
        w.StartArray();
        for (const analysis::DashaSpan& antar : maha.Sub) {
            w.StartObject();
            WriteSpan(w, antar);
            w.EndObject();
        }
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}

template <class W>
void WriteEngine(W& w, const BirthAnalysis& a) {
    Key(w, "ephemeris");
    w.StartObject();
    Key(w, "mode");
    Str(w, EphemerisModeKey(a.Settings.Mode));
    Key(w, "ayanamsa");
    Str(w, AyanamsaKeyOf(a.Settings));
    Key(w, "node");
    Str(w, NodeKeyOf(a.Settings));
    w.EndObject();
    if (a.FormulaComparison) {
        // The formulas' positions beside the precise ones.
        Key(w, "formulaComparison");
        w.StartArray();
        for (std::size_t body = 0; body < kBodyCount; ++body) {
            const double precise = a.Positions.Longitudes[body];
            const double formula = a.FormulaComparison->Longitudes[body];
            double difference = formula - precise;
            if (difference > 180) difference -= 360;
            if (difference <= -180) difference += 360;
            w.StartObject();
            Key(w, "name");
            Str(w, kBodyNames[body]);
            Key(w, "longitude");
            w.Double(formula);
            Key(w, "difference");
            w.Double(difference);
            Key(w, "sign");
            w.Int(astro::SignIndexOfLongitude(formula) + 1);
            Key(w, "signDiffers");
            w.Bool(astro::SignIndexOfLongitude(formula) + 1 != a.Chart.BodySign[body]);
            w.EndObject();
        }
        w.EndArray();
    }
}

template <class W>
void WritePlace(W& w, const BirthAnalysis& a) {
    if (!a.Input.Place || !a.PlaceZone) return;
    const PlacePick& pick = *a.Input.Place;
    Key(w, "place");
    w.StartObject();
    Key(w, "city");
    Str(w, pick.Name);
    Key(w, "state");
    Str(w, pick.State);
    Key(w, "country");
    Str(w, pick.Country);
    Key(w, "timeZone");
    Str(w, pick.TimeZone);
    Key(w, "latitude");
    w.Double(pick.Latitude);
    Key(w, "longitude");
    w.Double(pick.Longitude);
    Key(w, "utcOffsetMinutes");
    w.Int(a.PlaceZone->Zone.UtcOffsetMinutes);
    Key(w, "daylightSaving");
    w.Bool(a.PlaceZone->Zone.SummerTime);
    Key(w, "zoneRow");
    if (a.Birth.ExactUtcOffsetMinutes) {
        w.Null();
    } else {
        w.Int(a.Input.ZoneRow);
    }
    w.EndObject();
}

// "from" and "to" of a run of minutes, as local clock times.
template <class W>
void SpanFields(W& w, const MinuteSpan& span) {
    Key(w, "from");
    Str(w, ClockMinuteText(span.From));
    Key(w, "to");
    Str(w, ClockMinuteText(span.To));
}

template <class W>
void WriteSensitivity(W& w, const SensitivityScan& scan) {
    Key(w, "sensitivity");
    w.StartObject();
    Key(w, "windowMinutes");
    w.Int(scan.WindowMinutes);
    Key(w, "segments");
    w.StartArray();
    for (const SensitivitySegment& segment : scan.Segments) {
        w.StartObject();
        SpanFields(w, segment);
        Key(w, "ascendantSign");
        w.Int(segment.AscendantSign);
        Key(w, "arudhaLagnaSign");
        w.Int(segment.ArudhaLagnaSign);
        w.EndObject();
    }
    w.EndArray();
    Key(w, "sameChart");
    w.StartObject();
    SpanFields(w, scan.SameChart);
    w.EndObject();
    w.EndObject();
}

template <class W>
void WriteTransits(W& w, const TransitSky& sky) {
    Key(w, "transits");
    w.StartObject();
    Key(w, "moment");
    Str(w, ClockMinuteText(sky.Moment));
    Key(w, "bodies");
    w.StartArray();
    for (const TransitBody& body : sky.Bodies) {
        w.StartObject();
        Key(w, "name");
        Str(w, kBodyNames[body.Which]);
        Key(w, "longitude");
        w.Double(body.Longitude);
        SignFields(w, body.Sign);
        Key(w, "retrograde");
        w.Bool(body.Retrograde);
        Key(w, "houseFromAscendant");
        w.Int(body.HouseFromAscendant);
        Key(w, "houseFromArudhaLagna");
        w.Int(body.HouseFromArudhaLagna);
        w.EndObject();
    }
    w.EndArray();
    Key(w, "dasha");
    if (sky.Dasha) {
        w.StartObject();
        Key(w, "maha");
        Str(w, sky.MahaLord);
        Key(w, "antar");
        Str(w, sky.AntarLord);
        w.EndObject();
    } else {
        w.Null();  // before the birth or past the last period
    }
    w.EndObject();
}

template <class W>
void WriteAnalysis(W& w, const BirthAnalysis& a, const JsonExtras& extras = {}) {
    const DisplayTexts& d = a.Display;
    const astro::EnginePositions& p = a.Positions;
    w.StartObject();
    Key(w, "schema");
    w.Int(kJsonSchemaVersion);
    Key(w, "program");
    w.StartObject();
    Key(w, "name");
    Str(w, kProgramName);
    Key(w, "version");
    Str(w, kProgramVersion);
    w.EndObject();
    Key(w, "input");
    WriteInput(w, a);
    WritePlace(w, a);
    WriteEngine(w, a);

    Key(w, "zoneOffsetHours");
    w.Int(a.Zone.Hours);
    Key(w, "zoneOffsetMinutes");
    w.Int(a.Zone.Minutes);
    Key(w, "universalTime");
    w.Double(p.UniversalTime);
    Key(w, "siderealCorrection");
    w.Double(p.SiderealCorrection);
    Key(w, "longitudes");
    w.StartArray();
    for (double lon : p.Longitudes) w.Double(lon);
    w.EndArray();

    Key(w, "bodies");
    w.StartArray();
    for (std::size_t body = 0; body < kBodyCount; ++body) {
        w.StartObject();
        Key(w, "name");
        Str(w, kBodyNames[body]);
        Key(w, "longitude");
        w.Double(p.Longitudes[body]);
        Key(w, "arcText");
        Str(w, d.ArcTexts[body]);
        Key(w, "position");
        Str(w, d.Positions[body]);
        SignFields(w, a.Chart.BodySign[body]);
        Key(w, "retrograde");
        w.Bool(p.Retrograde[body]);
        w.EndObject();
    }
    w.EndArray();

    Key(w, "ascendant");
    w.StartObject();
    SignFields(w, a.Chart.AscendantSign);
    Key(w, "lord");
    Str(w, kBodyNames[a.Chart.AscendantLord]);
    Key(w, "lordSign");
    w.Int(a.Chart.LordSign);
    w.EndObject();

    Key(w, "arudhaLagna");
    w.StartObject();
    SignFields(w, a.Chart.ArudhaLagnaSign);
    w.EndObject();

    Key(w, "chart");
    w.StartArray();
    for (int sign = 1; sign <= kSignCount; ++sign) {
        w.StartObject();
        SignFields(w, sign);
        Key(w, "bodies");
        w.StartArray();
        const analysis::BodiesInSign in = analysis::BodiesIn(a.Chart, sign);
        for (int i = 0; i < in.Count; ++i) Str(w, kBodyNames[in.Bodies[static_cast<std::size_t>(i)]]);
        w.EndArray();
        Key(w, "arudhaLagna");
        w.Bool(sign == a.Chart.ArudhaLagnaSign);
        w.EndObject();
    }
    w.EndArray();

    WriteToolkit(w, a);

    Key(w, "readings");
    w.StartArray();
    for (const analysis::Reading& r : a.Readings) {
        w.StartObject();
        Key(w, "body");
        Str(w, kBodyNames[r.Subject]);
        Key(w, "house");
        w.Int(r.House);
        Key(w, "heading");
        Str(w, r.Heading);
        Key(w, "sentences");
        w.StartArray();
        for (int i = 0; i < r.SentenceCount; ++i) Str(w, r.Sentences[static_cast<std::size_t>(i)]);
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();

    Key(w, "readingRuns");
    w.StartArray();
    for (const TextRun& run : d.Readings) {
        w.StartObject();
        Key(w, "text");
        Str(w, run.Text);
        Key(w, "bold");
        w.Bool(run.Bold);
        Key(w, "color");
        Str(w, ColorText(run.Color));
        w.EndObject();
    }
    w.EndArray();

    Key(w, "profile");
    w.StartObject();
    for (std::size_t i = 0; i < kProfileJsonKeys.size(); ++i) {
        Key(w, kProfileJsonKeys[i]);
        Str(w, d.Profile[i]);
    }
    w.EndObject();

    Key(w, "details");
    w.StartObject();
    const BirthDetails& det = d.Details;
    const std::pair<std::string_view, const std::string*> details[] = {
        {"name", &det.Name},         {"dateOfBirth", &det.DateOfBirth}, {"timeOfBirth", &det.TimeOfBirth},
        {"latitude", &det.Latitude}, {"longitude", &det.Longitude},     {"city", &det.City},
        {"state", &det.State},       {"country", &det.Country}};
    for (const auto& [key, value] : details) {
        Key(w, key);
        Str(w, *value);
    }
    w.EndObject();
    if (extras.Sensitivity && extras.Sensitivity->Ok) WriteSensitivity(w, *extras.Sensitivity);
    if (extras.Transits && extras.Transits->Ok) WriteTransits(w, *extras.Transits);
    w.EndObject();
}

}  // namespace

const std::array<std::string_view, kProfileFieldCount> kProfileJsonKeys{"arudhaLagnaPresentInSign",
                                                                        "vedicName",
                                                                        "englishName",
                                                                        "rulingPlanet",
                                                                        "symbol",
                                                                        "nature",
                                                                        "color",
                                                                        "typeOfSign",
                                                                        "gender",
                                                                        "bestPeriodOfActivity",
                                                                        "barren",
                                                                        "caste",
                                                                        "position",
                                                                        "constituentCharacter",
                                                                        "luckyDays",
                                                                        "luckyNumbers",
                                                                        "bestDirection",
                                                                        "luckyColors",
                                                                        "luckyGemstone",
                                                                        "partOfTheBody",
                                                                        "physique",
                                                                        "looksText",
                                                                        "natureText",
                                                                        "careerAndFinanceText",
                                                                        "loveAndDomesticLifeText",
                                                                        "healthText",
                                                                        "compatibleWith",
                                                                        "notCompatibleWith",
                                                                        "yourArudhaLagnaIs"};

namespace {

// "28:36N": degrees in `width` digits or more, minutes in two.
std::string AngleText(int degrees, int minutes, int width, char hemisphere) {
    if (degrees < 0 || degrees > 999 || minutes < 0 || minutes > 99) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%0*d:%02d%c", width, degrees, minutes, hemisphere);
        return buffer;
    }
    if (degrees > 99) width = 3;
    char text[7];
    PutDigits(text + width, degrees, width);
    text[width] = ':';
    PutDigits(text + width + 3, minutes, 2);
    text[width + 3] = hemisphere;
    return std::string(text, static_cast<std::size_t>(width + 4));
}

}  // namespace

std::string LatitudeText(const BirthData& b) {
    return AngleText(b.LatitudeDegrees, b.LatitudeMinutes, 2, b.IsSouth ? 'S' : 'N');
}

std::string LongitudeText(const BirthData& b) {
    return AngleText(b.LongitudeDegrees, b.LongitudeMinutes, 3, b.IsEast ? 'E' : 'W');
}

namespace {

void AppendJson(std::string& out, const BirthAnalysis& analysis, const JsonExtras& extras, JsonLayout layout) {
    rapidjson::StringBuffer& buffer = ThreadBuffer();
    if (layout == JsonLayout::Indented) {
        rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
        writer.SetIndent(' ', 2);
        WriteAnalysis(writer, analysis, extras);
        out.append(buffer.GetString(), buffer.GetSize());
    } else {
        // One writer per thread: its buffer is reused from one analysis to
        // the next.
        thread_local CompactWriter writer;
        writer.Reset();
        WriteAnalysis(writer, analysis, extras);
        out.append(writer.Text());
    }
}

}  // namespace

void AppendAnalysisJson(std::string& out, const BirthAnalysis& analysis, JsonLayout layout) {
    AppendJson(out, analysis, {}, layout);
}

struct CompactJsonLines::Writer {
    CompactWriter Compact;
};

CompactJsonLines::CompactJsonLines() : writer_(std::make_unique<Writer>()) {}
CompactJsonLines::~CompactJsonLines() = default;
CompactJsonLines::CompactJsonLines(CompactJsonLines&&) noexcept = default;
CompactJsonLines& CompactJsonLines::operator=(CompactJsonLines&&) noexcept = default;

void CompactJsonLines::AppendAnalysis(const BirthAnalysis& analysis) {
    WriteAnalysis(writer_->Compact, analysis, {});
    writer_->Compact.Raw("\n");
}

void CompactJsonLines::AppendLine(std::string_view line) {
    writer_->Compact.Raw(line);
    writer_->Compact.Raw("\n");
}

std::string_view CompactJsonLines::Text() const { return writer_->Compact.Text(); }

void CompactJsonLines::Clear() { writer_->Compact.Reset(); }

std::string AnalysisJson(const BirthAnalysis& analysis, JsonLayout layout) {
    std::string out;
    out.reserve(16384);
    AppendAnalysisJson(out, analysis, layout);
    return out;
}

std::string AnalysisJson(const BirthAnalysis& analysis, const JsonExtras& extras, JsonLayout layout) {
    std::string out;
    out.reserve(32768);
    AppendJson(out, analysis, extras, layout);
    return out;
}

}  // namespace velmora
