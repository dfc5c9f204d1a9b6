#include "core/parashari_texts.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "analysis/longitude.h"
#include "astro/position_text.h"
#include "core/text_formats.h"

namespace velmora::core {

namespace {

constexpr std::array<std::string_view, analysis::kVargaCount> kVargaNames{
    "Rasi",      "Hora",       "Drekkana",     "Chaturthamsa", "Saptamsa",       "Navamsa",
    "Dasamsa",   "Dwadasamsa", "Shodasamsa",   "Vimsamsa",     "Chaturvimsamsa", "Saptavimsamsa",
    "Trimsamsa", "Khavedamsa", "Akshavedamsa", "Shashtiamsa"};

std::string Sign(int sign, bool abbreviated) {
    if (sign < 1 || sign > kSignCount) return {};
    return std::string(abbreviated ? astro::SignAbbreviation(sign - 1) : SignNameOf(sign));
}

std::string DateOf(UtMoment moment) { return DateText(analysis::UtDateOf(moment)); }

}  // namespace

std::string_view VargaName(analysis::Varga varga) { return kVargaNames[static_cast<std::size_t>(varga)]; }

std::string VargaTitle(analysis::Varga varga) {
    return std::string(analysis::VargaKey(varga)) + " " + std::string(VargaName(varga));
}

std::string DashaYearText(analysis::DashaYear year) {
    static constexpr std::array<std::string_view, 4> kKinds{"Julian", "tropical", "sidereal", "savana"};
    return "Dasha year: " + std::string(analysis::DashaYearKey(year)) + " days (" +
           std::string(kKinds[static_cast<std::size_t>(year)]) + ")";
}

std::string ArcSecondsText(double longitude) {
    const double wrapped = analysis::WithinOneCircle(longitude);
    const auto totalSeconds = static_cast<long>(std::floor(wrapped * 3600.0));
    char text[40];
    std::snprintf(text, sizeof text, "%03ld\u00B0%02ld'%02ld\"", totalSeconds / 3600, totalSeconds / 60 % 60,
                  totalSeconds % 60);
    return text;
}

std::string SpeedText(double degreesPerDay) {
    char text[24];
    std::snprintf(text, sizeof text, "%+.4f", degreesPerDay);
    return text;
}

TextTable DegreeTable(const BirthAnalysis& a) {
    TextTable table{{"Body", "Longitude", "Sign", "Nakshatra", "Pada", "Speed (\u00B0/day)", "R", "Navamsa"}, {}};
    for (std::size_t body = 0; body < kBodyCount; ++body) {
        const analysis::NakshatraPada& n = a.Nakshatras[body];
        table.Rows.push_back({std::string(kBodyNames[body]), ArcSecondsText(a.Positions.Longitudes[body]),
                              Sign(a.Chart.BodySign[body], false),
                              std::to_string(n.Nakshatra) + " " + std::string(n.Name), std::to_string(n.Pada),
                              SpeedText(a.Positions.Speeds[body]), a.Positions.Retrograde[body] ? "R" : "",
                              Sign(a.Navamsa[body], false)});
    }
    return table;
}

TextTable VargaTableText(const BirthAnalysis& a, bool abbreviated) {
    TextTable table;
    table.Header.push_back("Body");
    for (analysis::Varga varga : analysis::kAllVargas) table.Header.emplace_back(analysis::VargaKey(varga));
    for (std::size_t body = 0; body < kBodyCount; ++body) {
        std::vector<std::string> row{std::string(kBodyNames[body])};
        for (std::size_t v = 0; v < analysis::kVargaCount; ++v) row.push_back(Sign(a.Vargas[v][body], abbreviated));
        table.Rows.push_back(std::move(row));
    }
    return table;
}

TextTable PanchangaTable(const BirthAnalysis& a) {
    const analysis::Panchanga& p = a.Panchanga;
    const auto number = [](int n) { return std::to_string(n); };
    TextTable table{{"Limb", "Number", "Name"}, {}};
    table.Rows.push_back({"Vara", number(p.Vara.Number), std::string(p.Vara.Name)});
    table.Rows.push_back(
        {"Tithi", number(p.Tithi.Number), std::string(p.Tithi.Paksha) + " " + std::string(p.Tithi.Name)});
    table.Rows.push_back({"Nakshatra", number(p.Nakshatra.Nakshatra),
                          std::string(p.Nakshatra.Name) + ", pada " + number(p.Nakshatra.Pada)});
    table.Rows.push_back({"Yoga", number(p.Yoga.Number), std::string(p.Yoga.Name)});
    table.Rows.push_back({"Karana", number(p.Karana.Number), std::string(p.Karana.Name)});
    const auto event = [&](const std::string& text) -> std::string {
        if (!a.SunEventsLookedUp) return "not looked up";
        if (!p.SunEventsError.empty()) return "unknown: " + p.SunEventsError;
        return text.empty() ? "none" : text;
    };
    table.Rows.push_back({"Sunrise", "", event(p.SunriseText)});
    table.Rows.push_back({"Sunset", "", event(p.SunsetText)});
    return table;
}

std::vector<std::string> RunningDashaLines(const BirthAnalysis& a, const RunningPeriods& running) {
    std::vector<std::string> lines;
    if (running.Vimshottari) {
        const analysis::MahaDasha& maha = a.Dasha.Periods[running.Vimshottari->Maha];
        const analysis::AntarDasha& antar = maha.Sub[running.Vimshottari->Antar];
        const analysis::PratyantarList pratyantars = analysis::PratyantarsOf(a.Dasha, antar);
        const analysis::DashaPeriod& third = pratyantars[running.Vimshottari->Pratyantar];
        lines.push_back("Vimshottari: " + std::string(maha.LordName) + " / " + std::string(antar.LordName) + " / " +
                        std::string(analysis::kDashaLords[static_cast<std::size_t>(third.Lord)].Name) + " (to " +
                        DateOf(third.End) + ")");
    } else {
        lines.push_back("Vimshottari: none (the moment lies outside the table)");
    }
    if (running.Yogini) {
        const analysis::YoginiMaha& maha = a.Yogini.Periods[running.Yogini->Maha];
        const analysis::YoginiSpan& antar = maha.Sub[running.Yogini->Antar];
        lines.push_back("Yogini: " + std::string(maha.YoginiName) + " (" + std::string(maha.LordName) + ") / " +
                        std::string(antar.YoginiName) + " (" + std::string(antar.LordName) + ") (to " +
                        DateOf(antar.End) + ")");
    } else {
        lines.push_back("Yogini: none (the moment lies outside the table)");
    }
    return lines;
}

}  // namespace velmora::core
