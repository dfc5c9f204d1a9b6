#include "ui/toolkit_tabs.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QPushButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "astro/position_text.h"
#include "astro/time_conversion.h"
#include "core/parashari_texts.h"
#include "core/period_texts.h"
#include "core/text_formats.h"
#include "ui/dasha_periods.h"
#include "ui/time_band.h"
#include "report/qt_text.h"
#include "ui/varga_choice.h"
#include "ui/why_button.h"

namespace velmora::ui {

namespace {

QString Sign(int sign) { return report::ToQString(SignNameOf(sign)); }

QLabel* WrappedLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QLabel* Caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}  // namespace

QTableWidget* ReadOnlyTable(const QString& name, const QStringList& headers, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setAlternatingRowColors(true);
    return table;
}

namespace {

void SetRow(QTableWidget* table, int row, const QStringList& cells) {
    for (int col = 0; col < cells.size(); ++col) table->setItem(row, col, new QTableWidgetItem(cells[col]));
}

// A table as wide as its columns, never scrolled sideways: the page gives it
// that width and the charts beside it the rest, so no column is cut off.
void ShowEveryColumn(QTableWidget* table) {
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    table->horizontalHeader()->setStretchLastSection(false);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

// Every row in view too, once they are filled: where the window is short,
// the page around the table scrolls instead.
void ShowEveryRow(QTableWidget* table) {
    table->setMinimumHeight(table->horizontalHeader()->sizeHint().height() + table->verticalHeader()->length() +
                            2 * table->frameWidth());
}

// "Cap" for Capricorn, as the positions write signs; the full name in the
// cell's tool tip.
QTableWidgetItem* ShortSignItem(int sign, const QString& before = QString()) {
    auto* item = new QTableWidgetItem(before + report::ToQString(astro::SignAbbreviation(sign - 1)));
    item->setToolTip(Sign(sign));
    return item;
}

// A chart under its caption; the charts keep their squares.
ChartWidget* CaptionedChart(const QString& name, const QString& caption, QBoxLayout* into, QWidget* parent) {
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    auto* label = Caption(caption, parent);
    label->setAlignment(Qt::AlignHCenter);
    column->addWidget(label);
    auto* chart = new ChartWidget(parent);
    chart->setObjectName(name);
    chart->setMinimumSize(200, 200);
    column->addWidget(chart, 1);
    into->addLayout(column, 1);
    return chart;
}

ClockReading Clamped(ClockReading minute) {
    return std::clamp(minute, core::kFirstClockMinute, core::kLastClockMinute);
}

// The size the added tabs ask for: no more than the first three need.
QSize ModestSize(const QWidget* page) { return QSize(560, 400).expandedTo(page->minimumSizeHint()); }

}  // namespace

QSize ChartsTab::sizeHint() const { return ModestSize(this); }
QSize DashaTab::sizeHint() const { return ModestSize(this); }
QSize TodayTab::sizeHint() const { return ModestSize(this); }

ClockReading UniversalMinuteOf(const QDateTime& moment) {
    const QDateTime ut = moment.toUTC();
    return Clamped({ut.date().year(), ut.date().month(), ut.date().day(), ut.time().hour(), ut.time().minute()});
}

// --- Charts -------------------------------------------------------------------

ChartsTab::ChartsTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabCharts"));
    auto* page = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    auto* charts = new QHBoxLayout;
    birth_ =
        CaptionedChart(QStringLiteral("chtBirth"), QStringLiteral("Birth chart (Rasi), padas in colour"), charts, this);
    navamsa_ = VargaChartColumn(QStringLiteral("chtNavamsa"), charts, this, &vargaChoice_);
    left->addLayout(charts, 1);

    auto* bandCaption =
        Caption(QStringLiteral("Born earlier or later: two hours either way, a colour for each ascendant sign"), this);
    bandCaption->setWordWrap(true);
    left->addWidget(bandCaption);
    band_ = new TimeBand(this);
    band_->setObjectName(QStringLiteral("wgtTimeBand"));
    band_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    left->addWidget(band_);
    sentence_ = WrappedLabel(QStringLiteral("lblSensitivity"), this);
    left->addWidget(sentence_);
    page->addLayout(left, 3);

