#include "core/zone_at_moment.h"

#include <date/tz.h>

#include <array>
#include <chrono>
#include <cstdio>

#include "core/zone_rules.h"
#include "core/text_formats.h"
#include "core/zones.h"

namespace velmora::core {

namespace {

constexpr std::array<std::string_view, 12> kMonthNames{
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December",
};

// "27 September 1975".
std::string LongDateText(int year, int month, int day) {
    return std::to_string(day) + " " + std::string(kMonthNames[static_cast<std::size_t>(month - 1)]) + " " +
           std::to_string(year);
}

std::string ClockText(int hour, int minute) { return ClockTimeText(hour, minute); }

std::string ClockText(date::local_seconds moment) {
    const auto day = date::floor<date::days>(moment);
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(moment - day).count();
    return ClockText(static_cast<int>(minutes / 60), static_cast<int>(minutes % 60));
}

// "UTC+05:30".
std::string UtcText(int minutesEast) { return "UTC" + OffsetText(minutesEast); }

// Local mean times run to the second; the form and the engine count minutes.
int RoundedMinutes(std::chrono::seconds offset) {
    const long s = static_cast<long>(offset.count());
    return static_cast<int>(s >= 0 ? (s + 30) / 60 : -((-s + 30) / 60));
}

// Which rows of the zone list are named for which zones: beginnings of row
// texts, "|"-separated, for zone ids, space-separated. An id ending in "/"
// stands for every zone under it and yields to an exact id.
struct RegionRows {
    std::string_view Zones;
    std::string_view Rows;
};

constexpr RegionRows kRegionRows[] = {
    {"Asia/Kolkata Asia/Calcutta Asia/Colombo", "Indian"},
    {"Europe/London Europe/Belfast Europe/Guernsey Europe/Jersey Europe/Isle_of_Man GB", "British|Greenwich"},
    {"Europe/Dublin Eire", "Greenwich|British"},
    {"Africa/Abidjan Africa/Accra Africa/Bamako Africa/Banjul Africa/Conakry Africa/Dakar Africa/Freetown "
     "Africa/Lome Africa/Ouagadougou Africa/Casablanca Atlantic/Reykjavik Atlantic/Canary Atlantic/Faroe "
     "Atlantic/Madeira Europe/Lisbon Etc/GMT GMT",
     "Greenwich|Universal"},
    {"UTC Etc/UTC Etc/Universal Universal Zulu", "Universal|Greenwich"},
    {"America/New_York America/Detroit America/Toronto America/Montreal America/Nassau America/Indianapolis "
     "America/Louisville America/Iqaluit America/Nipigon America/Thunder_Bay America/Jamaica "
     "America/Port-au-Prince America/Panama America/Cancun America/Indiana/ America/Kentucky/ US/Eastern "
     "US/Michigan EST5EDT",
     "Eastern Standard|Eastern Daylight|Eastern War"},
    {"America/Chicago America/Winnipeg America/Mexico_City America/Monterrey America/Merida America/Matamoros "
     "America/Menominee America/Regina America/Swift_Current America/Rainy_River America/Rankin_Inlet "
     "America/Resolute America/Costa_Rica America/Guatemala America/El_Salvador America/Tegucigalpa "
     "America/Managua America/Belize America/Bahia_Banderas America/Chihuahua America/Indiana/Knox "
     "America/Indiana/Tell_City America/Knox_IN America/North_Dakota/ US/Central CST6CDT",
     "Central Standard|Central Daylight|Central War"},
    {"America/Denver America/Phoenix America/Boise America/Edmonton America/Yellowknife America/Cambridge_Bay "
     "America/Inuvik America/Ojinaga America/Mazatlan America/Hermosillo America/Ciudad_Juarez America/Creston "
     "America/Dawson_Creek America/Fort_Nelson US/Mountain US/Arizona MST7MDT",
     "Mountain"},
    {"America/Los_Angeles America/Vancouver America/Tijuana America/Ensenada US/Pacific PST8PDT",
     "Pacific Standard|Pacific Daylight|Pacific War"},
    {"America/Whitehorse America/Dawson", "Yukon|Pacific Standard|Pacific Daylight|Pacific War"},
    {"America/Anchorage America/Juneau America/Sitka America/Yakutat America/Metlakatla US/Alaska",
     "Yukon|Alaska/Hawaii"},
    {"America/Nome", "Nome|Bering|Alaska/Hawaii|Yukon"},
    {"America/Adak US/Aleutian", "Alaska/Hawaii|Bering"},
    {"Pacific/Honolulu Pacific/Johnston US/Hawaii", "Hawaiian|Alaska/Hawaii"},
    {"Pacific/Midway Pacific/Pago_Pago US/Samoa", "Bering|Nome"},
    {"America/Halifax America/Glace_Bay America/Moncton America/Goose_Bay America/Puerto_Rico "
     "America/Santo_Domingo America/Barbados America/Martinique America/Thule Atlantic/Bermuda Canada/Atlantic",
     "Atlantic"},
    {"America/St_Johns Canada/Newfoundland", "Newfoundland"},
    {"America/Sao_Paulo America/Bahia America/Fortaleza America/Recife America/Belem America/Maceio "
     "America/Araguaina America/Santarem Brazil/East",
     "Brazil"},
    {"Atlantic/Azores", "Azores"},
    {"Atlantic/Cape_Verde", "West Africa|Azores"},
    {"Europe/Paris Europe/Berlin Europe/Rome Europe/Madrid Europe/Amsterdam Europe/Brussels Europe/Vienna "
     "Europe/Zurich Europe/Stockholm Europe/Oslo Europe/Copenhagen Europe/Warsaw Europe/Prague Europe/Budapest "
     "Europe/Belgrade Europe/Zagreb Europe/Ljubljana Europe/Sarajevo Europe/Skopje Europe/Podgorica "
     "Europe/Bratislava Europe/Luxembourg Europe/Monaco Europe/Malta Europe/Andorra Europe/Gibraltar "
     "Europe/Tirane Europe/Vaduz Europe/San_Marino Europe/Vatican Europe/Busingen Africa/Tunis Africa/Algiers "
     "Africa/Ceuta CET MET",
     "Central European|Middle European"},
    {"Europe/Athens Europe/Bucharest Europe/Helsinki Europe/Kiev Europe/Kyiv Europe/Riga Europe/Tallinn "
     "Europe/Vilnius Europe/Sofia Europe/Chisinau Europe/Kaliningrad Europe/Mariehamn Europe/Uzhgorod "
     "Europe/Zaporozhye Asia/Nicosia Europe/Nicosia Asia/Famagusta Asia/Beirut Asia/Amman Asia/Damascus "
     "Africa/Cairo Africa/Tripoli EET",
     "Eastern European"},
    {"Europe/Moscow Europe/Simferopol Europe/Volgograd Europe/Kirov Europe/Samara Europe/Ulyanovsk "
     "Europe/Saratov Europe/Astrakhan Europe/Minsk Asia/Yekaterinburg Asia/Omsk Asia/Novosibirsk Asia/Barnaul "
     "Asia/Tomsk Asia/Novokuznetsk Asia/Krasnoyarsk Asia/Irkutsk Asia/Chita Asia/Yakutsk Asia/Khandyga "
     "Asia/Vladivostok Asia/Ust-Nera Asia/Magadan Asia/Sakhalin Asia/Srednekolymsk Asia/Kamchatka Asia/Anadyr "
     "Asia/Tashkent Asia/Samarkand Asia/Almaty Asia/Qyzylorda Asia/Aqtobe Asia/Aqtau Asia/Oral Asia/Atyrau "
     "Asia/Bishkek Asia/Dushanbe Asia/Ashgabat Asia/Baku Asia/Tbilisi Asia/Yerevan W-SU",
     "USSR"},
    {"Asia/Baghdad Asia/Kuwait Asia/Riyadh Asia/Aden Asia/Qatar Asia/Bahrain", "Baghdad"},
    {"Asia/Tehran Iran", "Iran"},
    {"Asia/Jakarta Asia/Pontianak", "Java|South Sumatra|North Sumatra"},
    {"Asia/Makassar Asia/Jayapura", "Moluccas"},
    {"Asia/Shanghai Asia/Chongqing Asia/Chungking Asia/Harbin Asia/Hong_Kong Asia/Macau Asia/Taipei "
     "Asia/Manila PRC ROC Hongkong",
     "China Coast"},
    {"Asia/Tokyo Asia/Seoul Asia/Pyongyang Japan ROK", "Japan"},
    {"Pacific/Guam Pacific/Saipan", "Guam"},
    {"Australia/Sydney Australia/Melbourne Australia/Hobart Australia/Brisbane Australia/Lindeman "
     "Australia/Currie Australia/Canberra Australia/ACT Australia/NSW Australia/Victoria Australia/Queensland "
     "Australia/Tasmania",
     "Australian Eastern"},
    {"Australia/Adelaide Australia/Broken_Hill Australia/South Australia/Yancowinna",
     "South Australia|Australian Central"},
    {"Australia/Darwin Australia/North", "Australian Central"},
    {"Australia/Perth Australia/West", "Australian Western"},
    {"Australia/", "Australian|South Australia"},
    {"Pacific/Auckland NZ Antarctica/McMurdo", "New Zealand"},
};

// Calls `each` with every space- or bar-separated word of `list`.
template <typename F>
bool AnyWord(std::string_view list, char separator, F each) {
    while (!list.empty()) {
        const std::size_t end = list.find(separator);
        if (each(list.substr(0, end))) return true;
        if (end == std::string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return false;
}

std::string_view RegionRowsFor(std::string_view zoneId) {
    for (const RegionRows& region : kRegionRows) {
        if (AnyWord(region.Zones, ' ', [&](std::string_view id) { return id == zoneId; })) return region.Rows;
    }
    for (const RegionRows& region : kRegionRows) {
        if (AnyWord(region.Zones, ' ',
                    [&](std::string_view id) { return id.ends_with('/') && zoneId.starts_with(id); })) {
            return region.Rows;
        }
    }
    return {};
}

int RowMinutesEast(const ZoneRow& row) { return -(row.OffsetHours * 60 + row.OffsetMinutes); }

}  // namespace

ZoneAtMoment ZoneAt(std::string_view timeZoneId, int year, int month, int day, int hour, int minute) {
    core::ZoneRules rules;
    return ZoneAt(rules, timeZoneId, year, month, day, hour, minute);
}

ZoneAtMoment ZoneAt(core::ZoneRules& rules, std::string_view timeZoneId, int year, int month, int day, int hour,
                    int minute) {
    ZoneAtMoment result;
    const date::year_month_day ymd{date::year{year} / month / day};
    if (!ymd.ok() || hour < 0 || hour > 23 || minute < 0 || minute > 59) {
        result.Status = LocalTimeStatus::InvalidDate;
        result.Note = "There is no such date and time.";
        return result;
    }
    const std::string id(timeZoneId);
    core::ZoneHistory* zone = rules.Find(id);
    if (zone == nullptr) {
        result.Status = LocalTimeStatus::UnknownZone;
        result.Note = "The time zone \"" + id + "\" is not in the time-zone database.";
        return result;
    }

    const date::local_seconds local = date::local_days{ymd} + std::chrono::hours{hour} + std::chrono::minutes{minute};
    const date::local_info info = zone->Info(local);
    const std::string when = ClockText(hour, minute) + " on " + LongDateText(year, month, day);

    if (info.result == date::local_info::nonexistent) {
        // The gap runs from the old offset's clock at the change to the new one's.
        const date::local_seconds before{info.second.begin.time_since_epoch() + info.first.offset};
        const date::local_seconds after{info.second.begin.time_since_epoch() + info.second.offset};
        result.Status = LocalTimeStatus::Skipped;
        result.Note = when + " does not exist in " + id + ": clocks went from " + ClockText(before) + " to " +
                      ClockText(after) + ".";
        return result;
    }

    // With the system database the save amount only tells whether summer
    // time is in force, not how much it is.
    const date::sys_info& used = info.first;
    result.UtcOffsetMinutes = RoundedMinutes(used.offset);
    result.UtcOffsetSeconds = static_cast<int>(used.offset.count());
    result.SummerTime = used.save != std::chrono::minutes{0};
    result.Abbreviation = used.abbrev;
    result.Status = LocalTimeStatus::Ok;
    if (info.result == date::local_info::ambiguous) {
        result.Status = LocalTimeStatus::Repeated;
        result.Note = when + " occurs twice in " + id + "; the first (" + (result.SummerTime ? "daylight, " : "") +
                      UtcText(result.UtcOffsetMinutes) + ") occurrence is used.";
    }
    return result;
}

std::optional<ZoneChoice> ZoneChoiceFor(int utcOffsetMinutes, bool summerTime, std::string_view timeZoneId) {
    const auto& rows = ZoneTable();
    const std::string_view region = RegionRowsFor(timeZoneId);
    const auto namesRegion = [region](std::string_view text) {
        return AnyWord(region, '|', [text](std::string_view start) { return text.starts_with(start); });
    };
    const auto first = [&](int offset, bool regionOnly) -> std::optional<int> {
        for (int i = 0; i < kZoneCount; ++i) {
            const ZoneRow& row = rows[static_cast<std::size_t>(i)];
            if (RowMinutesEast(row) == offset && (!regionOnly || namesRegion(row.Text))) return i;
        }
        return std::nullopt;
    };

    for (const bool regionOnly : {true, false}) {
        if (regionOnly && region.empty()) continue;
        if (summerTime) {
            if (const auto row = first(utcOffsetMinutes - 60, regionOnly)) return ZoneChoice{*row, true};
        }
        if (const auto row = first(utcOffsetMinutes, regionOnly)) return ZoneChoice{*row, false};
    }
    return std::nullopt;
}

std::optional<int> ZoneRowFor(int utcOffsetMinutes, bool summerTime, std::string_view timeZoneId) {
    const std::optional<ZoneChoice> choice = ZoneChoiceFor(utcOffsetMinutes, summerTime, timeZoneId);
    if (!choice) return std::nullopt;
    return choice->Row;
}

std::string ZoneNote(std::string_view timeZoneId, int utcOffsetMinutes, bool summerTime, int year, int month, int day) {
    std::string note(timeZoneId);
    note += " \u00B7 ";
    note += UtcText(utcOffsetMinutes);
    if (month >= 1 && month <= 12) note += " on " + LongDateText(year, month, day);
    note += summerTime ? " (summer time)" : " (no summer time)";
    return note;
}

}  // namespace velmora::core
