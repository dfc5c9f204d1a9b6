#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analysis/dasha.h"
#include "analysis/nakshatra.h"

using namespace velmora::analysis;

TEST(Nakshatra, EveryPadaEdgeWrittenInMinutes) {
    // Pada q (0..107) of the zodiac starts at q × 200 arcminutes: nakshatra
    // q / 4 + 1, pada q mod 4 + 1.
    for (int q = 0; q < 108; ++q) {
        SCOPED_TRACE(q);
        const int minutes = 200 * q;
        const NakshatraPada atEdge = NakshatraPadaOf(minutes / 60 + (minutes % 60) / 60.0);
        EXPECT_EQ(atEdge.Nakshatra, q / 4 + 1);
        EXPECT_EQ(atEdge.Pada, q % 4 + 1);
        EXPECT_EQ(atEdge.Name, kNakshatraNames[static_cast<std::size_t>(q / 4)]);
        const NakshatraPada fraction = NakshatraPadaOf(minutes / 60.0);
        EXPECT_EQ(fraction.Nakshatra, q / 4 + 1);
        EXPECT_EQ(fraction.Pada, q % 4 + 1);
        const NakshatraPada justBefore = NakshatraPadaOf((minutes - 1e-4) / 60.0 + (q == 0 ? 360 : 0));
        EXPECT_EQ(justBefore.Pada, (q + 3) % 4 + 1);
        EXPECT_EQ(justBefore.Nakshatra, (q + 107) % 108 / 4 + 1);
    }
}

TEST(Nakshatra, WorkedExamples) {
    // Moon at Scorpio 21°04'08" (231.0689°): 231.0689 / 13.3333 = 17.33, so
    // the 18th, Jyeshtha, and 0.33 of it gone: its 2nd pada.
    const NakshatraPada moon = NakshatraPadaOf(210 + 21 + 4 / 60.0 + 8 / 3600.0);
    EXPECT_EQ(moon.Nakshatra, 18);
    EXPECT_EQ(moon.Name, "Jyeshtha");
    EXPECT_EQ(moon.Pada, 2);
    // Libra 7°35'36" lies in Swati (186°40' to 200°), in its first pada
    // (to 190°).
    const NakshatraPada swati = NakshatraPadaOf(187 + 35 / 60.0 + 36 / 3600.0);
    EXPECT_EQ(swati.Name, "Swati");
    EXPECT_EQ(swati.Pada, 1);
    EXPECT_EQ(NakshatraPadaOf(359.999).Name, "Revati");
    EXPECT_EQ(NakshatraPadaOf(359.999).Pada, 4);
}

TEST(Nakshatra, AgreesWithTheDashaTableAndWraps) {
    for (double longitude : {0.0, 13.3333333, 40.0 / 3, 100.0, 200.0 / 3 - 1e-12, 359.9999999999, -5.0, 725.0}) {
        SCOPED_TRACE(longitude);
        EXPECT_EQ(NakshatraPadaOf(longitude).Nakshatra, VimshottariDashas(longitude, UtMoment{}).Nakshatra);
    }
    EXPECT_EQ(NakshatraPadaOf(-5.0).Nakshatra, 27);
    EXPECT_EQ(NakshatraPadaOf(-5.0).Pada, 3);  // 355°: 8°20' into Revati
    EXPECT_EQ(NakshatraPadaOf(std::nextafter(360.0, 0.0)).Nakshatra, 1);
    EXPECT_EQ(NakshatraPadaOf(std::numeric_limits<double>::quiet_NaN()).Nakshatra, 1);

    const std::array<double, 10> longitudes{0, 13.5, 27, 40.5, 54, 67.5, 81, 94.5, 108, 121.5};
    const std::array<NakshatraPada, 10> all = NakshatraPadas(longitudes);
    for (std::size_t b = 0; b < 10; ++b) {
        EXPECT_EQ(all[b].Nakshatra, NakshatraPadaOf(longitudes[b]).Nakshatra);
        EXPECT_EQ(all[b].Pada, NakshatraPadaOf(longitudes[b]).Pada);
    }
}
