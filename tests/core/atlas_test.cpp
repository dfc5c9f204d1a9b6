#include <geonames.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/atlas.h"
#include "core/zone_at_moment.h"
#include "core/zones.h"

using namespace velmora;
using namespace velmora::core;

namespace {

const Atlas& TheAtlas() { return Atlas::Instance(); }

int RowIndex(std::string_view textStart) {
    const auto& rows = ZoneTable();
    for (int i = 0; i < kZoneCount; ++i) {
        if (rows[static_cast<std::size_t>(i)].Text.starts_with(textStart)) return i;
    }
    ADD_FAILURE() << "no zone row starts with " << textStart;
    return -1;
}

// Minutes east of Greenwich that a row and the daylight-saving box give
// together, the way the form adds them up.
int FormOffset(const ZoneChoice& choice) {
    const ZoneOffset offset = ZoneOffsetOfRow(choice.Row);
    return -(offset.Hours * 60 + offset.Minutes) + (choice.DaylightSaving ? 60 : 0);
}

}  // namespace

// ---------------------------------------------------------------------------
// Finding one place.

TEST(AtlasFind, BestMatchForAPlainCityName) {
    const auto delhi = TheAtlas().Find("Delhi");
    ASSERT_TRUE(delhi);
    EXPECT_EQ(delhi->Name, "Delhi");
    EXPECT_EQ(delhi->Country, "India");
    EXPECT_EQ(delhi->TimeZone, "Asia/Kolkata");
    EXPECT_NEAR(delhi->Latitude, 28.65, 0.02);
    EXPECT_NEAR(delhi->Longitude, 77.23, 0.02);
    EXPECT_GT(delhi->Population, 1'000'000);

    // Eight Springfields; the most populous is the one in Missouri.
    const auto springfield = TheAtlas().Find("Springfield");
    ASSERT_TRUE(springfield);
    EXPECT_EQ(springfield->State, "Missouri");
    EXPECT_EQ(springfield->TimeZone, "America/Chicago");
}

TEST(AtlasFind, ExactNameBeatsAMorePopulousLongerName) {
    // Dalian has twenty times the people of Dali, and Fujisawa three times
    // those of Fuji, but the names typed are Dali and Fuji.
    const auto dali = TheAtlas().Find("Dali");
    ASSERT_TRUE(dali);
    EXPECT_EQ(dali->Name, "Dali");
    const auto fuji = TheAtlas().Find("Fuji");
    ASSERT_TRUE(fuji);
    EXPECT_EQ(fuji->Name, "Fuji");
    // A beginning alone still finds the most populous place it begins.
    const auto dalia = TheAtlas().Find("Dalia");
    ASSERT_TRUE(dalia);
    EXPECT_EQ(dalia->Name, "Dalian");
}

TEST(AtlasFind, StateOrCountryNarrowsTheChoice) {
    const auto illinois = TheAtlas().Find("springfield, illinois");
    ASSERT_TRUE(illinois);
    EXPECT_EQ(illinois->Name, "Springfield");
    EXPECT_EQ(illinois->State, "Illinois");
    EXPECT_NEAR(illinois->Latitude, 39.80, 0.05);

    // State codes and the start of a state's name work too.
    const auto ohio = TheAtlas().Find("Springfield, OH");
    ASSERT_TRUE(ohio);
    EXPECT_EQ(ohio->State, "Ohio");
    const auto oregon = TheAtlas().Find("Springfield, Ore");
    ASSERT_TRUE(oregon);
    EXPECT_EQ(oregon->State, "Oregon");

    // "City, Country": the London of Canada, and the one of the United Kingdom.
    const auto ontario = TheAtlas().Find("London, Canada");
    ASSERT_TRUE(ontario);
    EXPECT_EQ(ontario->State, "Ontario");
    EXPECT_EQ(ontario->TimeZone, "America/Toronto");
    const auto england = TheAtlas().Find("London, UK");
    ASSERT_TRUE(england);
    EXPECT_EQ(england->Country, "United Kingdom");
    EXPECT_EQ(england->TimeZone, "Europe/London");

    // "City, State, Country", with a state named "State of West Bengal".
    const auto kolkata = TheAtlas().Find("Kolkata, West Bengal, India");
    ASSERT_TRUE(kolkata);
    EXPECT_EQ(kolkata->Name, "Kolkata");
    const auto massachusetts = TheAtlas().Find("Springfield, Massachusetts, USA");
    ASSERT_TRUE(massachusetts);
    EXPECT_EQ(massachusetts->State, "Massachusetts");
    EXPECT_EQ(massachusetts->TimeZone, "America/New_York");

    // A state and country that do not go together find nothing.
    EXPECT_FALSE(TheAtlas().Find("Springfield, Illinois, India"));
    EXPECT_FALSE(TheAtlas().Find("Delhi, Canada"));
}

