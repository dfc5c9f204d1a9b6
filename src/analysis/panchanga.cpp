#include "analysis/panchanga.h"

#include <cmath>
#include <cstdio>

#include "analysis/longitude.h"

namespace velmora::analysis {

namespace {

constexpr double kEdgeTolerance = 1e-9;

constexpr std::array<std::string_view, 15> kTithiNames{"Pratipada", "Dwitiya",  "Tritiya",    "Chaturthi",   "Panchami",
                                                       "Shashthi",  "Saptami",  "Ashtami",    "Navami",      "Dashami",
                                                       "Ekadashi",  "Dwadashi", "Trayodashi", "Chaturdashi", "Purnima"};

constexpr std::array<std::string_view, 7> kMovableKaranas{"Bava", "Balava", "Kaulava", "Taitila",
                                                          "Gara", "Vanija", "Vishti"};

constexpr std::array<std::string_view, 27> kYogaNames{
    "Vishkambha", "Priti",   "Ayushman", "Saubhagya", "Shobhana", "Atiganda", "Sukarma", "Dhriti",    "Shula",
    "Ganda",      "Vriddhi", "Dhruva",   "Vyaghata",  "Harshana", "Vajra",    "Siddhi",  "Vyatipata", "Variyan",
    "Parigha",    "Shiva",   "Siddha",   "Sadhya",    "Shubha",   "Shukla",   "Brahma",  "Indra",     "Vaidhriti"};

// 1-based number of the part of [0, 360) cut into `parts` equal arcs.
int PartNumber(double wrapped, int parts) {
    const int k = static_cast<int>(std::floor(wrapped * parts / 360.0 + kEdgeTolerance));
    return k % parts + 1;
}

std::string_view KaranaName(int number) {
    if (number == 1) return "Kimstughna";
    if (number == 58) return "Shakuni";
    if (number == 59) return "Chatushpada";
    if (number == 60) return "Naga";
    return kMovableKaranas[static_cast<std::size_t>((number - 2) % 7)];
}

NamedNumber Vara(int weekday) { return {weekday, kVaraNames[static_cast<std::size_t>(weekday - 1)]}; }

}  // namespace

int WeekdayNumber(std::chrono::year_month_day date) {
    return static_cast<int>(std::chrono::weekday(std::chrono::sys_days(date)).c_encoding()) + 1;
}

Panchanga PanchangaLimbs(double sunLongitude, double moonLongitude, std::chrono::year_month_day localDate) {
    Panchanga p;
    const double sun = WithinOneCircle(sunLongitude);
    const double moon = WithinOneCircle(moonLongitude);
    const double elongation = WithinOneCircle(moon - sun);

    const int tithi = PartNumber(elongation, 30);
    p.Tithi.Number = tithi;
    p.Tithi.Name = tithi == 30 ? "Amavasya" : kTithiNames[static_cast<std::size_t>((tithi - 1) % 15)];
    p.Tithi.Paksha = tithi <= 15 ? "Shukla" : "Krishna";

    const int karana = PartNumber(elongation, 60);
    p.Karana = {karana, KaranaName(karana)};

    const int yoga = PartNumber(WithinOneCircle(sun + moon), 27);
    p.Yoga = {yoga, kYogaNames[static_cast<std::size_t>(yoga - 1)]};

    p.Nakshatra = NakshatraPadaOf(moon);
    if (localDate.ok()) p.Vara = Vara(WeekdayNumber(localDate));
    return p;
}

std::string LocalClockText(UtMoment moment, int clockOffsetSeconds) {
    using namespace std::chrono;
    const auto local = floor<minutes>(moment + seconds(clockOffsetSeconds));
    const auto minuteOfDay = (local - floor<days>(local)).count();
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(minuteOfDay / 60),
                  static_cast<int>(minuteOfDay % 60));
    return text;
}

void AddSunEvents(Panchanga& panchanga, const astro::SunEvents& events, UtMoment birth, int clockOffsetSeconds) {
    if (!events.Ok) {
        panchanga.SunEventsError = events.Error;
        return;
    }
    if (events.Sunrise) {
        panchanga.Sunrise = MomentOfJulianDay(*events.Sunrise);
        panchanga.SunriseText = LocalClockText(*panchanga.Sunrise, clockOffsetSeconds);
        // The Hindu day runs from sunrise to sunrise: before it, the
        // previous weekday still rules.
        if (birth < *panchanga.Sunrise && panchanga.Vara.Number != 0)
            panchanga.Vara = Vara(panchanga.Vara.Number == 1 ? 7 : panchanga.Vara.Number - 1);
    }
    if (events.Sunset) {
        panchanga.Sunset = MomentOfJulianDay(*events.Sunset);
        panchanga.SunsetText = LocalClockText(*panchanga.Sunset, clockOffsetSeconds);
    }
}

Panchanga PanchangaOfBirth(const PanchangaInput& input) {
    Panchanga p = PanchangaLimbs(input.SunLongitude, input.MoonLongitude, input.LocalDate);
    astro::SunEventsQuery query;
    query.LocalDate = input.LocalDate;
    query.ClockOffsetSeconds = input.ClockOffsetSeconds;
    query.Latitude = input.Latitude;
    query.LongitudeEast = input.LongitudeEast;
    query.EphemerisPath = input.EphemerisPath;
    AddSunEvents(p, astro::SunriseAndSunset(query), input.Birth, input.ClockOffsetSeconds);
    return p;
}

}  // namespace velmora::analysis
