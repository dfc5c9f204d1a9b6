#include "core/driver.h"

#include <clocale>
#include <ctime>
#include <locale>
#include <sstream>

#include "astro/ascendant.h"
#include "astro/ephemeris.h"
#include "astro/moon.h"
#include "core/text_numbers.h"
#include "core/validation.h"
#include "core/zones.h"

namespace velmora {

namespace {

// Runs one step of the analysis; a step that fails is skipped and the
// analysis goes on with the next one.
template <class Step>
void Guarded(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

// A field whose text does not read as a number keeps its previous value.
void ReadInto(std::int16_t& field, const std::string& text) {
    if (const auto value = ParseInt16(text)) field = *value;
}

std::locale UserLocale() {
    try {
        return std::locale("");
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}

}  // namespace

std::string SystemMonthName(int month) {
    static const std::locale locale = UserLocale();
    if (month < 1 || month > 12) return {};
    std::tm tm{};
    tm.tm_mon = month - 1;
    tm.tm_mday = 1;
    tm.tm_year = 100;
    std::ostringstream out;
    out.imbue(locale);
    const char pattern[] = "%B";
    std::use_facet<std::time_put<char>>(locale).put(out, out, ' ', &tm, pattern, pattern + 2);
    return out.str();
}

std::string FormatDateOfBirth(const BirthData& birth, const MonthNamer& monthName) {
    return monthName(birth.Month) + "/" + std::to_string(birth.Day) + "/" + std::to_string(birth.Year);
}

std::string FormatTimeOfBirth(const BirthData& birth) {
    return std::to_string(birth.Hour) + ":" + std::to_string(birth.Minute);
}

std::string FormatAngle(int degrees, int minutes) {
    return std::to_string(degrees) + "\xC2\xB0 " + std::to_string(minutes) + "'";
}

AnalysisOutcome RunAnalysis(const FormInput& form, AnalysisState& state, const MonthNamer& monthName) {
    AnalysisOutcome outcome;
    outcome.Rejected = ValidateInput(form);
    if (outcome.Rejected) return outcome;

    BirthData& birth = state.Birth;
    AnalysisResult& result = outcome.Result;

    // The birth record.
    Guarded([&] { birth.Name = form.Name; });
    Guarded([&] { Zone_Calculation(form.ZoneRow, state.Zone); });
    Guarded([&] { birth.Month = static_cast<std::int16_t>(form.MonthIndex + 1); });
    Guarded([&] { ReadInto(birth.Day, form.Day); });
    Guarded([&] { ReadInto(birth.Year, form.Year); });
    Guarded([&] { ReadInto(birth.Hour, form.Hour); });
    Guarded([&] { ReadInto(birth.Minute, form.Minute); });
    Guarded([&] {
        birth.ZoneHours = static_cast<std::int16_t>(state.Zone.Hours < 0 ? -state.Zone.Hours : state.Zone.Hours);
        birth.ZoneMinutes = static_cast<std::int16_t>(state.Zone.Minutes < 0 ? -state.Zone.Minutes : state.Zone.Minutes);
    });
    Guarded([&] { ReadInto(birth.LongitudeDegrees, form.LongitudeDegrees); });
    Guarded([&] { ReadInto(birth.LongitudeMinutes, form.LongitudeMinutes); });
    Guarded([&] { ReadInto(birth.LatitudeDegrees, form.LatitudeDegrees); });
    Guarded([&] { ReadInto(birth.LatitudeMinutes, form.LatitudeMinutes); });
    Guarded([&] {
        birth.IsEast = form.East;
        birth.IsSouth = form.South;
        birth.DaylightSaving = form.DaylightSaving;
    });

    // The engine, each step reading what the earlier ones left.
    Guarded([&] { astro::ComputeAscendant(birth, state.Zone, state.Engine); });
    Guarded([&] { astro::ComputeMoon(birth, state.Zone, state.Engine); });
    Guarded([&] { astro::ComputePlanetPositions(birth, state.Zone, state.Engine); });
    Guarded([&] { astro::MarkRetrogrades(birth, state.Marks); });

    // What the result window shows. The chart and markers start empty.
    Guarded([&] {
        result.Details.Name = birth.Name;
        result.Details.DateOfBirth = FormatDateOfBirth(birth, monthName);
        result.Details.TimeOfBirth = FormatTimeOfBirth(birth);
        result.Details.Latitude = FormatAngle(birth.LatitudeDegrees, birth.LatitudeMinutes);
        result.Details.Longitude = FormatAngle(birth.LongitudeDegrees, birth.LongitudeMinutes);
        result.Details.City = form.City;
        result.Details.State = form.State;
        result.Details.Country = form.Country;
    });
    Guarded([&] { result.Positions = state.Engine.PlanetPositions; });
    Guarded([&] {
        result.ArudhaLagnaSign = analysis::PlaceBodiesAndFindArudha(state.Engine.PlanetPositions,
                                                                    state.Marks.BodyDisplayNames, state.Chart,
                                                                    result.Chart);
    });
    Guarded([&] { result.Profile = analysis::ProfileRowDisplay(analysis::LoadSignProfiles(), result.ArudhaLagnaSign); });
    Guarded([&] { result.Readings = analysis::ArudhaReadings(state.Chart.BodySign, result.ArudhaLagnaSign); });
    return outcome;
}

}  // namespace velmora