TEST(AtlasFind, IgnoresCaseAndAccents) {
    const auto saoPaulo = TheAtlas().Find("Sao Paulo");
    ASSERT_TRUE(saoPaulo);
    EXPECT_EQ(saoPaulo->Name, "S\u00E3o Paulo");
    EXPECT_EQ(saoPaulo->Country, "Brazil");
    EXPECT_EQ(saoPaulo->TimeZone, "America/Sao_Paulo");

    for (const char* query : {"SAO PAULO", "s\u00E3o paulo", "S\u00C3O PAULO", "  sao   paulo  "}) {
        const auto found = TheAtlas().Find(query);
        ASSERT_TRUE(found) << query;
        EXPECT_EQ(found->Name, "S\u00E3o Paulo") << query;
    }
    const auto bogota = TheAtlas().Find("bogota");
    ASSERT_TRUE(bogota);
    EXPECT_EQ(bogota->Name, "Bogot\u00E1");
    const auto lomza = TheAtlas().Find("LOMZA");  // Ł is not an L with a mark
    ASSERT_TRUE(lomza);
    EXPECT_EQ(lomza->Name, "\u0141om\u017Ca");
    // Accents in the query are dropped as well.
    const auto delhi = TheAtlas().Find("D\u00C9LHI, \u00CEndia");
    ASSERT_TRUE(delhi);
    EXPECT_EQ(delhi->Name, "Delhi");
}

TEST(AtlasFind, UnknownPlacesAndMalformedQueriesFindNothing) {
    EXPECT_FALSE(TheAtlas().Find("Xqzvillebury"));
    EXPECT_FALSE(TheAtlas().Find(""));
    EXPECT_FALSE(TheAtlas().Find("   "));
    EXPECT_FALSE(TheAtlas().Find(", India"));
    EXPECT_FALSE(TheAtlas().Find("Delhi, Delhi, India, Asia"));
}

TEST(AtlasFolding, DropsMarksCaseAndPunctuation) {
    EXPECT_EQ(FoldForMatching("S\u00E3o Paulo"), "sao paulo");
    EXPECT_EQ(FoldForMatching("Sa\u0303o Paulo"), "sao paulo");  // already decomposed
    EXPECT_EQ(FoldForMatching("\u0141\u00F3d\u017A"), "lodz");
    EXPECT_EQ(FoldForMatching("Stra\u00DFe"), "strasse");
    EXPECT_EQ(FoldForMatching("\u00C6r\u00F8sk\u00F8bing"), "aeroskobing");
    EXPECT_EQ(FoldForMatching("Winston-Salem"), "winston salem");
    EXPECT_EQ(FoldForMatching("  St. John\u2019s  "), "st johns");
    EXPECT_EQ(FoldForMatching("\u0391\u03B8\u03AE\u03BD\u03B1"), "\u03B1\u03B8\u03B7\u03BD\u03B1");  // Αθήνα
    EXPECT_EQ(FoldForMatching(""), "");
}

// ---------------------------------------------------------------------------
// Completion while typing.

