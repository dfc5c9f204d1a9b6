#include "core/transits.h"

#include "astro/position_text.h"
#include "astro/time_conversion.h"

namespace velmora::core {

int HouseCountedFrom(int sign, int fromSign) { return ((sign - fromSign) % 12 + 12) % 12 + 1; }

TransitSky TransitsAt(const NatalFrame& natal, const ClockReading& universalTime, const astro::PositionEngine& engine) {
    TransitSky sky;
    sky.Moment = universalTime;
    sky.EngineMoment = astro::UniversalMomentAt(universalTime, natal.Moment.Latitude, natal.Moment.Longitude);

    const astro::EngineOutcome computed = engine.Compute(sky.EngineMoment);
    if (!computed.Ok) {
        sky.Ok = false;
        sky.Error = computed.Error;
        return sky;
    }
    const astro::EnginePositions& positions = computed.Positions;
    for (std::size_t body = 0; body < sky.Bodies.size(); ++body) {
        TransitBody& t = sky.Bodies[body];
        t.Which = static_cast<Body>(body);
        t.Longitude = positions.Longitudes[body];
        t.Sign = astro::SignIndexOfLongitude(t.Longitude) + 1;
        t.Retrograde = positions.Retrograde[body];
        t.HouseFromAscendant = HouseCountedFrom(t.Sign, natal.Chart.AscendantSign);
        t.HouseFromArudhaLagna = HouseCountedFrom(t.Sign, natal.Chart.ArudhaLagnaSign);
    }

    sky.Dasha = analysis::RunningDashaAt(natal.Dasha, astro::UtMomentOf(universalTime));
    if (sky.Dasha) {
        const analysis::MahaDasha& maha = natal.Dasha.Periods[sky.Dasha->Maha];
        sky.MahaLord = maha.LordName;
        sky.AntarLord = maha.Sub[sky.Dasha->Antar].LordName;
    }
    return sky;
}

}  // namespace velmora::core
