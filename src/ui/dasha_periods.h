#pragma once

#include <QString>

#include "core/pipeline.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace velmora::ui {

// The dasha systems the Dasha tab shows.
enum class DashaSystem { Vimshottari, Yogini };

// Bold on the running period's colour, every column.
void HighlightRunning(QTreeWidgetItem* item);
bool IsRunningHighlight(const QTreeWidgetItem* item);

// Fills the tree with one system's periods: the Vimshottari's nine maha
// dashas, each with its antar dashas and theirs with their pratyantars; the
// Yogini's eight, each with its antars. Columns: the period, its start and
// end as date and time on the birth's clock, and (Vimshottari) which body
// with a reading rules it. The periods running at `now` are highlighted at
// every level and their parents opened. Returns the sentence of what runs
// then.
QString FillDashaTree(QTreeWidget* tree, const core::BirthAnalysis& analysis, DashaSystem system, UtMoment now,
                      const QString& day);

// The sentence over the tree: the Vimshottari balance, or the Yogini's first
// period with its balance.
QString DashaBalanceSentence(const core::BirthAnalysis& analysis, DashaSystem system);

}  // namespace velmora::ui