TEST(AtlasSearch, PrefixMatchesExactFirstThenByPopulation) {
    const std::vector<Place> found = TheAtlas().Search("Spr", 10);
    ASSERT_EQ(found.size(), 10u);
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(FoldForMatching(found[i].Name).substr(0, 3), "spr") << found[i].Name;
        if (i > 0) {
            EXPECT_GE(found[i - 1].Population, found[i].Population) << found[i].Name;
        }
    }

    // All eight Springfields come before Springfield's longer neighbours.
    const std::vector<Place> springfields = TheAtlas().Search("springfield", 20);
    ASSERT_GT(springfields.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(springfields[i].Name, "Springfield") << i;
    EXPECT_NE(springfields[8].Name, "Springfield");
    EXPECT_EQ(springfields[0].State, "Missouri");
    EXPECT_EQ(springfields[1].State, "Massachusetts");
    EXPECT_EQ(springfields[2].State, "Illinois");

    // Typing "Dali" offers Dali before the bigger Dalian.
    const std::vector<Place> dali = TheAtlas().Search("Dali", 5);
    ASSERT_GE(dali.size(), 2u);
    EXPECT_EQ(dali[0].Name, "Dali");
    EXPECT_EQ(dali[1].Name, "Dalian");
}

TEST(AtlasSearch, LimitsQualifiersAndHalfTypedText) {
    EXPECT_EQ(TheAtlas().Search("S", 20).size(), 20u);
    EXPECT_EQ(TheAtlas().Search("S", 10).size(), 10u);
    EXPECT_TRUE(TheAtlas().Search("S", 0).empty());
    EXPECT_TRUE(TheAtlas().Search("", 10).empty());
    EXPECT_TRUE(TheAtlas().Search("Xqzv", 10).empty());

    // The comma typed before the state does not lose the list.
    const auto all = TheAtlas().Search("Springfield", 20);
    const auto withComma = TheAtlas().Search("Springfield, ", 20);
    ASSERT_EQ(all.size(), withComma.size());
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i].State, withComma[i].State);

    // A qualifier keeps only the places it matches.
    const auto virginia = TheAtlas().Search("Spring, Virginia", 20);
    ASSERT_FALSE(virginia.empty());
    for (const Place& p : virginia) EXPECT_EQ(p.State, "Virginia") << p.Name;

    const auto lo = TheAtlas().Search("Lo", 10);
    ASSERT_FALSE(lo.empty());
    EXPECT_EQ(lo[0].Name, "London");
    EXPECT_EQ(lo[0].Country, "United Kingdom");
}

TEST(AtlasLoad, ReadsEveryRecordAsTheLibraryDoes) {
    // The atlas reads the records' bytes itself; GVariant's own reader must
    // agree on every one of them.
    const std::vector<Place>& places = TheAtlas().Places();
    ASSERT_EQ(places.size(), static_cast<std::size_t>(geonames_get_n_cities()));
    for (std::size_t i = 0; i < places.size(); ++i) {
        GeonamesCity* city = geonames_get_city(static_cast<gint>(i));
        ASSERT_NE(city, nullptr);
        const gchar *id, *name, *stateCode, *state, *countryCode, *country, *zone;
        guint32 population;
        gdouble latitude, longitude;
        g_variant_get(city, "(&s&s&s&s&s&s&sudd)", &id, &name, &stateCode, &state, &countryCode, &country, &zone,
                      &population, &latitude, &longitude);
        const Place& p = places[i];
        const bool same = p.Name == name && p.State == state && p.Country == country && p.TimeZone == zone &&
                          p.Population == static_cast<long>(population) && p.Latitude == latitude &&
                          p.Longitude == longitude;
        geonames_city_free(city);
        ASSERT_TRUE(same) << "record " << i << ": " << p.Name;
    }
}

TEST(AtlasLoad, LoadsOnceForConcurrentFirstQueries) {
    std::vector<const Atlas*> seen(4, nullptr);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] { seen[i] = &Atlas::Instance(); });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(std::set<const Atlas*>(seen.begin(), seen.end()).size(), 1u);
    EXPECT_GT(Atlas::Instance().Size(), 20'000u);
}

// ---------------------------------------------------------------------------
// The zone's clock at the moment of birth, and the form's row for it.

