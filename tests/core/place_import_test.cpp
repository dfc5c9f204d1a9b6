#include <gtest/gtest.h>

#include "core/atlas.h"
#include "core/library_files.h"
#include "core/place_import.h"

using namespace velmora;
using namespace velmora::core;
using namespace velmora::core;
using namespace velmora::testing;

namespace {

// One GeoNames record: the 19 tab-separated fields of the dumps.
std::string Record(const std::string& id, const std::string& name, const std::string& ascii,
                   const std::string& alternates, const std::string& lat, const std::string& lon,
                   const std::string& featureClass, const std::string& country, const std::string& admin1,
                   const std::string& population, const std::string& zone) {
    return id + "\t" + name + "\t" + ascii + "\t" + alternates + "\t" + lat + "\t" + lon + "\t" + featureClass +
           "\tPPL\t" + country + "\t\t" + admin1 + "\t\t\t\t" + population + "\t\t14\t" + zone + "\t2023-01-01\n";
}

std::string SmallDump() {
    return Record("1275339", "Mumbai", "Mumbai", "Bambai,Bombay,Mumbaï,https://en.wikipedia.org/wiki/Mumbai",
                  "19.07283", "72.88261", "P", "IN", "16", "12691836", "Asia/Kolkata") +
           Record("3448439", "São Paulo", "Sao Paulo", "Sampa", "-23.5475", "-46.63611", "P", "BR", "27", "10021295",
                  "America/Sao_Paulo") +
           Record("1271881", "Bombay Hill", "Bombay Hill", "", "18.9", "72.8", "T", "IN", "16", "0", "Asia/Kolkata") +
           "not a record at all\n" +
           Record("9999001", "Bomdila", "Bomdila", "", "27.26", "92.42", "P", "IN", "30", "6685", "Asia/Kolkata") +
           Record("9999002", "Tiny Hamlet", "Tiny Hamlet", "Bombay Nagar", "20.1", "73.1", "P", "XX", "01", "",
                  "Asia/Kolkata");
}

std::vector<std::string> Labels(const std::vector<PlaceMatch>& matches) {
    std::vector<std::string> labels;
    for (const PlaceMatch& m : matches) labels.push_back(PlaceMatchLabel(m));
    return labels;
}

}  // namespace

TEST(PlaceImport, ReadsADumpWithAdminNamesAndFindsAlternateNames) {
    TempFolder folder;
    WriteFile(folder / "cities500.txt", SmallDump());
    WriteFile(folder / "admin1CodesASCII.txt",
              "IN.16\tMaharashtra\tMaharashtra\t1264418\r\n"
              "BR.27\tSão Paulo\tSao Paulo\t3448433\r\n");
    auto library = OpenOrFail(folder / "library.sqlite");
    PlaceImportOptions options;
    options.Admin1Codes = folder / "admin1CodesASCII.txt";
    options.CountryNames = &Atlas::Instance();
    const PlaceImportSummary summary = ImportGeoNames(*library, folder / "cities500.txt", options);
    ASSERT_TRUE(summary.Status.Ok()) << summary.Status.Message;
    EXPECT_EQ(summary.Places, 4u);
    EXPECT_EQ(summary.Skipped, 1u);  // the hill
    ASSERT_EQ(summary.Refused.size(), 1u);
    EXPECT_EQ(summary.Refused[0].Line, 4);
    EXPECT_EQ(ImportedPlaceCount(*library).Value, 4u);

    const auto bombay = SearchImportedPlaces(*library, "bombay", 10);
    ASSERT_TRUE(bombay.Ok());
    // The exact alternate name first, then the longer one.
    EXPECT_EQ(Labels(bombay.Value), (std::vector<std::string>{"Mumbai (Bombay)", "Tiny Hamlet (Bombay Nagar)"}));
    const Place& mumbai = bombay.Value[0].Place;
    EXPECT_EQ(mumbai.State, "Maharashtra");
    EXPECT_EQ(mumbai.Country, "India");
    EXPECT_EQ(mumbai.TimeZone, "Asia/Kolkata");
    EXPECT_DOUBLE_EQ(mumbai.Latitude, 19.07283);
    EXPECT_DOUBLE_EQ(mumbai.Longitude, 72.88261);
    EXPECT_EQ(mumbai.Population, 12691836);
    EXPECT_EQ(bombay.Value[0].GeonameId, 1275339);
    EXPECT_EQ(bombay.Value[1].Place.Country, "XX");  // a code the atlas does not name
    EXPECT_EQ(bombay.Value[1].Place.State, "01");    // no admin1 name for it

    // Prefixes of the own name show it alone; qualifiers as the atlas takes them.
    EXPECT_EQ(Labels(SearchImportedPlaces(*library, "Bom", 10).Value),
              (std::vector<std::string>{"Mumbai (Bombay)", "Bomdila", "Tiny Hamlet (Bombay Nagar)"}));
    EXPECT_EQ(Labels(SearchImportedPlaces(*library, "mumbai, maharashtra", 10).Value),
              (std::vector<std::string>{"Mumbai"}));
    EXPECT_EQ(Labels(SearchImportedPlaces(*library, "bombay, india", 10).Value),
              (std::vector<std::string>{"Mumbai (Bombay)"}));
    EXPECT_EQ(Labels(SearchImportedPlaces(*library, "bom, IN", 1).Value),
              (std::vector<std::string>{"Mumbai (Bombay)"}));
    EXPECT_TRUE(SearchImportedPlaces(*library, "mumbai, brazil", 10).Value.empty());
    EXPECT_EQ(Labels(SearchImportedPlaces(*library, "sao", 10).Value), (std::vector<std::string>{"São Paulo"}));
    EXPECT_EQ(Labels(SearchImportedPlaces(*library, "SÃO PAULO, são paulo", 10).Value),
              (std::vector<std::string>{"São Paulo"}));
    EXPECT_TRUE(SearchImportedPlaces(*library, "https", 10).Value.empty());  // links are not names
    EXPECT_TRUE(SearchImportedPlaces(*library, "bombay hill", 10).Value.empty());
}

