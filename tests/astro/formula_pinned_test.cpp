// The formulas' positions pinned to the last bit. The JSON prints every
// longitude and speed in full, and stored outputs are compared byte for
// byte, so a change to the engine's arithmetic (a faster route to the same
// numbers) must leave every bit as it was; this catches one that does not.
//
// formula_pinned_positions.inc holds 63 births spread over 1901-2050, every
// zone row, both hemispheres, with and without summer time, as the program
// computed them when the table was made (the tool's --batch JSON of those
// births: input, siderealCorrection, longitudes and each body's speed,
// written back in shortest round-trip form). A deliberate change of the
// formulas replaces the table and says so.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#include "core/form_reading.h"
#include "core/pipeline.h"

namespace {

struct PinnedBirth {
    std::string_view Date;  // YYYY-MM-DD
    std::string_view Time;  // HH:MM
    int ZoneRow;
    bool DaylightSaving;
    std::string_view Latitude;   // DD:MM{N|S}
    std::string_view Longitude;  // DDD:MM{E|W}
    double SiderealCorrection;
    std::array<double, velmora::kBodyCount> Longitudes;
    std::array<double, velmora::kBodyCount> Speeds;
};

constexpr PinnedBirth kPinned[] = {
#include "astro/formula_pinned_positions.inc"
};

std::string Part(std::string_view text, std::size_t at, std::size_t length) {
    return std::string(text.substr(at, length));
}

velmora::core::FormInput FormOf(const PinnedBirth& pinned) {
    velmora::core::FormInput f;
    f.Name = "PINNED";
    f.Year = Part(pinned.Date, 0, 4);
    f.MonthIndex = std::stoi(Part(pinned.Date, 5, 2)) - 1;
    f.Day = std::to_string(std::stoi(Part(pinned.Date, 8, 2)));
    f.Hour = std::to_string(std::stoi(Part(pinned.Time, 0, 2)));
    f.Minute = std::to_string(std::stoi(Part(pinned.Time, 3, 2)));
    f.ZoneRow = pinned.ZoneRow;
    f.DaylightSaving = pinned.DaylightSaving;
    f.LatitudeDegrees = Part(pinned.Latitude, 0, 2);
    f.LatitudeMinutes = Part(pinned.Latitude, 3, 2);
    f.South = pinned.Latitude.back() == 'S';
    f.LongitudeDegrees = Part(pinned.Longitude, 0, 3);
    f.LongitudeMinutes = Part(pinned.Longitude, 4, 2);
    f.East = pinned.Longitude.back() == 'E';
    return f;
}

}  // namespace

TEST(FormulaPositions, EveryBitAsPinned) {
    ASSERT_EQ(std::size(kPinned), 63U);
    for (const PinnedBirth& pinned : kPinned) {
        const velmora::core::AnalysisOutcome outcome = velmora::core::RunAnalysis(FormOf(pinned));
        const std::string birth = std::string(pinned.Date) + " " + std::string(pinned.Time) + " row " +
                                  std::to_string(pinned.ZoneRow) + " " + std::string(pinned.Latitude) + " " +
                                  std::string(pinned.Longitude);
        ASSERT_FALSE(outcome.Rejected) << birth << ": " << outcome.Rejected->Text;
        const velmora::astro::EnginePositions& p = outcome.Result.Positions;
        // Exact equality on purpose: the same bits, not nearly the same number.
        EXPECT_EQ(p.SiderealCorrection, pinned.SiderealCorrection) << birth;
        for (std::size_t body = 0; body < velmora::kBodyCount; ++body) {
            EXPECT_EQ(p.Longitudes[body], pinned.Longitudes[body]) << birth << ", body " << body;
            EXPECT_EQ(p.Speeds[body], pinned.Speeds[body]) << birth << ", speed of body " << body;
        }
    }
}
