#include "report/chart_pictures.h"

#include "core/text_formats.h"
#include "report/qt_text.h"

namespace velmora::report {

ChartPicture BirthPicture(const core::BirthAnalysis& a) {
    ChartPicture picture;
    picture.ascendantSign = a.Chart.AscendantSign >= 1 ? a.Chart.AscendantSign : 1;
    for (std::size_t body = 0; body < kBodyCount; ++body) {
        const int sign = a.Chart.BodySign[body];
        if (sign >= 1 && sign <= 12)
            picture.bodies[static_cast<std::size_t>(sign - 1)] << ToQString(a.Display.BodyNames[body]);
    }
    for (const analysis::Pada& pada : a.Padas)
        if (pada.PadaSign >= 1 && pada.PadaSign <= 12)
            picture.markers[static_cast<std::size_t>(pada.PadaSign - 1)] << ToQString(pada.Label);
    picture.title = QStringLiteral("Rasi");
    return picture;
}

ChartPicture NavamsaPicture(const core::BirthAnalysis& a) {
    ChartPicture picture;
    const int ascendant = a.Navamsa[Ascendant];
    picture.ascendantSign = ascendant >= 1 ? ascendant : 1;
    for (std::size_t body = 0; body < kBodyCount; ++body) {
        const int sign = a.Navamsa[body];
        if (sign >= 1 && sign <= 12)
            picture.bodies[static_cast<std::size_t>(sign - 1)] << ToQString(a.Display.BodyNames[body]);
    }
    picture.title = QStringLiteral("Navamsa");
    return picture;
}

QString TransitLabel(const core::TransitBody& body) {
    return QStringLiteral("t ") + ToQString(core::DisplayNameOf(body.Which, body.Retrograde)).trimmed();
}

ChartPicture TransitPicture(const core::BirthAnalysis& a, const core::TransitSky& sky) {
    ChartPicture picture = BirthPicture(a);
    picture.markers = {};
    picture.title =
        QStringLiteral("Birth chart and the sky of %1").arg(ToQString(core::ClockReadingText(sky.Moment)).left(10));
    if (!sky.Ok) return picture;
    for (const core::TransitBody& body : sky.Bodies)
        if (body.Sign >= 1 && body.Sign <= 12)
            picture.markers[static_cast<std::size_t>(body.Sign - 1)] << TransitLabel(body);
    return picture;
}

}  // namespace velmora::report
