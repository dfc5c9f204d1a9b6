#include "cli/jaimini_text.h"

#include <QStringList>

#include "core/jaimini_texts.h"

namespace velmora::cli {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Words wrapped at about 96 columns, each line indented by two blanks.
QString Wrapped(std::string_view text) {
    QString out;
    QString line;
    for (const QString& word : Q(text).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > 94) {
            out += QStringLiteral("  ") + line + QLatin1Char('\n');
            line.clear();
        }
        if (!line.isEmpty()) line += QLatin1Char(' ');
        line += word;
    }
    if (!line.isEmpty()) out += QStringLiteral("  ") + line + QLatin1Char('\n');
    return out;
}

}  // namespace

QString JaiminiText(const core::BirthAnalysis& a) {
    if (!a.Jaimini) return {};
    const analysis::JaiminiTools& tools = *a.Jaimini;
    QString out;
    if (a.Why) {
        out += QStringLiteral("\nWhy The Arudha Lagna Is %1\n").arg(Q(SignNameOf(a.Chart.ArudhaLagnaSign)));
        out += Wrapped(a.Why->ArudhaLagna().Text);
    }

    out += QStringLiteral("\nChara Karakas: %1\n").arg(Q(core::KarakaSchemeText(tools.Karakas.Scheme)));
    for (const auto& row : core::KarakaRows(tools.Karakas))
        out +=
            QStringLiteral("  %1 %2 %3 %4\n").arg(Q(row[0]), -4).arg(Q(row[1]), -14).arg(Q(row[2]), -8).arg(Q(row[3]));
    out += QStringLiteral("  Karakamsa: %1 (the navamsa of the AK)\n").arg(Q(SignNameOf(tools.Karakamsa)));

    out += QStringLiteral("\nArgala\n");
    out += QStringLiteral("  %1 %2 %3 %4 %5 %6 %7\n")
               .arg(QStringLiteral("From"), -5)
               .arg(QStringLiteral("Sign"), -12)
               .arg(QStringLiteral("House"), -6)
               .arg(QStringLiteral("Bodies"), -27)
               .arg(QStringLiteral("Obstr."), -7)
               .arg(QStringLiteral("Bodies"), -27)
               .arg(QStringLiteral("State"));
    for (const auto& row : core::ArgalaRows(tools)) {
        out += QStringLiteral("  %1 %2 %3 %4 %5 %6 %7\n")
                   .arg(Q(row[0]), -5)
                   .arg(Q(row[1]), -12)
                   .arg(Q(row[2]), -6)
                   .arg(Q(row[3]), -27)
                   .arg(Q(row[4]), -7)
                   .arg(Q(row[5]), -27)
                   .arg(Q(row[6]));
    }

    out += QStringLiteral("\nGraha Arudhas\n  %1 %2 %3\n")
               .arg(QStringLiteral("Body"), -8)
               .arg(QStringLiteral("Own sign"), -12)
               .arg(QStringLiteral("Arudha"));
    for (const auto& row : core::GrahaArudhaRows(tools)) {
        const QString line =
            QStringLiteral("  %1 %2 %3 %4").arg(Q(row[0]), -8).arg(Q(row[1]), -12).arg(Q(row[2]), -12).arg(Q(row[3]));
        out += line.trimmed().prepend(QStringLiteral("  ")) + QLatin1Char('\n');
    }

    out += QStringLiteral("\nChara Dasha\n  %1\n").arg(Q(core::CharaDirectionText(tools.CharaDasha)));
    for (const auto& row : core::CharaPeriodRows(tools.CharaDasha)) {
        out +=
            QStringLiteral("  %1 %2 years  %3 to %4\n").arg(Q(row[0]), -12).arg(Q(row[1]), 2).arg(Q(row[2]), Q(row[3]));
    }
    return out;
}

}  // namespace velmora::cli
