// Station table generator for src/astro/generated/retrograde_tables.cpp.
//
// Computes every retrograde and direct station of Mercury to Pluto with the
// Swiss Ephemeris (Debian's libswe-dev with the swe-basic-data files
// sepl_18.se1 / semo_18.se1, valid 1800-2400) and writes the periods as
// constant data. The Swiss Ephemeris is licensed under the AGPL; it is used
// only by this generator. The program itself never links it: it compiles the
// generated file, which holds plain integers.
//
// How a station is found:
//   - positions are geometric (no light-time, no aberration, no deflection),
//     referred to the mean ecliptic and mean equinox of date (no nutation),
//     as tropical longitude seen from the Earth-Moon barycentre;
//   - the planet's longitude rate is sampled once a day (terrestrial time);
//     where its sign changes, the interval is bisected to a few hundredths of
//     a second; + to - is a retrograde station, - to + a direct station;
//   - station times are universal time (delta T from swe_deltat_ex), rounded
//     to the nearest minute.
//
// The rows quoted in kQuoted are the program's authoritative rows: each one
// replaces the computed row at its position, after checking that both fall on
// the same calendar dates. The generator stops with an error when a quoted
// row and the computed row disagree on a date, when a table's row count is
// not the expected one, or when a period length leaves its expected range.
//
// Usage: stations OUTPUT_FILE [EPHEMERIS_DIRECTORY]
// Statistics on computed versus quoted rows go to standard error.

#include <swephexp.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Earth/Moon mass ratio used to place the Earth-Moon barycentre.
constexpr double kEarthMoonMassRatio = 81.30056;

constexpr int kPositionFlags =
    SEFLG_SWIEPH | SEFLG_TRUEPOS | SEFLG_NONUT | SEFLG_NOABERR | SEFLG_NOGDEFL | SEFLG_XYZ | SEFLG_SPEED;

struct Minute {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0;
};

struct Period {
    Minute Retrograde;
    Minute Direct;
    double RetrogradeUt = 0;  // Julian day, universal time (0 for quoted rows)
    double DirectUt = 0;
};

struct QuotedRow {
    int Index;
    Minute Retrograde;
    Minute Direct;
};

struct Planet {
    const char* Name;
    int Body;
    int Rows;
    int ShortestDays;
    int LongestDays;
    std::vector<QuotedRow> Quoted;  // must include the first and the last row
};

// The authoritative rows. Minute fields: year, month, day, hour, minute.
const std::vector<Planet> kPlanets{
    {"Mercury",
     SE_MERCURY,
     476,
     19,
     25,
     {{0, {1900, 3, 15, 13, 19}, {1900, 4, 7, 18, 42}},
      {1, {1900, 7, 18, 0, 53}, {1900, 8, 11, 14, 59}},
      {238, {1975, 9, 26, 23, 43}, {1975, 10, 18, 10, 18}},
      {475, {2050, 12, 1, 17, 17}, {2050, 12, 21, 11, 33}}}},
    {"Venus",
     SE_VENUS,
     95,
     40,
     44,
     {{0, {1900, 6, 16, 22, 56}, {1900, 7, 30, 2, 44}},
      {47, {1975, 8, 6, 4, 31}, {1975, 9, 18, 1, 10}},
      {94, {2050, 9, 25, 22, 15}, {2050, 11, 6, 19, 4}}}},
    {"Mars",
     SE_MARS,
     71,
     60,
     81,
     {{0, {1901, 1, 13, 6, 16}, {1901, 4, 4, 7, 21}},
      {35, {1975, 11, 6, 13, 2}, {1976, 1, 20, 21, 20}},
      {70, {2050, 7, 15, 5, 50}, {2050, 9, 13, 9, 41}}}},
    {"Jupiter",
     SE_JUPITER,
     139,
     117,
     124,
     {{0, {1900, 3, 27, 20, 39}, {1900, 7, 29, 1, 35}}, {138, {2050, 12, 21, 13, 21}, {2051, 4, 21, 23, 46}}}},
    {"Saturn",
     SE_SATURN,
     146,
     133,
     142,
     {{0, {1900, 4, 14, 6, 2}, {1900, 9, 2, 14, 39}},
      {73, {1975, 11, 14, 18, 43}, {1976, 3, 27, 17, 52}},
      {145, {2050, 5, 18, 13, 6}, {2050, 10, 6, 11, 5}}}},
    {"Uranus",
     SE_URANUS,
     150,
     149,
     155,
     {{0, {1900, 3, 17, 17, 36}, {1900, 8, 17, 15, 27}}, {149, {2050, 12, 30, 15, 40}, {2051, 5, 29, 6, 22}}}},
    {"Neptune",
     SE_NEPTUNE,
     150,
     156,
     161,
     {{0, {1900, 10, 2, 13, 58}, {1901, 3, 8, 0, 45}}, {149, {2050, 8, 31, 13, 52}, {2051, 2, 4, 10, 41}}}},
    {"Pluto",
     SE_PLUTO,
     151,
     156,
     165,
     {{0, {1899, 9, 16, 5, 48}, {1900, 2, 27, 7, 36}}, {150, {2050, 6, 10, 3, 49}, {2050, 11, 21, 16, 16}}}},
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "stations: %s\n", message.c_str());
    std::exit(1);
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

