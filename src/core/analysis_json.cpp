#include "core/analysis_json.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "astro/position_text.h"
#include "core/json_compact_writer.h"
#include "core/json_parashari.h"
#include "core/json_precise.h"
#include "core/json_jaimini.h"
#include "core/place_zone.h"
#include "core/text_formats.h"
#include "core/zones.h"
#include "model/version.h"

namespace velmora::core {

namespace {

// The writers fill a rapidjson string buffer, which reserves room once per
// value and then stores characters without checks; a buffer per thread is
// kept, so a batch of many analyses does not allocate it again each time.
rapidjson::StringBuffer& ThreadBuffer() {
    thread_local rapidjson::StringBuffer buffer(nullptr, std::size_t{32} * 1024);
    buffer.Clear();
    return buffer;
}

template <class W>
void Str(W& w, std::string_view s) {
    w.String(s.data(), static_cast<rapidjson::SizeType>(s.size()));
}

template <class W>
void Key(W& w, std::string_view s) {
    w.Key(s.data(), static_cast<rapidjson::SizeType>(s.size()));
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
    const Birth& b = a.Birth;
    w.StartObject();
    Key(w, "name");
    Str(w, b.Name);
    Key(w, "date");
    Str(w, DateText(b.Clock));
    Key(w, "time");
    Str(w, ClockTimeText(b.Clock));
    Key(w, "zoneRow");
    if (b.ExactUtcOffsetMinutes) {
        w.Null();
        Key(w, "zone");
        Str(w, ExactOffsetEntryText(b.Place, b.ExactUtcOffsetMinutes));
    } else {
        w.Int(b.ZoneRow);
        Key(w, "zone");
        Str(w, b.ZoneRow >= 0 && b.ZoneRow < kZoneCount ? ZoneTable()[static_cast<std::size_t>(b.ZoneRow)].Text
                                                        : std::string_view{});
    }
    Key(w, "daylightSaving");
    w.Bool(b.DaylightSaving);
    if (b.ExactUtcOffsetMinutes) {
        Key(w, "utcOffset");
        Str(w, OffsetText(*b.ExactUtcOffsetMinutes));
    }
    Key(w, "latitude");
    Str(w, LatitudeText(b.Latitude));
    Key(w, "longitude");
    Str(w, LongitudeText(b.Longitude));
    Key(w, "city");
    Str(w, b.City);
    Key(w, "state");
    Str(w, b.State);
    Key(w, "country");
    Str(w, b.Country);
    w.EndObject();
}

template <class W>
void WriteSpan(W& w, const analysis::DashaSpan& span) {
    Key(w, "lord");
    Str(w, span.LordName);
    Key(w, "start");
    Str(w, DateText(span.StartDate));
    Key(w, "end");
    Str(w, DateText(span.EndDate));
    WriteDashaMoments(w, span);
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
    WriteDashaYear(w, dasha);
    Key(w, "periods");
    w.StartArray();
    for (const analysis::MahaDasha& maha : dasha.Periods) {
        w.StartObject();
        WriteSpan(w, maha);
        Key(w, "sub");
        w.StartArray();
        for (const analysis::AntarDasha& antar : maha.Sub) {
            w.StartObject();
            WriteSpan(w, antar);
            WriteAntarSub(w, dasha, antar);
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
    Str(w, EphemerisModeKey(a.Birth.Settings.Mode));
    Key(w, "ayanamsa");
    Str(w, AyanamsaKeyOf(a.Birth.Settings));
    Key(w, "node");
    Str(w, NodeKeyOf(a.Birth.Settings));
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
    if (!a.Birth.Place || !a.Birth.PlaceClock) return;
    const PlacePick& pick = *a.Birth.Place;
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
    w.Int(a.Birth.PlaceClock->Zone.UtcOffsetMinutes);
    Key(w, "daylightSaving");
    w.Bool(a.Birth.PlaceClock->Zone.SummerTime);
    Key(w, "zoneRow");
    if (a.Birth.ExactUtcOffsetMinutes) {
        w.Null();
    } else {
        w.Int(a.Birth.ZoneRow);
    }
    w.EndObject();
}

// "from" and "to" of a run of minutes, as local clock times.
template <class W>
void SpanFields(W& w, const MinuteSpan& span) {
    Key(w, "from");
    Str(w, ClockReadingText(span.From));
    Key(w, "to");
    Str(w, ClockReadingText(span.To));
    // The second showing of a clock reading that came twice (clocks back).
    if (span.FromRepeated) {
        Key(w, "fromRepeated");
        w.Bool(true);
    }
    if (span.ToRepeated) {
        Key(w, "toRepeated");
        w.Bool(true);
    }
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
    // Clock readings that never came at the place (clocks forward).
    if (!scan.Gaps.empty()) {
        Key(w, "gaps");
        w.StartArray();
        for (const MinuteSpan& gap : scan.Gaps) {
            w.StartObject();
            SpanFields(w, gap);
            w.EndObject();
        }
        w.EndArray();
    }
    w.EndObject();
}

template <class W>
void WriteTransits(W& w, const TransitSky& sky) {
    Key(w, "transits");
    w.StartObject();
    Key(w, "moment");
    Str(w, ClockReadingText(sky.Moment));
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
void WriteAnalysis(W& w, const BirthAnalysis& a) {
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

    const ZoneOffset zone = ZoneOffsetOfRow(a.Birth.ZoneRow);
    Key(w, "zoneOffsetHours");
    w.Int(zone.Hours);
    Key(w, "zoneOffsetMinutes");
    w.Int(zone.Minutes);
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
        WriteBodyParashari(w, a, body);
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
    WriteParashariTables(w, a);

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
    // Machine output: the month by its English name in every locale (the
    // window shows the locale's).
    const std::string dateOfBirth = FormatDateOfBirth(a.Birth.Clock, EnglishMonthNames());
    const std::pair<std::string_view, const std::string*> details[] = {
        {"name", &det.Name},         {"dateOfBirth", &dateOfBirth}, {"timeOfBirth", &det.TimeOfBirth},
        {"latitude", &det.Latitude}, {"longitude", &det.Longitude}, {"city", &det.City},
        {"state", &det.State},       {"country", &det.Country}};
    for (const auto& [key, value] : details) {
        Key(w, key);
        Str(w, *value);
    }
    w.EndObject();
    if (a.Scan && a.Scan->Ok) WriteSensitivity(w, *a.Scan);
    if (a.Transits && a.Transits->Ok) WriteTransits(w, *a.Transits);
    if (a.Precise) WritePrecisePlacement(w, *a.Precise);
    WriteJaimini(w, a);
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

void AppendJson(std::string& out, const BirthAnalysis& analysis, JsonLayout layout) {
    rapidjson::StringBuffer& buffer = ThreadBuffer();
    if (layout == JsonLayout::Indented) {
        rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
        writer.SetIndent(' ', 2);
        WriteAnalysis(writer, analysis);
        out.append(buffer.GetString(), buffer.GetSize());
    } else {
        // One writer per thread: its buffer is reused from one analysis to
        // the next.
        thread_local CompactWriter writer;
        writer.Reset();
        WriteAnalysis(writer, analysis);
        out.append(writer.Text());
    }
}

}  // namespace

void AppendAnalysisJson(std::string& out, const BirthAnalysis& analysis, JsonLayout layout) {
    AppendJson(out, analysis, layout);
}

struct CompactJsonLines::Writer {
    CompactWriter Compact;
};

CompactJsonLines::CompactJsonLines() : writer_(std::make_unique<Writer>()) {}
CompactJsonLines::~CompactJsonLines() = default;
CompactJsonLines::CompactJsonLines(CompactJsonLines&&) noexcept = default;
CompactJsonLines& CompactJsonLines::operator=(CompactJsonLines&&) noexcept = default;

void CompactJsonLines::AppendAnalysis(const BirthAnalysis& analysis) {
    WriteAnalysis(writer_->Compact, analysis);
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

}  // namespace velmora::core
