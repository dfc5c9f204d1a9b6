#include "ui/dasha_periods.h"

#include <QTreeWidget>

#include "core/period_texts.h"
#include "core/text_formats.h"
#include "report/qt_text.h"

namespace velmora::ui {

namespace {

const QColor kRunning(255, 232, 150);

// A period's row under `parent` (the tree itself for a maha dasha).
template <class Parent>
QTreeWidgetItem* PeriodItem(Parent* parent, const QString& name, UtMoment start, UtMoment end, int offsetSeconds,
                            const QString& reading = QString()) {
    return new QTreeWidgetItem(parent, {name, report::ToQString(core::LocalMomentText(start, offsetSeconds)),
                                        report::ToQString(core::LocalMomentText(end, offsetSeconds)), reading});
}

void MarkRunning(QTreeWidget* tree, QTreeWidgetItem* item, bool open) {
    HighlightRunning(item);
    if (open) item->setExpanded(true);
    tree->scrollToItem(item);
}

QString Vimshottari(QTreeWidget* tree, const core::BirthAnalysis& a, UtMoment now, const QString& day) {
    const analysis::DashaTable& table = a.Dasha;
    const int offset = a.Birth.Moment.UtcOffsetSeconds;
    const std::vector<core::ReadingDasha> read = core::ReadingDashas(a);
    const std::optional<analysis::RunningDasha> running = analysis::RunningDashaAt(table, now);
    QTreeWidgetItem* deepest = nullptr;
    for (std::size_t m = 0; m < table.Periods.size(); ++m) {
        const analysis::MahaDasha& maha = table.Periods[m];
        QString reading;
        for (const core::ReadingDasha& line : read)
            if (line.Maha == m) reading = QStringLiteral("%1 has a reading").arg(report::ToQString(maha.LordName));
        auto* item = PeriodItem(tree, report::ToQString(maha.LordName), maha.Start, maha.End, offset, reading);
        const bool mahaRuns = running && running->Maha == m;
        if (mahaRuns) MarkRunning(tree, item, true);
        for (std::size_t k = 0; k < maha.Sub.size(); ++k) {
            const analysis::AntarDasha& antar = maha.Sub[k];
            const QString antarName =
                report::ToQString(maha.LordName) + QStringLiteral(" / ") + report::ToQString(antar.LordName);
            auto* sub = PeriodItem(item, antarName, antar.Start, antar.End, offset);
            const bool antarRuns = mahaRuns && running->Antar == k;
            if (antarRuns) MarkRunning(tree, sub, true);
            const analysis::PratyantarList third = analysis::PratyantarsOf(table, antar);
            for (std::size_t p = 0; p < third.size(); ++p) {
                const analysis::DashaPeriod& period = third[p];
                auto* leaf =
                    PeriodItem(sub,
                               antarName + QStringLiteral(" / ") +
                                   report::ToQString(analysis::kDashaLords[static_cast<std::size_t>(period.Lord)].Name),
                               period.Start, period.End, offset);
                if (antarRuns && running->Pratyantar == p) {
                    MarkRunning(tree, leaf, false);
                    deepest = leaf;
                }
            }
        }
    }
    if (deepest) tree->scrollToItem(deepest);
    if (!running) return QStringLiteral("No dasha of this table runs on %1.").arg(day);
    const analysis::MahaDasha& maha = table.Periods[running->Maha];
    const analysis::AntarDasha& antar = maha.Sub[running->Antar];
    const analysis::PratyantarList pratyantars = analysis::PratyantarsOf(table, antar);
    const analysis::DashaPeriod& third = pratyantars[running->Pratyantar];
    return QStringLiteral("Running on %1: %2 maha dasha, %3 antar dasha, %4 pratyantar (highlighted)")
        .arg(day, report::ToQString(maha.LordName), report::ToQString(antar.LordName),
             report::ToQString(analysis::kDashaLords[static_cast<std::size_t>(third.Lord)].Name));
}

QString YoginiName(const analysis::YoginiSpan& span) {
    return QStringLiteral("%1 (%2)").arg(report::ToQString(span.YoginiName), report::ToQString(span.LordName));
}

QString Yogini(QTreeWidget* tree, const core::BirthAnalysis& a, UtMoment now, const QString& day) {
    const analysis::YoginiTable& table = a.Yogini;
    const int offset = a.Birth.Moment.UtcOffsetSeconds;
    const std::optional<analysis::RunningYogini> running = analysis::RunningYoginiAt(table, now);
    for (std::size_t m = 0; m < table.Periods.size(); ++m) {
        const analysis::YoginiMaha& maha = table.Periods[m];
        auto* item = PeriodItem(tree, YoginiName(maha), maha.Start, maha.End, offset);
        const bool mahaRuns = running && running->Maha == m;
        if (mahaRuns) MarkRunning(tree, item, true);
        for (std::size_t k = 0; k < maha.Sub.size(); ++k) {
            const analysis::YoginiSpan& antar = maha.Sub[k];
            auto* sub = PeriodItem(item, YoginiName(maha) + QStringLiteral(" / ") + YoginiName(antar), antar.Start,
                                   antar.End, offset);
            if (mahaRuns && running->Antar == k) MarkRunning(tree, sub, false);
        }
    }
    if (!running) return QStringLiteral("No Yogini dasha of this table runs on %1.").arg(day);
    const analysis::YoginiMaha& maha = table.Periods[running->Maha];
    return QStringLiteral("Running on %1: %2 maha dasha, %3 antar dasha (highlighted)")
        .arg(day, YoginiName(maha), YoginiName(maha.Sub[running->Antar]));
}

}  // namespace

void HighlightRunning(QTreeWidgetItem* item) {
    for (int col = 0; col < item->columnCount(); ++col) {
        QFont font = item->font(col);
        font.setBold(true);
        item->setFont(col, font);
        item->setBackground(col, kRunning);
    }
}

bool IsRunningHighlight(const QTreeWidgetItem* item) { return item->background(0).color() == kRunning; }

QString FillDashaTree(QTreeWidget* tree, const core::BirthAnalysis& a, DashaSystem system, UtMoment now,
                      const QString& day) {
    tree->clear();
    return system == DashaSystem::Yogini ? Yogini(tree, a, now, day) : Vimshottari(tree, a, now, day);
}

QString DashaBalanceSentence(const core::BirthAnalysis& a, DashaSystem system) {
    if (system == DashaSystem::Vimshottari) return report::ToQString(core::DashaBalanceText(a.Dasha));
    const analysis::YoginiTable& table = a.Yogini;
    const analysis::YoginiEntry& first = analysis::kYoginis[static_cast<std::size_t>(table.First)];
    return QStringLiteral("Moon in %1; the Yogini dasha opens with %2 (lord %3), balance at birth %4")
        .arg(report::ToQString(analysis::kNakshatraNames[static_cast<std::size_t>(table.Nakshatra - 1)]),
             report::ToQString(first.Name),
             report::ToQString(analysis::kDashaLords[static_cast<std::size_t>(first.Lord)].Name),
             report::ToQString(core::YearsAndMonthsText(table.BalanceYears)));
}

}  // namespace velmora::ui
