#include "core/pipeline.h"

#include <type_traits>

#include "analysis/navamsa.h"
#include "astro/position_text.h"
#include "astro/time_conversion.h"
#include "core/form_reading.h"
#include "core/parashari.h"

namespace velmora::core {

namespace {

void FillDisplay(BirthAnalysis& a, const MonthNameTable& months) {
    DisplayTexts& d = a.Display;
    const Birth& birth = a.Birth;
    d.Details.Name = birth.Name;
    d.Details.DateOfBirth = FormatDateOfBirth(birth.Clock, months);
    d.Details.TimeOfBirth = FormatTimeOfBirth(birth.Clock);
    d.Details.Latitude = FormatAngle(birth.Latitude.Degrees, birth.Latitude.Minutes);
    d.Details.Longitude = FormatAngle(birth.Longitude.Degrees, birth.Longitude.Minutes);
    d.Details.City = birth.City;
    d.Details.State = birth.State;
    d.Details.Country = birth.Country;

    for (std::size_t body = 0; body < kBodyCount; ++body) {
        astro::FormatLongitude(a.Positions.Longitudes[body], d.ArcTexts[body], d.Positions[body]);
        const auto which = static_cast<Body>(body);
        const SignBoxLine& line = SignBoxLineOf(which, a.Positions.Retrograde[body]);
        d.BodyNames[body] = DisplayNameOf(which, a.Positions.Retrograde[body]);
        d.SignBoxes[static_cast<std::size_t>(a.Chart.BodySign[body] - 1)].append_prefix(line.Chars, line.Size);
    }
    const int arudha = a.Chart.ArudhaLagnaSign;
    if (arudha >= 1 && arudha <= kSignCount) d.ArudhaMarkers[static_cast<std::size_t>(arudha - 1)] = kArudhaMarker;
    d.Readings = ReadingRuns(a.Readings);
    if (a.Profile) {
        d.ProfileShown = true;
        d.Profile = ProfileTexts(*a.Profile);
    }
}

// Converts to what its function returns, so that emplace builds that value
// where it is kept rather than moving a temporary there.
template <class F>
struct MadeBy {
    F Make;
    operator std::invoke_result_t<F>() const { return Make(); }
};
// Spelled out for compilers without class template argument deduction for
// aggregates (clang before 17).
template <class F>
MadeBy(F) -> MadeBy<F>;

}  // namespace

const astro::PositionEngine& EngineOf(const AnalysisOptions& options) {
    return options.Engine ? *options.Engine : EngineFor(options.Settings);
}

void AnalyzeInto(BirthAnalysis& a, const FormInput& form, Birth birth, const astro::EnginePositions& positions,
                 const AnalysisOptions& options) {
    a.Input = form;
    a.Birth = std::move(birth);
    a.Positions = positions;
    a.Chart = analysis::PlaceBodies(positions.Longitudes);
    if (options.Toolkit) {
        a.Padas = analysis::ArudhaPadas(a.Chart.BodySign);
        a.Navamsa = analysis::NavamsaSigns(positions.Longitudes);
        a.Dasha = options.AntarDashas
                      ? analysis::VimshottariDashas(positions.Longitudes[Moon], astro::UtMomentOf(a.Birth.Moment),
                                                    options.DashaYear)
                      : analysis::VimshottariMahaDashas(positions.Longitudes[Moon], astro::UtMomentOf(a.Birth.Moment),
                                                        options.DashaYear);
        AddParashariTables(a, options);
        if (options.JaiminiTools) {
            // Made in place: the tools are some ten kilobytes.
            a.Jaimini.emplace(MadeBy{[&] {
                return analysis::JaiminiToolsOf(positions.Longitudes, a.Chart.BodySign, a.Chart.ArudhaLagnaSign,
                                                astro::UtMomentOf(a.Birth.Moment), options.KarakaScheme);
            }});
            if (options.Derivations)
                a.Why = std::make_shared<const analysis::Derivations>(MadeBy{[&] {
                    return analysis::DerivationsOf(positions.Longitudes, a.Chart.BodySign, a.Padas, *a.Jaimini);
                }});
        }
    }
    if (!options.Texts) return;
    a.Readings = analysis::ArudhaReadings(a.Chart.BodySign, a.Chart.ArudhaLagnaSign);
    a.Profile = analysis::ProfileOf(a.Chart.ArudhaLagnaSign);
    FillDisplay(a, options.MonthNames ? *options.MonthNames : SystemMonthNames());
}

TransitSky TransitsOver(const BirthAnalysis& natal, const ClockReading& universalTime,
                        const astro::PositionEngine* engine) {
    return TransitsAt(NatalFrame{natal.Birth.Moment, natal.Chart, natal.Dasha}, universalTime,
                      engine ? *engine : EngineFor(natal.Birth.Settings));
}

AnalysisOutcome RunAnalysis(const FormInput& form, const AnalysisOptions& options) {
    AnalysisOutcome outcome;
    FormReading reading = ReadForm(form, options.Settings);
    if (const Notice* refused = RefusalOf(reading)) {
        outcome.Rejected = *refused;
        return outcome;
    }
    Birth& birth = std::get<Birth>(reading);
    const astro::PositionEngine& engine = EngineOf(options);
    const BirthMoment moment = birth.Moment;
    // The toolkit's degree table shows the speeds: one run that gives them.
    astro::EngineOutcome computed =
        options.Toolkit && options.ParashariTables ? engine.ComputeWithSpeeds(moment) : engine.Compute(moment);
    if (!computed.Ok) {
        outcome.Rejected = Notice{computed.Error, MessageIcon::Information, FormField::None};
        return outcome;
    }
    BirthAnalysis& a = outcome.Result;
    AnalyzeInto(a, form, std::move(birth), computed.Positions, options);
    // Beside any engine other than the formulas themselves.
    if ((options.Engine || options.Settings.Mode == EphemerisMode::Precise) && options.CompareWithFormulas) {
        a.FormulaComparison = EngineFor(EngineSettings{}).Compute(moment).Positions;
        a.Comparison = ComparePositions(a.Positions, *a.FormulaComparison);
    }
    if (options.ScanBirthTime) a.Scan = ScanBirthTime(a.Birth, engine);
    if (options.TransitsAt) a.Transits = TransitsOver(a, *options.TransitsAt, &engine);
    if (options.CheckAgainstPrecise && !options.Engine && options.Settings.Mode == EphemerisMode::Formulas)
        a.Precise = CheckAgainstPrecise(moment, a.Positions);
    return outcome;
}

}  // namespace velmora::core