constexpr double kJulianDayOf1970 = 2440587.5;

long MinutesOf(const Minute& t) { return DaysFromCivil(t.Year, t.Month, t.Day) * 1440 + t.Hour * 60 + t.Minute; }

long DayOf(const Minute& t) { return DaysFromCivil(t.Year, t.Month, t.Day); }

Minute MinuteOfUt(double jdUt) {
    const long total = std::lround((jdUt - kJulianDayOf1970) * 1440.0);
    const long days = total >= 0 ? total / 1440 : -((-total + 1439) / 1440);
    const long rest = total - days * 1440;
    Minute t;
    CivilFromDays(days, t.Year, t.Month, t.Day);
    t.Hour = static_cast<int>(rest / 60);
    t.Minute = static_cast<int>(rest % 60);
    return t;
}

std::string Text(const Minute& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d", t.Year, t.Month, t.Day, t.Hour, t.Minute);
    return buffer;
}

void Calc(double jdEt, int body, double* xx) {
    char error[AS_MAXCH] = {};
    const int flags = swe_calc(jdEt, body, kPositionFlags, xx, error);
    if (flags < 0) Fail(std::string("swe_calc: ") + error);
    if ((flags & SEFLG_SWIEPH) == 0) Fail("ephemeris files not found (the library fell back to another ephemeris)");
}

// Sign of the rate of the planet's longitude seen from the Earth-Moon barycentre.
double LongitudeRate(double jdEt, int body) {
    double planet[6];
    double moon[6];
    Calc(jdEt, body, planet);
    Calc(jdEt, SE_MOON, moon);
    const double share = 1.0 / (1.0 + kEarthMoonMassRatio);
    double p[6];
    for (int i = 0; i < 6; ++i) p[i] = planet[i] - moon[i] * share;
    return p[0] * p[4] - p[1] * p[3];
}

double UniversalOf(double jdEt) {
    char error[AS_MAXCH] = {};
    double jdUt = jdEt - swe_deltat_ex(jdEt, SEFLG_SWIEPH, error);
    for (int i = 0; i < 3; ++i) jdUt = jdEt - swe_deltat_ex(jdUt, SEFLG_SWIEPH, error);
    return jdUt;
}