    auto* right = new QVBoxLayout;
    right->addWidget(Caption(QStringLiteral("Arudha padas"), this));
    padas_ = ReadOnlyTable(QStringLiteral("tblPadas"),
                           {QStringLiteral("House"), QStringLiteral("Sign"), QStringLiteral("Lord"),
                            QStringLiteral("Lord's\nsign"), QStringLiteral("Pada"), QStringLiteral("Why")},
                           this);
    padas_->setRowCount(12);
    ShowEveryColumn(padas_);
    right->addWidget(padas_, 1);
    page->addLayout(right, 0);
}

void ChartsTab::ShowAnalysis(const core::BirthAnalysis& a) {
    const core::SensitivityScan scan = a.Scan.value_or(core::SensitivityScan{});
    birth_->setPicture(report::BirthPicture(a));
    vargaChoice_->ShowAnalysis(a);
    for (int row = 0; row < 12; ++row) {
        const analysis::Pada& pada = a.Padas[static_cast<std::size_t>(row)];
        SetRow(padas_, row, {QString::number(pada.House), QString(), report::ToQString(pada.LordName)});
        padas_->setItem(row, 1, ShortSignItem(pada.HouseSign));
        padas_->setItem(row, 3, ShortSignItem(pada.LordSign));
        padas_->setItem(row, 4, ShortSignItem(pada.PadaSign, report::ToQString(pada.Label) + QLatin1Char(' ')));
    }
    ShowEveryRow(padas_);
    band_->setScan(scan);
    sentence_->setText(scan.Ok ? report::ToQString(core::SensitivitySentence(scan)) : report::ToQString(scan.Error));
    ShowPadaReasons(padas_, a);
    // The Why? buttons widen their column: the table takes its new width.
    padas_->resizeColumnsToContents();
    padas_->updateGeometry();
}

void ChartsTab::SetChartStyle(ChartStyle chartStyle) {
    birth_->setChartStyle(chartStyle);
    navamsa_->setChartStyle(chartStyle);
}

// --- Dasha --------------------------------------------------------------------

DashaTab::DashaTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabDasha"));
    auto* page = new QVBoxLayout(this);
    auto* choose = new QHBoxLayout;
    auto* systemCaption = new QLabel(QStringLiteral("&System:"), this);
    choose->addWidget(systemCaption);
    system_ = new QComboBox(this);
    system_->setObjectName(QStringLiteral("cboDashaSystem"));
    system_->addItems({QStringLiteral("Vimshottari (to the pratyantars)"), QStringLiteral("Yogini")});
    systemCaption->setBuddy(system_);
    choose->addWidget(system_);
    year_ = WrappedLabel(QStringLiteral("lblDashaYear"), this);
    choose->addWidget(year_, 1);
    page->addLayout(choose);
    connect(system_, &QComboBox::currentIndexChanged, this, [this] { ShowPeriods(); });
    balance_ = WrappedLabel(QStringLiteral("lblDashaBalance"), this);
    QFont bold = balance_->font();
    bold.setBold(true);
    balance_->setFont(bold);
    page->addWidget(balance_);
    today_ = WrappedLabel(QStringLiteral("lblDashaToday"), this);
    page->addWidget(today_);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("treDasha"));
    tree_->setColumnCount(4);
    tree_->setHeaderLabels(
        {QStringLiteral("Dasha"), QStringLiteral("From"), QStringLiteral("To"), QStringLiteral("Reading")});
    tree_->setSelectionMode(QAbstractItemView::NoSelection);
    tree_->setAlternatingRowColors(true);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->header()->setStretchLastSection(true);
    page->addWidget(tree_, 1);

    readings_ = WrappedLabel(QStringLiteral("lblDashaReadings"), this);
    page->addWidget(readings_);
}

void DashaTab::ShowAnalysis(const core::BirthAnalysis& a, const QDateTime& now) {
    analysis_ = a;
    now_ = now;
    ShowPeriods();
}

void DashaTab::ShowPeriods() {
    if (!analysis_) return;
    const core::BirthAnalysis& a = *analysis_;
    const auto system = system_->currentIndex() == 1 ? DashaSystem::Yogini : DashaSystem::Vimshottari;
    balance_->setText(DashaBalanceSentence(a, system));
    year_->setText(report::ToQString(core::DashaYearText(a.Dasha.Year)) +
                   QStringLiteral("; times on the birth's clock (UTC%1)")
                       .arg(report::ToQString(core::OffsetText(a.Birth.Moment.UtcOffsetSeconds / 60))));
    const UtMoment moment = astro::UtMomentOf(UniversalMinuteOf(now_));
    today_->setText(FillDashaTree(tree_, a, system, moment, now_.date().toString(Qt::ISODate)));

    QStringList lines;
    if (system == DashaSystem::Vimshottari)
        for (const core::ReadingDasha& line : core::ReadingDashas(a)) lines << report::ToQString(line.Text);
    readings_->setText(lines.join(QLatin1Char('\n')));
}

// --- Today --------------------------------------------------------------------

