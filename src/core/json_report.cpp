#include "core/json_report.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdio>

#include "astro/position_text.h"
#include "core/place_zone.h"
#include "core/zones.h"
#include "model/version.h"

namespace velmora {

namespace {

// rapidjson's output stream over a std::string we append to.
class StringSink {
public:
    using Ch = char;
    explicit StringSink(std::string& out) : out_(out) {}
    void Put(char c) { out_.push_back(c); }
    void Flush() {}
    void Reserve(std::size_t n) { out_.reserve(out_.size() + n); }

private:
    std::string& out_;
};

template <class W>
void Str(W& w, std::string_view s) {
    w.String(s.data(), static_cast<rapidjson::SizeType>(s.size()));
}

template <class W>
void Key(W& w, std::string_view s) {
    w.Key(s.data(), static_cast<rapidjson::SizeType>(s.size()));
}

std::string TwoDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

std::string DateText(const BirthData& b) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", b.Year, b.Month, b.Day);
    return buffer;
}

std::string ColorText(std::uint32_t rgb) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%06x", static_cast<unsigned>(rgb & 0xFFFFFFu));
    return buffer;
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
    Str(w, DateText(b));
    Key(w, "time");
    Str(w, TwoDigits(b.Hour) + ":" + TwoDigits(b.Minute));
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

std::string IsoDate(const std::chrono::year_month_day& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return buffer;
}

template <class W>
void WriteSpan(W& w, const analysis::DashaSpan& span) {
    Key(w, "lord");
    Str(w, span.LordName);
    Key(w, "start");
    Str(w, IsoDate(span.StartDate));
    Key(w, "end");
    Str(w, IsoDate(span.EndDate));
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
        Key(w, "from");
        Str(w, ClockMinuteText(segment.From));
        Key(w, "to");
        Str(w, ClockMinuteText(segment.To));
        Key(w, "ascendantSign");
        w.Int(segment.AscendantSign);
        Key(w, "arudhaLagnaSign");
        w.Int(segment.ArudhaLagnaSign);
        w.EndObject();
    }
    w.EndArray();
    Key(w, "sameChart");
    w.StartObject();
    Key(w, "from");
    Str(w, ClockMinuteText(scan.SameChart.From));
    Key(w, "to");
    Str(w, ClockMinuteText(scan.SameChart.To));
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
        {"name", &det.Name},           {"dateOfBirth", &det.DateOfBirth}, {"timeOfBirth", &det.TimeOfBirth},
        {"latitude", &det.Latitude},   {"longitude", &det.Longitude},     {"city", &det.City},
        {"state", &det.State},         {"country", &det.Country}};
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

const std::array<std::string_view, kProfileFieldCount> kProfileJsonKeys{
    "arudhaLagnaPresentInSign", "vedicName",       "englishName",         "rulingPlanet",
    "symbol",                   "nature",          "color",               "typeOfSign",
    "gender",                   "bestPeriodOfActivity", "barren",         "caste",
    "position",                 "constituentCharacter", "luckyDays",      "luckyNumbers",
    "bestDirection",            "luckyColors",     "luckyGemstone",       "partOfTheBody",
    "physique",                 "looksText",       "natureText",          "careerAndFinanceText",
    "loveAndDomesticLifeText",  "healthText",      "compatibleWith",      "notCompatibleWith",
    "yourArudhaLagnaIs"};

std::string LatitudeText(const BirthData& b) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d%c", b.LatitudeDegrees, b.LatitudeMinutes, b.IsSouth ? 'S' : 'N');
    return buffer;
}

std::string LongitudeText(const BirthData& b) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%03d:%02d%c", b.LongitudeDegrees, b.LongitudeMinutes, b.IsEast ? 'E' : 'W');
    return buffer;
}

void AppendAnalysisJson(std::string& out, const BirthAnalysis& analysis, JsonLayout layout) {
    StringSink sink(out);
    if (layout == JsonLayout::Indented) {
        rapidjson::PrettyWriter<StringSink> writer(sink);
        writer.SetIndent(' ', 2);
        WriteAnalysis(writer, analysis);
    } else {
        rapidjson::Writer<StringSink> writer(sink);
        WriteAnalysis(writer, analysis);
    }
}

std::string AnalysisJson(const BirthAnalysis& analysis, JsonLayout layout) {
    std::string out;
    out.reserve(16384);
    AppendAnalysisJson(out, analysis, layout);
    return out;
}

std::string AnalysisJson(const BirthAnalysis& analysis, const JsonExtras& extras, JsonLayout layout) {
    std::string out;
    out.reserve(32768);
    StringSink sink(out);
    if (layout == JsonLayout::Indented) {
        rapidjson::PrettyWriter<StringSink> writer(sink);
        writer.SetIndent(' ', 2);
        WriteAnalysis(writer, analysis, extras);
    } else {
        rapidjson::Writer<StringSink> writer(sink);
        WriteAnalysis(writer, analysis, extras);
    }
    return out;
}

}  // namespace velmora