// All periods whose retrograde station falls in [firstEt, lastEt).
std::vector<Period> ComputePeriods(int body, double firstEt, double lastEt) {
    struct Station {
        double Et;
        bool TurnsRetrograde;
    };
    std::vector<Station> stations;
    double t = firstEt;
    double rate = LongitudeRate(t, body);
    while (t < lastEt + 400) {
        const double next = t + 1.0;
        const double nextRate = LongitudeRate(next, body);
        if ((rate > 0) != (nextRate > 0)) {
            double lo = t;
            double hi = next;
            while (hi - lo > 2e-7) {
                const double mid = 0.5 * (lo + hi);
                if ((LongitudeRate(mid, body) > 0) == (rate > 0))
                    lo = mid;
                else
                    hi = mid;
            }
            stations.push_back({0.5 * (lo + hi), rate > 0});
        }
        t = next;
        rate = nextRate;
    }
    std::vector<Period> periods;
    for (std::size_t i = 0; i + 1 < stations.size(); ++i) {
        if (!stations[i].TurnsRetrograde) continue;
        if (stations[i + 1].TurnsRetrograde) Fail("two retrograde stations in a row");
        if (stations[i].Et < firstEt || stations[i].Et >= lastEt) continue;
        Period period;
        period.RetrogradeUt = UniversalOf(stations[i].Et);
        period.DirectUt = UniversalOf(stations[i + 1].Et);
        period.Retrograde = MinuteOfUt(period.RetrogradeUt);
        period.Direct = MinuteOfUt(period.DirectUt);
        periods.push_back(period);
    }
    return periods;
}

struct Statistics {
    std::vector<double> Differences;  // minutes, quoted minus computed (unrounded)
    int NearMidnight = 0;             // computed stations within 30 minutes of 0h UT
};

bool NearMidnight(double jdUt) {
    const double minutes = (jdUt - kJulianDayOf1970) * 1440.0;
    const double ofDay = minutes - 1440.0 * std::floor(minutes / 1440.0);
    return ofDay < 30.0 || ofDay > 1410.0;
}

std::vector<Period> BuildTable(const Planet& planet, Statistics& statistics) {
    const QuotedRow& first = planet.Quoted.front();
    const QuotedRow& last = planet.Quoted.back();
    // Periods are selected by the calendar date of their retrograde station:
    // from the first quoted row's date to the last quoted row's date.
    const double firstUt = kJulianDayOf1970 + static_cast<double>(DayOf(first.Retrograde));
    const double lastUt = kJulianDayOf1970 + static_cast<double>(DayOf(last.Retrograde)) + 1.0;
    std::vector<Period> computed = ComputePeriods(planet.Body, firstUt - 1.0, lastUt + 1.0);
    std::vector<Period> table;
    for (const Period& p : computed) {
        const long day = DayOf(p.Retrograde);
        if (day >= DayOf(first.Retrograde) && day <= DayOf(last.Retrograde)) table.push_back(p);
    }
    if (static_cast<int>(table.size()) != planet.Rows)
        Fail(std::string(planet.Name) + ": " + std::to_string(table.size()) + " periods computed, " +
             std::to_string(planet.Rows) + " expected");

    for (const Period& p : table) statistics.NearMidnight += NearMidnight(p.RetrogradeUt) + NearMidnight(p.DirectUt);

    for (const QuotedRow& q : planet.Quoted) {
        Period& p = table.at(static_cast<std::size_t>(q.Index));
        if (DayOf(p.Retrograde) != DayOf(q.Retrograde) || DayOf(p.Direct) != DayOf(q.Direct))
            Fail(std::string(planet.Name) + " row " + std::to_string(q.Index) + ": computed " + Text(p.Retrograde) +
                 " / " + Text(p.Direct) + ", quoted " + Text(q.Retrograde) + " / " + Text(q.Direct));
        const double computedRetro = (p.RetrogradeUt - kJulianDayOf1970) * 1440.0;
        const double computedDirect = (p.DirectUt - kJulianDayOf1970) * 1440.0;
        const double dr = static_cast<double>(MinutesOf(q.Retrograde)) - computedRetro;
        const double dd = static_cast<double>(MinutesOf(q.Direct)) - computedDirect;
        statistics.Differences.push_back(dr);
        statistics.Differences.push_back(dd);
        std::fprintf(stderr, "%-8s row %3d  retrograde %s quoted %s (%+7.1f min)  direct %s quoted %s (%+7.1f min)\n",
                     planet.Name, q.Index, Text(p.Retrograde).c_str(), Text(q.Retrograde).c_str(), dr,
                     Text(p.Direct).c_str(), Text(q.Direct).c_str(), dd);
        p.Retrograde = q.Retrograde;
        p.Direct = q.Direct;
    }

    for (std::size_t i = 0; i < table.size(); ++i) {
        const Period& p = table[i];
        if (MinutesOf(p.Direct) <= MinutesOf(p.Retrograde))
            Fail(std::string(planet.Name) + ": direct before retrograde");
        if (i > 0 && MinutesOf(p.Retrograde) <= MinutesOf(table[i - 1].Direct))
            Fail(std::string(planet.Name) + ": periods overlap");
        const long days = DayOf(p.Direct) - DayOf(p.Retrograde);
        if (days < planet.ShortestDays || days > planet.LongestDays)
            Fail(std::string(planet.Name) + " row " + std::to_string(i) + ": period of " + std::to_string(days) +
                 " days");
    }
    return table;
}