TodayTab::TodayTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabToday"));
    auto* page = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    auto* pick = new QHBoxLayout;
    auto* dayCaption = new QLabel(QStringLiteral("&Moment:"), this);
    pick->addWidget(dayCaption);
    date_ = new QDateTimeEdit(this);
    date_->setObjectName(QStringLiteral("dteTransits"));
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    date_->setCalendarPopup(true);
    date_->setDateTimeRange(QDateTime(QDate(1901, 1, 1), QTime(0, 0)), QDateTime(QDate(2050, 12, 31), QTime(23, 59)));
    dayCaption->setBuddy(date_);
    pick->addWidget(date_);
    auto* now = new QPushButton(QStringLiteral("&Now"), this);
    now->setObjectName(QStringLiteral("btnTransitsNow"));
    pick->addWidget(now);
    connect(now, &QPushButton::clicked, this, &TodayTab::nowRequested);
    moment_ = WrappedLabel(QStringLiteral("lblTransitMoment"), this);
    pick->addWidget(moment_, 1);
    left->addLayout(pick);
    chart_ = new ChartWidget(this);
    chart_->setObjectName(QStringLiteral("chtTransits"));
    chart_->setMinimumSize(280, 280);
    left->addWidget(chart_, 1);
    auto* legend = WrappedLabel(QStringLiteral("lblTransitLegend"), this);
    legend->setText(QStringLiteral("Black: the birth chart. In colour, marked t: where the bodies stand on the day."));
    left->addWidget(legend);
    page->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(Caption(QStringLiteral("The sky against the birth chart"), this));
    table_ = ReadOnlyTable(QStringLiteral("tblTransits"),
                           {QStringLiteral("Body"), QStringLiteral("Sign"), QStringLiteral("Retro"),
                            QStringLiteral("House from\nAsc"), QStringLiteral("House from\nAL")},
                           this);
    ShowEveryColumn(table_);
    table_->horizontalHeaderItem(2)->setToolTip(QStringLiteral("R: retrograde on the day"));
    table_->horizontalHeaderItem(3)->setToolTip(
        QStringLiteral("The house the body stands in, counted from the sign of the birth ascendant (itself the 1st)"));
    table_->horizontalHeaderItem(4)->setToolTip(
        QStringLiteral("The house the body stands in, counted from the sign of the Arudha Lagna (itself the 1st)"));
    table_->setRowCount(core::kTransitBodyCount);
    right->addWidget(table_, 1);
    dasha_ = WrappedLabel(QStringLiteral("lblTransitDasha"), this);
    QFont bold = dasha_->font();
    bold.setBold(true);
    dasha_->setFont(bold);
    right->addWidget(dasha_);
    page->addLayout(right, 0);

    connect(date_, &QDateTimeEdit::dateTimeChanged, this, [this] { ShowDay(); });
}

void TodayTab::ShowAnalysis(const core::BirthAnalysis& a, const QDateTime& now) {
    analysis_ = a;
    now_ = now;
    const QSignalBlocker quiet(date_);
    date_->setDateTime(now.toLocalTime());
    // The analysis carries the sky of the moment it was asked for; another
    // day is worked out when it is chosen.
    if (a.Transits && a.Transits->Moment == UniversalMinuteOf(now)) {
        ShowSky(*a.Transits);
    } else {
        ShowDay();
    }
}

void TodayTab::SetChartStyle(ChartStyle chartStyle) { chart_->setChartStyle(chartStyle); }

void TodayTab::ShowDay() {
    if (!analysis_) return;
    // The chosen date and time, on the user's clock.
    ShowSky(core::TransitsOver(*analysis_, UniversalMinuteOf(date_->dateTime())));
}

void TodayTab::ShowSky(const core::TransitSky& sky) {
    sky_ = sky;
    moment_->setText(QStringLiteral("%1 UT").arg(
        report::ToQString(core::ClockReadingText(sky_.Moment)).replace(QLatin1Char('T'), QLatin1Char(' '))));
    chart_->setPicture(report::TransitPicture(*analysis_, sky_));

    for (int row = 0; row < core::kTransitBodyCount; ++row) {
        const core::TransitBody& body = sky_.Bodies[static_cast<std::size_t>(row)];
        if (!sky_.Ok) {
            SetRow(table_, row,
                   {report::ToQString(kBodyNames[static_cast<std::size_t>(row)]), QString(), QString(), QString(),
                    QString()});
            continue;
        }
        SetRow(table_, row,
               {report::ToQString(kBodyNames[body.Which]), Sign(body.Sign),
                body.Retrograde ? QStringLiteral("R") : QString(), QString::number(body.HouseFromAscendant),
                QString::number(body.HouseFromArudhaLagna)});
        for (int col = 2; col < 5; ++col) table_->item(row, col)->setTextAlignment(Qt::AlignCenter);
    }
    ShowEveryRow(table_);
    if (!sky_.Ok)
        dasha_->setText(report::ToQString(sky_.Error));
    else if (sky_.Dasha)
        dasha_->setText(QStringLiteral("Running: %1 maha dasha, %2 antar dasha")
                            .arg(report::ToQString(sky_.MahaLord), report::ToQString(sky_.AntarLord)));
    else
        dasha_->setText(QStringLiteral("No dasha of the birth runs on this day."));
}

}  // namespace velmora::ui
