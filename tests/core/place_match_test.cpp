#include "core/place_match.h"

#include <gtest/gtest.h>

namespace velmora::core {
namespace {

PlacePick SaoPaulo() {
    return PlacePick{"S\u00e3o Paulo", "S\u00e3o Paulo", "Brazil", "America/Sao_Paulo", -23.5, -46.6};
}

TEST(PlaceMatch, TheCityNamesThePlaceAsTheAtlasComparesNames) {
    for (const char* city : {"S\u00e3o Paulo", "sao paulo", "  SAO PAULO\t"})
        EXPECT_TRUE(CityNamesPlace(city, SaoPaulo())) << city;
    EXPECT_TRUE(CityNamesPlace("anything", std::nullopt));
    EXPECT_EQ(PlaceMismatchNote("anything", std::nullopt), "");
    EXPECT_EQ(PlaceMismatchNote("sao paulo", SaoPaulo()), "");
    EXPECT_FALSE(CityNamesPlace("Sao Paul", SaoPaulo()));
}

TEST(PlaceMatch, TheNoteNamesThePlaceTheCoordinatesAreStillFrom) {
    EXPECT_EQ(
        PlaceMismatchNote(" Rio ", SaoPaulo()),
        "The coordinates and zone are still those of S\u00e3o Paulo, S\u00e3o Paulo, Brazil, not of \u201CRio\u201D; "
        "choose a place from the list to change them.");
    // An emptied box: no quotation of nothing; a place without a state.
    PlacePick monaco{"Monaco", "", "Monaco", "Europe/Monaco", 43.7, 7.4};
    EXPECT_EQ(
        PlaceMismatchNote("", monaco),
        "The coordinates and zone are still those of Monaco, Monaco; choose a place from the list to change them.");
}

}  // namespace
}  // namespace velmora::core