TEST(PlaceImport, WithoutTheAdminFileKeepsCodesAndAnImportAgainReplaces) {
    TempFolder folder;
    WriteFile(folder / "cities1000.txt", SmallDump());
    auto library = OpenOrFail(folder / "library.sqlite");
    ASSERT_TRUE(ImportGeoNames(*library, folder / "cities1000.txt").Status.Ok());
    const PlaceImportSummary again = ImportGeoNames(*library, folder / "cities1000.txt");
    ASSERT_TRUE(again.Status.Ok());
    EXPECT_EQ(ImportedPlaceCount(*library).Value, 4u);
    const auto mumbai = SearchImportedPlaces(*library, "Mumbai", 10).Value;
    ASSERT_EQ(mumbai.size(), 1u);
    EXPECT_EQ(mumbai[0].Place.State, "16");
    EXPECT_EQ(mumbai[0].Place.Country, "IN");

    // A cancelled import and a missing admin file change nothing.
    WriteFile(folder / "more.txt", Record("5", "Newtown", "Newtown", "", "1", "2", "P", "IN", "16", "5", "UTC"));
    PlaceImportOptions cancel;
    cancel.Progress = [](const ImportProgress&) { return false; };
    EXPECT_FALSE(ImportGeoNames(*library, folder / "more.txt", cancel).Status.Ok());
    PlaceImportOptions missing;
    missing.Admin1Codes = folder / "none.txt";
    EXPECT_EQ(ImportGeoNames(*library, folder / "more.txt", missing).Status.Fault, LibraryFault::Refused);
    EXPECT_EQ(ImportedPlaceCount(*library).Value, 4u);
}

TEST(PlaceImport, MergesWithTheAtlasAnImportedPlaceWinning) {
    TempFolder folder;
    const std::vector<Place> atlas = Atlas::Instance().Search("Mumbai", 5);
    ASSERT_FALSE(atlas.empty());
    const Place& built = atlas.front();
    // The dump's Mumbai in the atlas's state and country, with another population.
    WriteFile(folder / "admin1CodesASCII.txt", "IN.16\t" + built.State + "\t" + built.State + "\t1\n");
    WriteFile(folder / "cities500.txt", SmallDump());
    auto library = OpenOrFail(folder / "library.sqlite");
    PlaceImportOptions options;
    options.Admin1Codes = folder / "admin1CodesASCII.txt";
    options.CountryNames = &Atlas::Instance();
    ASSERT_TRUE(ImportGeoNames(*library, folder / "cities500.txt", options).Status.Ok());

    const std::vector<PlaceMatch> merged =
        MergePlaceMatches("Mumbai", atlas, SearchImportedPlaces(*library, "Mumbai", 5).Value, 5);
    ASSERT_FALSE(merged.empty());
    EXPECT_EQ(merged[0].GeonameId, 1275339);
    EXPECT_EQ(merged[0].Place.Population, 12691836);
    const auto mumbais = std::count_if(merged.begin(), merged.end(), [&](const PlaceMatch& m) {
        return m.Place.Name == built.Name && m.Place.State == built.State;
    });
    EXPECT_EQ(mumbais, 1);

    // "Bombay" is found only through the imported alternate name.
    const std::vector<PlaceMatch> bombay = MergePlaceMatches("Bombay", Atlas::Instance().Search("Bombay", 5),
                                                             SearchImportedPlaces(*library, "Bombay", 5).Value, 5);
    ASSERT_FALSE(bombay.empty());
    EXPECT_EQ(PlaceMatchLabel(bombay[0]), "Mumbai (Bombay)");
}
