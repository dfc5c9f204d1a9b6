#include "cli/parashari_report.h"

#include <algorithm>
#include <vector>

#include "core/text_formats.h"
#include "report/qt_text.h"

namespace velmora::cli {

namespace {}  // namespace

QString TableText(const core::TextTable& table) {
    std::vector<qsizetype> widths(table.Header.size(), 0);
    const auto measure = [&](const std::vector<std::string>& row) {
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], report::ToQString(row[c]).size());
    };
    measure(table.Header);
    for (const auto& row : table.Rows) measure(row);
    // Padded cells, the line's end trimmed.
    const auto padded = [&](const std::vector<std::string>& row) {
        QString text;
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
            text += (c ? QStringLiteral(" ") : QString()) + report::ToQString(row[c]).leftJustified(widths[c]);
        while (text.endsWith(QLatin1Char(' '))) text.chop(1);
        return QStringLiteral("  ") + text + QLatin1Char('\n');
    };
    QString out = padded(table.Header);
    for (const auto& row : table.Rows) out += padded(row);
    return out;
}

QString ParashariText(const core::BirthAnalysis& a) {
    QString out = QStringLiteral("\nDegree Table\n");
    out += TableText(core::DegreeTable(a));
    out += QStringLiteral("  Longitudes sidereal; speed in degrees a day, negative while moving backward.\n");

    out += QStringLiteral("\nPanchanga\n");
    out += TableText(core::PanchangaTable(a));
    out += QStringLiteral("  Sunrise and sunset on the birth's clock (UTC%1).\n")
               .arg(report::ToQString(core::OffsetText(a.Birth.Moment.UtcOffsetSeconds / 60)));

    out += QStringLiteral("\nVargas\n");
    out += TableText(core::VargaTableText(a, true));

    out += QStringLiteral("\nDashas Running\n");
    out += QStringLiteral("  %1\n").arg(report::ToQString(core::DashaYearText(a.Dasha.Year)));
    out += QStringLiteral("  At birth (%1):\n").arg(report::ToQString(core::UtMomentText(a.AtBirth.Moment)));
    for (const std::string& line : core::RunningDashaLines(a, a.AtBirth))
        out += QStringLiteral("    %1\n").arg(report::ToQString(line));
    if (a.AtMoment) {
        out += QStringLiteral("  Today (%1):\n").arg(report::ToQString(core::UtMomentText(a.AtMoment->Moment)));
        for (const std::string& line : core::RunningDashaLines(a, *a.AtMoment))
            out += QStringLiteral("    %1\n").arg(report::ToQString(line));
    }
    return out;
}

}  // namespace velmora::cli