TEST(ZoneAtMomentTest, NewYorkInJuly1975IsEasternDaylightTime) {
    const auto place = TheAtlas().Find("New York");
    ASSERT_TRUE(place);
    ASSERT_EQ(place->TimeZone, "America/New_York");
    const ZoneAtMoment z = ZoneAt(place->TimeZone, 1975, 7, 4, 12, 0);
    EXPECT_EQ(z.Status, LocalTimeStatus::Ok);
    EXPECT_EQ(z.UtcOffsetMinutes, -240);
    EXPECT_TRUE(z.SummerTime);
    EXPECT_EQ(z.Abbreviation, "EDT");
    EXPECT_TRUE(z.Note.empty());

    // Eastern Standard Time with the box ticked, not Central Daylight Time,
    // which has the same offset and comes first in the list.
    const auto choice = ZoneChoiceFor(z.UtcOffsetMinutes, z.SummerTime, place->TimeZone);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->Row, RowIndex("Eastern Standard Time"));
    EXPECT_TRUE(choice->DaylightSaving);
    EXPECT_EQ(FormOffset(*choice), -240);
    EXPECT_EQ(ZoneRowFor(z.UtcOffsetMinutes, z.SummerTime, place->TimeZone), choice->Row);

    // In January the same row, box clear.
    const ZoneAtMoment winter = ZoneAt("America/New_York", 1975, 1, 15, 12, 0);
    EXPECT_EQ(winter.UtcOffsetMinutes, -300);
    EXPECT_FALSE(winter.SummerTime);
    const auto winterChoice = ZoneChoiceFor(winter.UtcOffsetMinutes, winter.SummerTime, "America/New_York");
    ASSERT_TRUE(winterChoice);
    EXPECT_EQ(winterChoice->Row, RowIndex("Eastern Standard Time"));
    EXPECT_FALSE(winterChoice->DaylightSaving);
}

TEST(ZoneAtMomentTest, DelhiAndKolkataInStandardAndWarTime) {
    const auto delhi = TheAtlas().Find("Delhi");
    ASSERT_TRUE(delhi);
    const ZoneAtMoment z = ZoneAt(delhi->TimeZone, 1975, 9, 27, 6, 15);
    EXPECT_EQ(z.Status, LocalTimeStatus::Ok);
    EXPECT_EQ(z.UtcOffsetMinutes, 330);
    EXPECT_FALSE(z.SummerTime);
    EXPECT_EQ(ZoneRowFor(z.UtcOffsetMinutes, z.SummerTime, delhi->TimeZone), RowIndex("Indian Time"));
    EXPECT_EQ(ZoneNote(delhi->TimeZone, z.UtcOffsetMinutes, z.SummerTime, 1975, 9, 27),
              "Asia/Kolkata \u00B7 UTC+05:30 on 27 September 1975 (no summer time)");

    // 1942-45: war time, an hour ahead of Indian time. The database marks it
    // as summer time, so the Indian row with the box gives it exactly.
    const ZoneAtMoment war = ZoneAt("Asia/Kolkata", 1943, 5, 1, 12, 0);
    EXPECT_EQ(war.Status, LocalTimeStatus::Ok);
    EXPECT_EQ(war.UtcOffsetMinutes, 390);
    EXPECT_TRUE(war.SummerTime);
    const auto choice = ZoneChoiceFor(war.UtcOffsetMinutes, war.SummerTime, "Asia/Kolkata");
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->Row, RowIndex("Indian Time"));
    EXPECT_TRUE(choice->DaylightSaving);
    EXPECT_EQ(FormOffset(*choice), 390);
    EXPECT_EQ(ZoneNote("Asia/Kolkata", war.UtcOffsetMinutes, war.SummerTime, 1943, 5, 1),
              "Asia/Kolkata \u00B7 UTC+06:30 on 1 May 1943 (summer time)");
}