void WriteTables(const std::string& path, const std::vector<std::vector<Period>>& tables) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) Fail("cannot write " + path);
    std::fputs(
        "// Generated by tools/stations/generate.sh; do not edit by hand.\n"
        "// Retrograde periods of Mercury to Pluto. Station times are universal time,\n"
        "// to the minute: {year, month, day, hour, minute}.\n"
        "\n"
        "#include \"astro/retrograde.h\"\n"
        "\n"
        "namespace velmora::astro {\n"
        "namespace {\n",
        out);
    for (std::size_t k = 0; k < tables.size(); ++k) {
        std::fprintf(out, "\n// %s: %zu periods.\nconstexpr RetrogradePeriod k%sPeriods[] = {\n", kPlanets[k].Name,
                     tables[k].size(), kPlanets[k].Name);
        for (const Period& p : tables[k]) {
            const Minute& r = p.Retrograde;
            const Minute& d = p.Direct;
            std::fprintf(out, "    {{%d, %d, %d, %d, %d}, {%d, %d, %d, %d, %d}},\n", r.Year, r.Month, r.Day, r.Hour,
                         r.Minute, d.Year, d.Month, d.Day, d.Hour, d.Minute);
        }
        std::fputs("};\n", out);
    }
    std::fputs(
        "\n}  // namespace\n\nconstinit const std::array<std::span<const RetrogradePeriod>, 8> kStationTables{\n", out);
    for (std::size_t k = 0; k < tables.size(); ++k)
        std::fprintf(out, "    std::span<const RetrogradePeriod>(k%sPeriods),\n", kPlanets[k].Name);
    std::fputs("};\n\n}  // namespace velmora::astro\n", out);
    if (std::fclose(out) != 0) Fail("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FILE [EPHEMERIS_DIRECTORY]\n", argv[0]);
        return 2;
    }
    std::string ephemeris = argc == 3 ? argv[2] : "/usr/share/libswe/ephe";
    swe_set_ephe_path(ephemeris.c_str());

    Statistics statistics;
    std::vector<std::vector<Period>> tables;
    for (const Planet& planet : kPlanets) tables.push_back(BuildTable(planet, statistics));
    swe_close();

    std::vector<double> magnitudes;
    for (double d : statistics.Differences) magnitudes.push_back(std::fabs(d));
    std::sort(magnitudes.begin(), magnitudes.end());
    std::fprintf(stderr,
                 "quoted stations: %zu; |quoted - computed| minutes: median %.1f, max %.1f; within 5 min: %zu\n",
                 magnitudes.size(), magnitudes[magnitudes.size() / 2], magnitudes.back(),
                 static_cast<std::size_t>(
                     std::count_if(magnitudes.begin(), magnitudes.end(), [](double m) { return m <= 5.0; })));
    std::fprintf(stderr, "computed stations within 30 minutes of midnight: %d\n", statistics.NearMidnight);

    WriteTables(argv[1], tables);
    return 0;
}
