#include "cli/report.h"

#include <QJsonArray>
#include <QStringList>

#include "analysis/chart.h"
#include "analysis/sign_profiles.h"
#include "core/zones.h"

namespace velmora::cli {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Captions of the position rows of the result window, body order.
constexpr std::array<std::string_view, 10> kPositionCaptions{
    "Surya/Sun",    "Chandra/Moon", "Budha/Mercury",   "Shukra/Venus",    "Mangala/Mars",
    "Guru/Jupiter", "Shani/Saturn", "Rahu/North Node", "Ketu/South node", "Asc/Lagna"};

QString ColorName(std::uint32_t rgb) { return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0')); }

QString Lines(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

}  // namespace

QJsonObject ResultJson(const AnalysisState& state, const AnalysisResult& result) {
    QJsonObject o;
    const astro::EngineState& engine = state.Engine;
    o["zoneOffsetHours"] = state.Zone.Hours;
    o["zoneOffsetMinutes"] = state.Zone.Minutes;
    o["universalTime"] = engine.UniversalTime;
    o["siderealCorrection"] = engine.SiderealCorrection;

    QJsonArray longitudes, arcTexts, positions, displayNames, bodySign;
    for (int i = 0; i < astro::kBodyCount; ++i) {
        const auto b = static_cast<std::size_t>(i);
        longitudes.append(engine.SiderealLongitudes[b]);
        arcTexts.append(Q(engine.SignArcTexts[b]));
        positions.append(Q(engine.PlanetPositions[b]));
        displayNames.append(Q(state.Marks.BodyDisplayNames[b]));
        bodySign.append(state.Chart.BodySign[b]);
    }
    o["longitudes"] = longitudes;
    o["arcTexts"] = arcTexts;
    o["positions"] = positions;
    o["bodyDisplayNames"] = displayNames;

    QJsonObject retrograde;
    for (std::size_t k = 0; k < astro::kRetrogradePlanets.size(); ++k)
        retrograde[Q(astro::kRetrogradePlanets[k])] = state.Marks.RetrogradeFlags[k];
    o["retrograde"] = retrograde;

    o["ascendantLord"] = Q(state.Chart.AscendantLord);
    o["ascendantSign"] = state.Chart.AscendantSign;
    o["lordSign"] = state.Chart.LordSign;
    o["arudhaLagnaSign"] = result.ArudhaLagnaSign;
    o["bodySign"] = bodySign;

    QJsonObject chart;
    QJsonArray markers;
    for (std::size_t k = 0; k < analysis::kSignBoxNames.size(); ++k) {
        chart[Q(analysis::kSignBoxNames[k])] = Q(result.Chart.SignBoxes[k]);
        markers.append(Q(result.Chart.ArudhaMarkers[k]));
    }
    o["chart"] = chart;
    o["arudhaMarkers"] = markers;

    QJsonArray readings;
    for (const analysis::TextRun& run : result.Readings) {
        QJsonObject r;
        r["text"] = Q(run.Text);
        r["bold"] = run.Bold;
        r["color"] = ColorName(run.Color);
        readings.append(r);
    }
    o["readings"] = readings;

    QJsonObject profile;
    for (std::size_t i = 0; i < analysis::kProfileControlNames.size(); ++i)
        profile[Q(analysis::kProfileControlNames[i])] = Q(result.Profile.Texts[i]);
    o["profile"] = profile;

    const BirthDetails& d = result.Details;
    const std::array<const std::string*, 8> detailValues{&d.Name,      &d.DateOfBirth, &d.TimeOfBirth, &d.Latitude,
                                                          &d.Longitude, &d.City,        &d.State,       &d.Country};
    QJsonObject details;
    for (std::size_t i = 0; i < kDetailControlNames.size(); ++i) details[Q(kDetailControlNames[i])] = Q(*detailValues[i]);
    o["details"] = details;
    return o;
}

QString ChartGrid(const AnalysisResult& result) {
    // Sign index of each cell of the 4 x 4 grid, -1 for the central panel.
    constexpr int kGrid[4][4] = {{11, 0, 1, 2}, {10, -1, -1, 3}, {9, -1, -1, 4}, {8, 7, 6, 5}};
    constexpr int kWidth = 16;
    constexpr int kBodyLines = 5;

    auto cellLines = [&](int sign) {
        QStringList lines;
        lines << QStringLiteral("%1 %2").arg(sign + 1).arg(Q(analysis::kSignNames[static_cast<std::size_t>(sign)]));
        QStringList bodies = Lines(Q(result.Chart.SignBoxes[static_cast<std::size_t>(sign)])).split(QLatin1Char('\n'));
        if (!bodies.isEmpty() && bodies.first().isEmpty()) bodies.removeFirst();  // the box opens with a line break
        lines << bodies;
        const QString marker = Q(result.Chart.ArudhaMarkers[static_cast<std::size_t>(sign)]);
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

QString ResultText(const AnalysisState& state, const AnalysisResult& result) {
    QString out;
    const BirthDetails& d = result.Details;
    out += QStringLiteral("Velmora Arudha Lagna v1.25\n\n");
    out += QStringLiteral("Your Details\n");
    out += QStringLiteral("  Name           : %1\n").arg(Q(d.Name));
    out += QStringLiteral("  Date of Birth  : %1\n").arg(Q(d.DateOfBirth));
    out += QStringLiteral("  Time of Birth  : %1\n").arg(Q(d.TimeOfBirth));
    out += QStringLiteral("  Longitude      : %1\n").arg(Q(d.Longitude));
    out += QStringLiteral("  Latitude       : %1\n").arg(Q(d.Latitude));
    out += QStringLiteral("  City           : %1\n").arg(Q(d.City));
    out += QStringLiteral("  State          : %1\n").arg(Q(d.State));
    out += QStringLiteral("  Country        : %1\n\n").arg(Q(d.Country));

    out += QStringLiteral("Vedic Planetary Position\n");
    for (std::size_t i = 0; i < kPositionCaptions.size(); ++i) {
        out += QStringLiteral("  %1 %2 %3\n")
                   .arg(Q(kPositionCaptions[i]), -16)
                   .arg(Q(result.Positions[i]), -10)
                   .arg(Q(state.Marks.BodyDisplayNames[i]));
    }
    out += QLatin1Char('\n');

    out += QStringLiteral("Arudha Lagna Chart\n");
    out += ChartGrid(result);
    out += QLatin1Char('\n');
    if (result.ArudhaLagnaSign >= 1 && result.ArudhaLagnaSign <= 12) {
        out += QStringLiteral("Your Arudha Lagna is %1 (sign %2); the ascendant's lord %3 stands in %4.\n\n")
                   .arg(Q(analysis::kSignNames[static_cast<std::size_t>(result.ArudhaLagnaSign - 1)]))
                   .arg(result.ArudhaLagnaSign)
                   .arg(Q(state.Chart.AscendantLord))
                   .arg(state.Chart.LordSign >= 1 && state.Chart.LordSign <= 12
                            ? Q(analysis::kSignNames[static_cast<std::size_t>(state.Chart.LordSign - 1)])
                            : QStringLiteral("?"));
    }

    out += QStringLiteral("More About Your Arudha Lagna\n");
    QString readings;
    for (const analysis::TextRun& run : result.Readings) readings += Lines(Q(run.Text));
    out += readings.isEmpty() ? QStringLiteral("(no reading applies)\n\n") : readings;

    out += QStringLiteral("Arudha Lagna Details\n");
    for (std::size_t i = 0; i < analysis::kProfileControlNames.size(); ++i) {
        out += QStringLiteral("  %1 : %2\n").arg(Q(analysis::kProfileCaptions[i]), -28).arg(Q(result.Profile.Texts[i]));
    }
    return out;
}

QString ZoneListText() {
    QString out;
    const auto& zones = ZoneTable();
    for (std::size_t row = 0; row < zones.size(); ++row) {
        out += QStringLiteral("%1  %2  %3 h %4 min\n")
                   .arg(row, 2)
                   .arg(Q(zones[row].Text), -45)
                   .arg(zones[row].OffsetHours, 3)
                   .arg(zones[row].OffsetMinutes, 3);
    }
    return out;
}

}  // namespace velmora::cli