namespace {

// The clock of a zone at a local moment and the row and box it gives.
void ExpectClockAndChoice(std::string_view zone, int year, int month, int day, int offset, bool summer,
                          std::string_view row, bool box) {
    const ZoneAtMoment at = ZoneAt(zone, year, month, day, 9, 0);
    EXPECT_EQ(at.Status, LocalTimeStatus::Ok) << zone << " " << year;
    EXPECT_EQ(at.UtcOffsetMinutes, offset) << zone << " " << year;
    EXPECT_EQ(at.SummerTime, summer) << zone << " " << year;
    const auto choice = ZoneChoiceFor(at.UtcOffsetMinutes, at.SummerTime, zone);
    ASSERT_TRUE(choice) << zone << " " << year;
    EXPECT_EQ(choice->Row, RowIndex(row)) << zone << " " << year;
    EXPECT_EQ(choice->DaylightSaving, box) << zone << " " << year;
}

}  // namespace

TEST(ZoneAtMomentTest, BritainAndEuropeUseTheirOwnRows) {
    // 1968-71 Britain kept UTC+1 all year ("British Standard Time"): no
    // summer time, so the +1 British row without the box.
    ExpectClockAndChoice("Europe/London", 1970, 1, 15, 60, false, "British Summer Time", false);
    // Summer 1975: Greenwich Mean Time with the box.
    ExpectClockAndChoice("Europe/London", 1975, 7, 1, 60, true, "Greenwich Mean Time", true);
    // Double summer time in 1944: British Summer Time with the box.
    ExpectClockAndChoice("Europe/London", 1944, 6, 6, 120, true, "British Summer Time", true);
    // Paris in summer: Central European Time with the box, although the
    // British row with the same offset comes first.
    ExpectClockAndChoice("Europe/Paris", 1985, 7, 1, 120, true, "Central European Time", true);
}

TEST(ZoneAtMomentTest, OffsetsNoRowCanGiveUseTheExactOffset) {
    const auto kathmandu = TheAtlas().Find("Kathmandu");
    ASSERT_TRUE(kathmandu);
    const ZoneAtMoment z = ZoneAt(kathmandu->TimeZone, 2024, 6, 1, 10, 0);
    EXPECT_EQ(z.Status, LocalTimeStatus::Ok);
    EXPECT_EQ(z.UtcOffsetMinutes, 345);
    EXPECT_FALSE(z.SummerTime);
    EXPECT_FALSE(ZoneRowFor(z.UtcOffsetMinutes, z.SummerTime, kathmandu->TimeZone));

    const ZoneAtMoment kabul = ZoneAt("Asia/Kabul", 2000, 3, 1, 10, 0);
    EXPECT_EQ(kabul.UtcOffsetMinutes, 270);
    EXPECT_FALSE(ZoneRowFor(kabul.UtcOffsetMinutes, kabul.SummerTime, "Asia/Kabul"));

    // Chatham: +12:45 in winter, +13:45 in summer; neither works.
    const ZoneAtMoment chathamWinter = ZoneAt("Pacific/Chatham", 2020, 7, 1, 10, 0);
    const ZoneAtMoment chathamSummer = ZoneAt("Pacific/Chatham", 2020, 1, 1, 10, 0);
    EXPECT_EQ(chathamWinter.UtcOffsetMinutes, 765);
    EXPECT_EQ(chathamSummer.UtcOffsetMinutes, 825);
    EXPECT_TRUE(chathamSummer.SummerTime);
    EXPECT_FALSE(ZoneRowFor(chathamWinter.UtcOffsetMinutes, chathamWinter.SummerTime, "Pacific/Chatham"));
    EXPECT_FALSE(ZoneRowFor(chathamSummer.UtcOffsetMinutes, chathamSummer.SummerTime, "Pacific/Chatham"));
}

