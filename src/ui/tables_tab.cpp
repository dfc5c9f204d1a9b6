#include "ui/tables_tab.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/parashari_texts.h"
#include "core/text_formats.h"
#include "report/qt_text.h"

namespace velmora::ui {

namespace {

// A heading over a table, bold by its markup.
QLabel* Caption(const QString& text, QWidget* parent) {
    return new QLabel(QStringLiteral("<b>%1</b>").arg(text.toHtmlEscaped()), parent);
}

QTableWidget* TableFor(const QString& name, QWidget* parent) {
    auto* table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->verticalHeader()->setMinimumSectionSize(18);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

// The table's header and cells; `tips` gives a cell its tool tip.
template <class Tip>
void Fill(QTableWidget* table, const core::TextTable& text, Tip tips) {
    table->clear();
    table->setColumnCount(static_cast<int>(text.Header.size()));
    table->setRowCount(static_cast<int>(text.Rows.size()));
    QStringList header;
    for (const std::string& cell : text.Header) header << report::ToQString(cell);
    table->setHorizontalHeaderLabels(header);
    for (int row = 0; row < table->rowCount(); ++row) {
        const auto& cells = text.Rows[static_cast<std::size_t>(row)];
        for (int col = 0; col < static_cast<int>(cells.size()); ++col) {
            auto* item = new QTableWidgetItem(report::ToQString(cells[static_cast<std::size_t>(col)]));
            item->setToolTip(tips(row, col));
            table->setItem(row, col, item);
        }
    }
}

}  // namespace

TablesTab::TablesTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabTables"));
    auto* page = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(Caption(QStringLiteral("Degree table (sidereal)"), this));
    degrees_ = TableFor(QStringLiteral("tblDegrees"), this);
    left->addWidget(degrees_, 1);
    top->addLayout(left, 3);

    auto* right = new QVBoxLayout;
    right->addWidget(Caption(QStringLiteral("Panchanga of the birth"), this));
    panchanga_ = TableFor(QStringLiteral("tblPanchanga"), this);
    right->addWidget(panchanga_, 1);
    panchangaNote_ = new QLabel(this);
    panchangaNote_->setObjectName(QStringLiteral("lblPanchangaNote"));
    panchangaNote_->setWordWrap(true);
    right->addWidget(panchangaNote_);
    top->addLayout(right, 2);
    page->addLayout(top, 1);

    page->addWidget(Caption(QStringLiteral("Vargas: each body's sign in the sixteen divisional charts"), this));
    vargas_ = TableFor(QStringLiteral("tblVargas"), this);
    vargas_->horizontalHeader()->setStretchLastSection(false);
    vargas_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    page->addWidget(vargas_, 1);
}

QSize TablesTab::sizeHint() const { return QSize(560, 400).expandedTo(minimumSizeHint()); }

void TablesTab::ShowAnalysis(const core::BirthAnalysis& a) {
    const auto none = [](int, int) { return QString(); };
    Fill(degrees_, core::DegreeTable(a), none);
    for (int row = 0; row < degrees_->rowCount(); ++row)
        for (int col : {4, 5, 6})
            degrees_->item(row, col)->setTextAlignment(col == 5 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);

    Fill(panchanga_, core::PanchangaTable(a), none);
    panchangaNote_->setText(QStringLiteral("Sunrise and sunset on the birth's clock (UTC%1), from the Swiss Ephemeris.")
                                .arg(report::ToQString(core::OffsetText(a.Birth.Moment.UtcOffsetSeconds / 60))));

    // Abbreviated signs, the full name and the varga in the tool tip.
    const core::TextTable full = core::VargaTableText(a, false);
    Fill(vargas_, core::VargaTableText(a, true), [&](int row, int col) {
        if (col == 0) return QString();
        return QStringLiteral("%1: %2 in %3")
            .arg(report::ToQString(core::VargaTitle(analysis::kAllVargas[static_cast<std::size_t>(col - 1)])),
                 report::ToQString(full.Rows[static_cast<std::size_t>(row)][0]),
                 report::ToQString(full.Rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]));
    });
    for (int col = 1; col < vargas_->columnCount(); ++col) {
        vargas_->horizontalHeaderItem(col)->setToolTip(
            report::ToQString(core::VargaTitle(analysis::kAllVargas[static_cast<std::size_t>(col - 1)])));
        for (int row = 0; row < vargas_->rowCount(); ++row) vargas_->item(row, col)->setTextAlignment(Qt::AlignCenter);
    }
}

}  // namespace velmora::ui
