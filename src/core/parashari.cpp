#include "core/parashari.h"

#include "astro/time_conversion.h"

namespace velmora::core {

namespace {

analysis::PanchangaInput PanchangaInputOf(const BirthAnalysis& a) {
    const BirthMoment& moment = a.Birth.Moment;
    analysis::PanchangaInput input;
    input.SunLongitude = a.Positions.Longitudes[Sun];
    input.MoonLongitude = a.Positions.Longitudes[Moon];
    const ClockReading& clock = a.Birth.Clock;
    input.LocalDate = std::chrono::year_month_day{std::chrono::year(clock.Year),
                                                  std::chrono::month(static_cast<unsigned>(clock.Month)),
                                                  std::chrono::day(static_cast<unsigned>(clock.Day))};
    input.ClockOffsetSeconds = moment.UtcOffsetSeconds;
    input.Latitude = moment.Latitude;
    input.LongitudeEast = moment.Longitude;
    input.Birth = astro::UtMomentOf(moment);
    return input;
}

}  // namespace

RunningPeriods RunningPeriodsAt(const BirthAnalysis& a, UtMoment moment) {
    return {moment, analysis::RunningDashaAt(a.Dasha, moment), analysis::RunningYoginiAt(a.Yogini, moment)};
}

void AddParashariTables(BirthAnalysis& a, const AnalysisOptions& options) {
    const std::array<double, kBodyCount>& longitudes = a.Positions.Longitudes;
    a.Nakshatras = analysis::NakshatraPadas(longitudes);
    if (!options.ParashariTables) return;
    a.Vargas = analysis::VargaSigns(longitudes);
    const analysis::PanchangaInput input = PanchangaInputOf(a);
    a.SunEventsLookedUp = options.SunEvents;
    a.Panchanga = options.SunEvents
                      ? analysis::PanchangaOfBirth(input)
                      : analysis::PanchangaLimbs(input.SunLongitude, input.MoonLongitude, input.LocalDate);
    a.Yogini = analysis::YoginiDashas(longitudes[Moon], input.Birth, options.DashaYear);
    a.AtBirth = RunningPeriodsAt(a, input.Birth);
    if (options.DashasAt) {
        a.AtMoment = RunningPeriodsAt(a, *options.DashasAt);
    } else if (options.TransitsAt) {
        a.AtMoment = RunningPeriodsAt(a, astro::UtMomentOf(*options.TransitsAt));
    }
}

}  // namespace velmora::core