TEST(ZoneAtMomentTest, RowsForZonesWithoutNamedRows) {
    // No row names Nigeria: the first row with UTC+1.
    const auto lagos = ZoneChoiceFor(60, false, "Africa/Lagos");
    ASSERT_TRUE(lagos);
    EXPECT_EQ(lagos->Row, RowIndex("British Summer Time"));
    EXPECT_FALSE(lagos->DaylightSaving);
    // Newfoundland daylight time: its standard row, -3:30, with the box.
    const auto newfoundland = ZoneChoiceFor(-150, true, "America/St_Johns");
    ASSERT_TRUE(newfoundland);
    EXPECT_EQ(newfoundland->Row, RowIndex("Newfoundland Standard Time"));
    EXPECT_TRUE(newfoundland->DaylightSaving);
    // Summer time an hour ahead of an offset no row has (+4:30): the row
    // with the whole offset, box clear.
    const auto whole = ZoneChoiceFor(330, true, "Asia/Colombo");
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->Row, RowIndex("Indian Time"));
    EXPECT_FALSE(whole->DaylightSaving);
    EXPECT_EQ(FormOffset(*whole), 330);
}

TEST(ZoneAtMomentTest, RepeatedSkippedAndRefusedTimes) {
    // 26 October 1975, 02:00 EDT back to 01:00 EST.
    const ZoneAtMoment repeated = ZoneAt("America/New_York", 1975, 10, 26, 1, 30);
    EXPECT_EQ(repeated.Status, LocalTimeStatus::Repeated);
    EXPECT_EQ(repeated.UtcOffsetMinutes, -240);
    EXPECT_TRUE(repeated.SummerTime);
    EXPECT_EQ(repeated.Note,
              "01:30 on 26 October 1975 occurs twice in America/New_York; the first (daylight, UTC-04:00) "
              "occurrence is used.");
    // An hour later the clock is unambiguous again.
    EXPECT_EQ(ZoneAt("America/New_York", 1975, 10, 26, 2, 30).Status, LocalTimeStatus::Ok);

    // 23 February 1975 (the energy-crisis year), 02:00 EST forward to 03:00 EDT.
    const ZoneAtMoment skipped = ZoneAt("America/New_York", 1975, 2, 23, 2, 30);
    EXPECT_EQ(skipped.Status, LocalTimeStatus::Skipped);
    EXPECT_EQ(skipped.Note,
              "02:30 on 23 February 1975 does not exist in America/New_York: clocks went from 02:00 to 03:00.");
    EXPECT_EQ(ZoneAt("America/New_York", 1975, 2, 23, 1, 59).Status, LocalTimeStatus::Ok);
    EXPECT_EQ(ZoneAt("America/New_York", 1975, 2, 23, 3, 0).Status, LocalTimeStatus::Ok);

    const ZoneAtMoment unknown = ZoneAt("Mars/Olympus_Mons", 1975, 7, 4, 12, 0);
    EXPECT_EQ(unknown.Status, LocalTimeStatus::UnknownZone);
    EXPECT_NE(unknown.Note.find("Mars/Olympus_Mons"), std::string::npos);
    EXPECT_EQ(ZoneAt("", 1975, 7, 4, 12, 0).Status, LocalTimeStatus::UnknownZone);

    EXPECT_EQ(ZoneAt("Asia/Kolkata", 1975, 2, 29, 12, 0).Status, LocalTimeStatus::InvalidDate);
    EXPECT_EQ(ZoneAt("Asia/Kolkata", 1975, 13, 1, 12, 0).Status, LocalTimeStatus::InvalidDate);
    EXPECT_EQ(ZoneAt("Asia/Kolkata", 1975, 1, 1, 24, 0).Status, LocalTimeStatus::InvalidDate);
    EXPECT_EQ(ZoneAt("Asia/Kolkata", 1976, 2, 29, 23, 59).Status, LocalTimeStatus::Ok);
}

TEST(ZoneAtMomentTest, LocalMeanTimeRoundsToTheMinute) {
    // Calcutta before 1854 kept its own mean time, UTC+5:53:28.
    const ZoneAtMoment lmt = ZoneAt("Asia/Kolkata", 1850, 6, 1, 12, 0);
    EXPECT_EQ(lmt.Status, LocalTimeStatus::Ok);
    EXPECT_EQ(lmt.UtcOffsetMinutes, 353);
    EXPECT_EQ(ZoneNote("America/New_York", -240, true, 1975, 7, 4),
              "America/New_York \u00B7 UTC-04:00 on 4 July 1975 (summer time)");
}
