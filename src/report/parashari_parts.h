#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

#include "core/parashari_texts.h"
#include "core/pipeline.h"
#include "report/chart_painting.h"

namespace velmora::report {

// A text table as rows of cells, the header first.
QList<QStringList> RowsOf(const core::TextTable& table);

// One part of the printable report: a heading, a table with a header row,
// and notes under it.
struct ReportPart {
    QString Heading;
    QList<QStringList> Rows;
    QStringList Notes;
};

// The Parashari parts of the printable report: the degree table, the
// panchanga, the vargas, and the dashas running at birth and "today" (the
// moment the analysis was asked for).
std::vector<ReportPart> ParashariParts(const core::BirthAnalysis& analysis);

// The second chart of the Charts tab: each body in its sign of one varga,
// the ascendant's sign there as the first house (D9 draws what
// NavamsaPicture draws).
ChartPicture VargaPicture(const core::BirthAnalysis& analysis, analysis::Varga varga);

}  // namespace velmora::report
