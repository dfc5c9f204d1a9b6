#include "core/pipeline.h"

#include <cmath>

#include "astro/position_text.h"
#include "core/text_numbers.h"
#include "core/validation.h"
#include "core/zones.h"

namespace velmora {

namespace {

// Every field has passed the checks, so it reads. The degree checks judge
// the number a text starts with ("12abc" passes as 12, as the boxes never
// let such a text through but a file might); the record takes the same
// number, never 0 for a text the checks accepted.
std::int16_t Read(const std::string& text) {
    if (const std::optional<std::int16_t> whole = ParseInt16(text)) return *whole;
    const double leading = std::nearbyint(LeadingNumber(text));
    if (!(leading >= -32768 && leading <= 32767)) return 0;
    return static_cast<std::int16_t>(leading);
}

void FillDisplay(BirthAnalysis& a, const MonthNameTable& months) {
    DisplayTexts& d = a.Display;
    const BirthData& birth = a.Birth;
    d.Details.Name = birth.Name;
    d.Details.DateOfBirth = FormatDateOfBirth(birth, months);
    d.Details.TimeOfBirth = FormatTimeOfBirth(birth);
    d.Details.Latitude = FormatAngle(birth.LatitudeDegrees, birth.LatitudeMinutes);
    d.Details.Longitude = FormatAngle(birth.LongitudeDegrees, birth.LongitudeMinutes);
    d.Details.City = a.Input.City;
    d.Details.State = a.Input.State;
    d.Details.Country = a.Input.Country;

    for (std::size_t body = 0; body < kBodyCount; ++body) {
        astro::FormatLongitude(a.Positions.Longitudes[body], d.ArcTexts[body], d.Positions[body]);
        d.BodyNames[body] = DisplayNameOf(static_cast<Body>(body), a.Positions.Retrograde[body]);
        std::string& box = d.SignBoxes[static_cast<std::size_t>(a.Chart.BodySign[body] - 1)];
        box += kLineBreak;
        box += d.BodyNames[body];
    }
    const int arudha = a.Chart.ArudhaLagnaSign;
    if (arudha >= 1 && arudha <= kSignCount) d.ArudhaMarkers[static_cast<std::size_t>(arudha - 1)] = kArudhaMarker;
    d.Readings = ReadingRuns(a.Readings);
    if (a.Profile) {
        d.ProfileShown = true;
        d.Profile = ProfileTexts(*a.Profile);
    }
}

}  // namespace

BirthData BirthRecordOf(const FormInput& form, ZoneOffset& zone) {
    BirthData birth;
    birth.Name = form.Name;
    zone = {};
    Zone_Calculation(form.ZoneRow, zone);
    birth.Month = static_cast<std::int16_t>(form.MonthIndex + 1);
    birth.Day = Read(form.Day);
    birth.Year = Read(form.Year);
    birth.Hour = Read(form.Hour);
    birth.Minute = Read(form.Minute);
    birth.ZoneHours = static_cast<std::int16_t>(zone.Hours < 0 ? -zone.Hours : zone.Hours);
    birth.ZoneMinutes = static_cast<std::int16_t>(zone.Minutes < 0 ? -zone.Minutes : zone.Minutes);
    birth.LongitudeDegrees = Read(form.LongitudeDegrees);
    birth.LongitudeMinutes = Read(form.LongitudeMinutes);
    birth.LatitudeDegrees = Read(form.LatitudeDegrees);
    birth.LatitudeMinutes = Read(form.LatitudeMinutes);
    birth.IsEast = form.East;
    birth.IsSouth = form.South;
    birth.DaylightSaving = form.DaylightSaving;
    birth.ExactUtcOffsetMinutes = form.ExactUtcOffsetMinutes;
    return birth;
}

BirthAnalysis AnalyzeRecord(const FormInput& form, const BirthData& birth, const ZoneOffset& zone,
                            const astro::EnginePositions& positions, const AnalysisOptions& options) {
    BirthAnalysis a;
    AnalyzeInto(a, form, birth, zone, positions, options);
    return a;
}

void AnalyzeInto(BirthAnalysis& a, const FormInput& form, const BirthData& birth, const ZoneOffset& zone,
                 const astro::EnginePositions& positions, const AnalysisOptions& options) {
    a.Input = form;
    a.Birth = birth;
    a.Zone = zone;
    a.Moment = MomentOf(birth, zone);
    a.Positions = positions;
    a.Chart = analysis::PlaceBodies(positions.Longitudes);
    a.Readings = analysis::ArudhaReadings(a.Chart.BodySign, a.Chart.ArudhaLagnaSign);
    a.Profile = analysis::ProfileOf(a.Chart.ArudhaLagnaSign);
    a.Settings = options.Settings;
    if (options.Toolkit) {
        a.Padas = analysis::ArudhaPadas(a.Chart.BodySign);
        a.Navamsa = analysis::NavamsaSigns(positions.Longitudes);
        a.Dasha = analysis::VimshottariDashas(positions.Longitudes[Moon],
                                              analysis::MomentOfJulianDay(astro::JulianDayUtOf(a.Moment)));
    }
    FillDisplay(a, options.MonthNames ? *options.MonthNames : SystemMonthNames());
}

AnalysisOutcome RunAnalysis(const FormInput& form, const AnalysisOptions& options) {
    AnalysisOutcome outcome;
    outcome.Rejected = ValidateInput(form);
    if (outcome.Rejected) return outcome;

    // A place from the atlas: the clock must have shown this time there.
    std::optional<PlaceZoneOutcome> placeZone = PlaceZoneOf(form);
    if (placeZone && placeZone->Refusal) {
        outcome.Rejected = placeZone->Refusal;
        return outcome;
    }

    ZoneOffset zone;
    const BirthData birth = BirthRecordOf(form, zone);
    const BirthMoment moment = MomentOf(birth, zone);
    astro::EnginePositions positions;
    const bool formulas = !options.Engine && options.Settings.Mode == EphemerisMode::Formulas;
    if (formulas) {
        positions = astro::ComputeFormulaPositions(moment);
    } else {
        const astro::PositionEngine& engine = options.Engine ? *options.Engine : EngineFor(options.Settings);
        astro::EngineOutcome computed = engine.Compute(moment);
        if (!computed.Ok) {
            outcome.Rejected = Notice{computed.Error, MessageIcon::Information, FormField::None};
            return outcome;
        }
        positions = computed.Positions;
    }
    AnalyzeInto(outcome.Result, form, birth, zone, positions, options);
    if (!formulas && options.CompareWithFormulas)
        outcome.Result.FormulaComparison = astro::ComputeFormulaPositions(moment);
    outcome.Result.PlaceZone = std::move(placeZone);
    return outcome;
}

}  // namespace velmora
