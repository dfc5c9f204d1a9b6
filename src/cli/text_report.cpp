#include "cli/text_report.h"

#include <QStringList>

#include "astro/position_text.h"
#include "cli/parashari_report.h"
#include "core/parashari_texts.h"
#include "cli/jaimini_text.h"
#include "core/atlas.h"
#include "core/display.h"
#include "core/engine_settings.h"
#include "core/place_zone.h"
#include "core/period_texts.h"
#include "core/text_formats.h"
#include "core/zones.h"
#include "model/version.h"
#include "report/qt_text.h"

namespace velmora::cli {

namespace {

QString Lines(std::string_view text) { return report::ToQString(core::WithNewlines(text)); }

}  // namespace

QString ChartGrid(const core::BirthAnalysis& analysis) {
    const auto& kGrid = core::kChartGrid;
    const core::DisplayTexts& shown = analysis.Display;
    constexpr int kWidth = 16;
    constexpr int kBodyLines = 5;

    auto cellLines = [&](int sign) {
        QStringList lines;
        lines << QStringLiteral("%1 %2").arg(sign + 1).arg(
            report::ToQString(kSignNames[static_cast<std::size_t>(sign)]));
        QStringList bodies = Lines(shown.SignBoxes[static_cast<std::size_t>(sign)]).split(QLatin1Char('\n'));
        if (!bodies.isEmpty() && bodies.first().isEmpty()) bodies.removeFirst();  // the box opens with a line break
        lines << bodies;
        const QString marker = report::ToQString(shown.ArudhaMarkers[static_cast<std::size_t>(sign)]);
        while (lines.size() < kBodyLines) lines << QString();
        lines << (marker.isEmpty() ? QString() : QStringLiteral("[%1]").arg(marker));
        return lines;
    };

    const QString border = QStringLiteral("+") + QString(kWidth, QLatin1Char('-')) + QStringLiteral("+") +
                           QString(kWidth, QLatin1Char('-')) + QStringLiteral("+") + QString(kWidth, QLatin1Char('-')) +
                           QStringLiteral("+") + QString(kWidth, QLatin1Char('-')) + QStringLiteral("+\n");
    const QString innerBorder = QStringLiteral("+") + QString(kWidth, QLatin1Char('-')) + QStringLiteral("+") +
                                QString(2 * kWidth + 1, QLatin1Char(' ')) + QStringLiteral("+") +
                                QString(kWidth, QLatin1Char('-')) + QStringLiteral("+\n");
    QString out = border;
    for (int row = 0; row < 4; ++row) {
        std::array<QStringList, 4> cells;
        int height = 0;
        for (int col = 0; col < 4; ++col) {
            if (kGrid[row][col] >= 0) cells[static_cast<std::size_t>(col)] = cellLines(kGrid[row][col]);
            height = std::max(height, static_cast<int>(cells[static_cast<std::size_t>(col)].size()));
        }
        for (int line = 0; line < height; ++line) {
            QString text = QStringLiteral("|");
            for (int col = 0; col < 4; ++col) {
                const bool centre = kGrid[row][col] < 0;
                const QStringList& cell = cells[static_cast<std::size_t>(col)];
                if (centre && col == 1) {
                    text += QString(2 * kWidth + 1, QLatin1Char(' ')) + QStringLiteral("|");
                    ++col;
                    continue;
                }
                const QString value = line < cell.size() ? cell[line] : QString();
                text += (QLatin1Char(' ') + value).leftJustified(kWidth, QLatin1Char(' '), true) + QStringLiteral("|");
            }
            out += text + QLatin1Char('\n');
        }
        // The central panel spans rows 2 and 3: no rule between them.
        out += row == 1 ? innerBorder : border;
    }
    return out;
}

QString ResultText(const core::BirthAnalysis& analysis) {
    QString out;
    const core::DisplayTexts& shown = analysis.Display;
    const core::BirthDetails& d = shown.Details;
    out += QStringLiteral("%1 v%2\n\n").arg(report::ToQString(kProgramName), report::ToQString(kProgramShortVersion));
    out += QStringLiteral("Your Details\n");
    out += QStringLiteral("  Name           : %1\n").arg(report::ToQString(d.Name));
    out += QStringLiteral("  Date of Birth  : %1\n").arg(report::ToQString(d.DateOfBirth));
    out += QStringLiteral("  Time of Birth  : %1\n").arg(report::ToQString(d.TimeOfBirth));
    out += QStringLiteral("  Longitude      : %1\n").arg(report::ToQString(d.Longitude));
    out += QStringLiteral("  Latitude       : %1\n").arg(report::ToQString(d.Latitude));
    out += QStringLiteral("  City           : %1\n").arg(report::ToQString(d.City));
    out += QStringLiteral("  State          : %1\n").arg(report::ToQString(d.State));
    out += QStringLiteral("  Country        : %1\n").arg(report::ToQString(d.Country));
    if (analysis.Birth.PlaceClock)
        out += QStringLiteral("  Place          : %1\n").arg(report::ToQString(analysis.Birth.PlaceClock->Note));
    if (analysis.Birth.ExactUtcOffsetMinutes)
        out += QStringLiteral("  Clock offset   : UTC%1\n")
                   .arg(report::ToQString(core::OffsetText(*analysis.Birth.ExactUtcOffsetMinutes)));
    if (analysis.Birth.Settings.Mode == core::EphemerisMode::Precise)
        out += QStringLiteral("  Positions      : %1\n")
                   .arg(report::ToQString(core::EngineDescription(analysis.Birth.Settings)));
    out += QLatin1Char('\n');

    out += QStringLiteral("Vedic Planetary Position\n");
    for (std::size_t i = 0; i < core::kPositionCaptions.size(); ++i) {
        out += QStringLiteral("  %1 %2 %3\n")
                   .arg(report::ToQString(core::kPositionCaptions[i]), -16)
                   .arg(report::ToQString(shown.Positions[i]), -10)
                   .arg(report::ToQString(shown.BodyNames[i]));
    }
    out += QLatin1Char('\n');

    if (analysis.FormulaComparison) {
        out += QStringLiteral("Formula Positions Beside The Precise Ones\n");
        for (std::size_t i = 0; i < core::kPositionCaptions.size(); ++i) {
            const double formula = analysis.FormulaComparison->Longitudes[i];
            double difference = formula - analysis.Positions.Longitudes[i];
            if (difference > 180) difference -= 360;
            if (difference <= -180) difference += 360;
            const bool differs = astro::SignIndexOfLongitude(formula) + 1 != analysis.Chart.BodySign[i];
            out += QStringLiteral("  %1 %2 %3%4\n")
                       .arg(report::ToQString(core::kPositionCaptions[i]), -16)
                       .arg(report::ToQString(astro::PositionTextOf(astro::ArcTextOf(formula))), -10)
                       .arg(difference, 8, 'f', 3)
                       .arg(differs ? QStringLiteral("  sign differs") : QString());
        }
        out += QLatin1Char('\n');
    }

    out += QStringLiteral("Arudha Lagna Chart\n");
    out += ChartGrid(analysis);
    out += QLatin1Char('\n');
    const analysis::ChartPlacement& chart = analysis.Chart;
    out += QStringLiteral("Your Arudha Lagna is %1 (sign %2); the ascendant's lord %3 stands in %4.\n\n")
               .arg(report::ToQString(SignNameOf(chart.ArudhaLagnaSign)))
               .arg(chart.ArudhaLagnaSign)
               .arg(report::ToQString(kBodyNames[chart.AscendantLord]))
               .arg(report::ToQString(SignNameOf(chart.LordSign)));

    out += QStringLiteral("More About Your Arudha Lagna\n");
    QString readings;
    for (const core::TextRun& run : shown.Readings) readings += Lines(run.Text);
    out += readings.isEmpty() ? QStringLiteral("(no reading applies)\n\n") : readings;

    out += QStringLiteral("Arudha Lagna Details\n");
    for (std::size_t i = 0; i < core::kProfileCaptions.size(); ++i) {
        out += QStringLiteral("  %1 : %2\n")
                   .arg(report::ToQString(core::kProfileCaptions[i]), -28)
                   .arg(report::ToQString(shown.Profile[i]));
    }

    out += QStringLiteral("\nArudha Padas\n");
    out += QStringLiteral("  %1 %2 %3 %4 %5\n")
               .arg(QStringLiteral("House"), -6)
               .arg(QStringLiteral("Sign"), -12)
               .arg(QStringLiteral("Lord"), -8)
               .arg(QStringLiteral("Lord's sign"), -12)
               .arg(QStringLiteral("Pada"));
    for (const analysis::Pada& pada : analysis.Padas) {
        out += QStringLiteral("  %1 %2 %3 %4 %5 %6\n")
                   .arg(pada.House, -6)
                   .arg(report::ToQString(SignNameOf(pada.HouseSign)), -12)
                   .arg(report::ToQString(pada.LordName), -8)
                   .arg(report::ToQString(SignNameOf(pada.LordSign)), -12)
                   .arg(report::ToQString(pada.Label), -4)
                   .arg(report::ToQString(SignNameOf(pada.PadaSign)));
    }

    out += QStringLiteral("\nNavamsa\n");
    for (std::size_t body = 0; body < kBodyCount; ++body)
        out += QStringLiteral("  %1 %2\n")
                   .arg(report::ToQString(kBodyNames[body]), -8)
                   .arg(report::ToQString(SignNameOf(analysis.Navamsa[body])));

    out += QStringLiteral("\nVimshottari Dasha\n");
    out += QStringLiteral("  %1\n").arg(report::ToQString(core::DashaBalanceText(analysis.Dasha)));
    out += QStringLiteral("  %1\n").arg(report::ToQString(core::DashaYearText(analysis.Dasha.Year)));
    for (const analysis::MahaDasha& maha : analysis.Dasha.Periods) {
        out += QStringLiteral("  %1 %2 to %3\n")
                   .arg(report::ToQString(maha.LordName), -8)
                   .arg(report::ToQString(core::DateText(maha.StartDate)))
                   .arg(report::ToQString(core::DateText(maha.EndDate)));
    }
    for (const core::ReadingDasha& line : ReadingDashas(analysis))
        out += QStringLiteral("  %1\n").arg(report::ToQString(line.Text));
    out += ParashariText(analysis);
    out += JaiminiText(analysis);
    return out;
}

QString SensitivityText(const core::SensitivityScan& scan) {
    QString out = QStringLiteral("\nBirth-Time Sensitivity (%1 minutes either way)\n").arg(scan.WindowMinutes);
    if (!scan.Ok) return out + QStringLiteral("  %1\n").arg(report::ToQString(scan.Error));
    out += QStringLiteral("  %1 %2 %3 %4\n")
               .arg(QStringLiteral("From"), -17)
               .arg(QStringLiteral("To"), -17)
               .arg(QStringLiteral("Ascendant"), -12)
               .arg(QStringLiteral("Arudha Lagna"));
    // The second showing of a repeated hour is marked; gaps are named.
    auto clock = [](const ClockReading& reading, bool repeated) {
        return report::ToQString(core::ClockReadingText(reading)) +
               (repeated ? QStringLiteral(" (repeated)") : QString());
    };
    for (const core::SensitivitySegment& segment : scan.Segments) {
        out += QStringLiteral("  %1 %2 %3 %4\n")
                   .arg(clock(segment.From, segment.FromRepeated), -17)
                   .arg(clock(segment.To, segment.ToRepeated), -17)
                   .arg(report::ToQString(SignNameOf(segment.AscendantSign)), -12)
                   .arg(report::ToQString(SignNameOf(segment.ArudhaLagnaSign)));
    }
    for (const core::MinuteSpan& gap : scan.Gaps)
        out += QStringLiteral("  %1 %2 (never came: the clocks went forward)\n")
                   .arg(report::ToQString(core::ClockReadingText(gap.From)), -17)
                   .arg(report::ToQString(core::ClockReadingText(gap.To)), -17);
    out += QStringLiteral("  Same chart: %1 to %2\n")
               .arg(clock(scan.SameChart.From, scan.SameChart.FromRepeated),
                    clock(scan.SameChart.To, scan.SameChart.ToRepeated));
    out += QStringLiteral("  %1\n").arg(report::ToQString(core::SensitivitySentence(scan)));
    return out;
}

QString TransitsText(const core::TransitSky& sky) {
    QString out = QStringLiteral("\nTransits at %1 UT\n").arg(report::ToQString(core::ClockReadingText(sky.Moment)));
    if (!sky.Ok) return out + QStringLiteral("  %1\n").arg(report::ToQString(sky.Error));
    out += QStringLiteral("  %1 %2 %3 %4 %5\n")
               .arg(QStringLiteral("Body"), -8)
               .arg(QStringLiteral("Sign"), -12)
               .arg(QStringLiteral("R"), -2)
               .arg(QStringLiteral("From Asc"), -9)
               .arg(QStringLiteral("From AL"));
    for (const core::TransitBody& body : sky.Bodies) {
        out += QStringLiteral("  %1 %2 %3 %4 %5\n")
                   .arg(report::ToQString(kBodyNames[body.Which]), -8)
                   .arg(report::ToQString(SignNameOf(body.Sign)), -12)
                   .arg(body.Retrograde ? QStringLiteral("R") : QString(), -2)
                   .arg(body.HouseFromAscendant, -9)
                   .arg(body.HouseFromArudhaLagna);
    }
    if (sky.Dasha)
        out += QStringLiteral("  Running dasha: %1 maha, %2 antar\n")
                   .arg(report::ToQString(sky.MahaLord), report::ToQString(sky.AntarLord));
    else
        out += QStringLiteral("  Running dasha: none (the moment lies outside the dasha table)\n");
    return out;
}

QString PlaceListText(const QString& query) {
    QString out;
    for (const core::Place& p : core::Atlas::Instance().Search(query.toStdString(), 20)) {
        out += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\n")
                   .arg(report::ToQString(p.Name), report::ToQString(p.State), report::ToQString(p.Country))
                   .arg(p.Latitude, 0, 'f', 4)
                   .arg(p.Longitude, 0, 'f', 4)
                   .arg(report::ToQString(p.TimeZone));
    }
    return out;
}

QString ZoneListText() {
    QString out;
    const auto& zones = core::ZoneTable();
    for (std::size_t row = 0; row < zones.size(); ++row) {
        out += QStringLiteral("%1  %2  %3 h %4 min\n")
                   .arg(row, 2)
                   .arg(report::ToQString(zones[row].Text), -45)
                   .arg(zones[row].OffsetHours, 3)
                   .arg(zones[row].OffsetMinutes, 3);
    }
    return out;
}

QString PreciseCheckText(const core::PreciseCheck& check) {
    if (!check.Ran || check.Differing.empty()) return {};
    QString out = QStringLiteral("\nChecked against the precise ephemeris\n");
    for (const core::PrecisePlacement& p : check.Differing)
        out += QStringLiteral("  Note: %1 (the formulas: %2).\n")
                   .arg(report::ToQString(core::PrecisePlacementText(p)), report::ToQString(SignNameOf(p.FormulaSign)));
    return out;
}

}  // namespace velmora::cli
