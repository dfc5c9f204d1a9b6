#include "report/parashari_parts.h"

#include "core/text_formats.h"
#include "report/qt_text.h"

namespace velmora::report {

namespace {

QStringList Cells(const std::vector<std::string>& row) {
    QStringList cells;
    for (const std::string& cell : row) cells << QString::fromStdString(cell);
    return cells;
}

}  // namespace

QList<QStringList> RowsOf(const core::TextTable& table) {
    QList<QStringList> rows{Cells(table.Header)};
    for (const auto& row : table.Rows) rows << Cells(row);
    return rows;
}

std::vector<ReportPart> ParashariParts(const core::BirthAnalysis& a) {
    std::vector<ReportPart> parts;
    parts.push_back({QStringLiteral("Degree Table"),
                     RowsOf(core::DegreeTable(a)),
                     {QStringLiteral("Sidereal longitudes; speed in degrees a day, negative while moving backward; "
                                     "R marks a retrograde planet.")}});
    parts.push_back({QStringLiteral("Panchanga"),
                     RowsOf(core::PanchangaTable(a)),
                     {QStringLiteral("Sunrise and sunset on the birth's clock (UTC%1).")
                          .arg(QString::fromStdString(core::OffsetText(a.Birth.Moment.UtcOffsetSeconds / 60)))}});
    parts.push_back({QStringLiteral("Vargas"),
                     RowsOf(core::VargaTableText(a, true)),
                     {QStringLiteral("Each body's sign in the sixteen divisional charts of Parashara.")}});

    core::TextTable running{{"Moment", "Dashas running"}, {}};
    const auto add = [&](const std::string& when, const core::RunningPeriods& periods) {
        for (const std::string& line : core::RunningDashaLines(a, periods))
            running.Rows.push_back({when + " " + core::UtMomentText(periods.Moment), line});
    };
    add("Birth", a.AtBirth);
    if (a.AtMoment) add("Today", *a.AtMoment);
    parts.push_back({QStringLiteral("Dashas Running"),
                     RowsOf(running),
                     {QString::fromStdString(core::DashaYearText(a.Dasha.Year))}});
    return parts;
}

ChartPicture VargaPicture(const core::BirthAnalysis& a, analysis::Varga varga) {
    const auto& signs = a.Vargas[static_cast<std::size_t>(varga)];
    ChartPicture picture;
    const int ascendant = signs[Ascendant];
    picture.ascendantSign = ascendant >= 1 ? ascendant : 1;
    for (std::size_t body = 0; body < kBodyCount; ++body) {
        const int sign = signs[body];
        if (sign >= 1 && sign <= 12)
            picture.bodies[static_cast<std::size_t>(sign - 1)] << ToQString(a.Display.BodyNames[body]);
    }
    picture.title = QString::fromStdString(core::VargaTitle(varga));
    return picture;
}

}  // namespace velmora::report
