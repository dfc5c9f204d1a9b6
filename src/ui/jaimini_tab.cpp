#include "ui/jaimini_tab.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "astro/time_conversion.h"
#include "core/jaimini_texts.h"
#include "core/text_formats.h"
#include "report/chart_pictures.h"
#include "report/qt_text.h"
#include "ui/toolkit_tabs.h"
#include "ui/why_button.h"

namespace velmora::ui {

namespace {

QString Q(std::string_view text) { return report::ToQString(text); }

const QColor kRunningPeriod(255, 232, 150);
const QString kChosenMarker = QStringLiteral("chosen");
const QString kAspectedMarker = QStringLiteral("aspected");

// The largest side of the chart in the three columns and in the narrow
// arrangement.
constexpr int kWideChart = 380;
constexpr int kNarrowChart = 300;

QLabel* TextLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

// A table that shows every row at once: the page scrolls, not the table.
QTableWidget* ListTable(const QString& name, const QStringList& headers, QWidget* parent) {
    QTableWidget* table = ReadOnlyTable(name, headers, parent);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return table;
}

// As high as its rows.
void FitRows(QTableWidget* table) {
    table->resizeRowsToContents();
    table->setFixedHeight(table->horizontalHeader()->sizeHint().height() + table->verticalHeader()->length() +
                          2 * table->frameWidth() + 2);
}

template <std::size_t N>
void FillTable(QTableWidget* table, const std::vector<std::array<std::string, N>>& rows) {
    table->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t col = 0; col < N; ++col)
            table->setItem(static_cast<int>(row), static_cast<int>(col), new QTableWidgetItem(Q(rows[row][col])));
    FitRows(table);
}

void MarkRunning(QTreeWidgetItem* item) {
    for (int col = 0; col < item->columnCount(); ++col) {
        QFont font = item->font(col);
        font.setBold(true);
        item->setFont(col, font);
        item->setData(col, Qt::BackgroundRole, kRunningPeriod);
    }
}

QString SignList(const std::array<int, 3>& signs) {
    return QStringLiteral("%1, %2 and %3")
        .arg(Q(SignNameOf(signs[0])), Q(SignNameOf(signs[1])), Q(SignNameOf(signs[2])));
}

}  // namespace

JaiminiTab::JaiminiTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabJaimini"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll_ = scroll;
    scroll->setObjectName(QStringLiteral("scrJaimini"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto* content = new QWidget(scroll);
    content->setObjectName(QStringLiteral("tabJaiminiContent"));
    grid_ = new QGridLayout(content);

    // The chart and the sign aspects.
    auto* chartBox = chartBox_ = new QGroupBox(QStringLiteral("Sign aspects (rashi drishti)"), content);
    auto* chartColumn = new QVBoxLayout(chartBox);
    chart_ = new ChartWidget(chartBox);
    chart_->setObjectName(QStringLiteral("chtJaimini"));
    chart_->setMinimumSize(280, 280);
    chart_->setMaximumSize(kWideChart, kWideChart);
    chart_->installEventFilter(this);
    chart_->setToolTip(QStringLiteral("Click a sign to see the signs it aspects"));
    chartColumn->addWidget(chart_, 1);
    auto* pick = new QHBoxLayout;
    auto* pickCaption = new QLabel(QStringLiteral("&Sign:"), chartBox);
    pick->addWidget(pickCaption);
    signChoice_ = new QComboBox(chartBox);
    signChoice_->setObjectName(QStringLiteral("cboAspectSign"));
    signChoice_->addItem(QStringLiteral("(none)"), 0);
    for (int sign = 1; sign <= kSignCount; ++sign) signChoice_->addItem(Q(SignNameOf(sign)), sign);
    signChoice_->setAccessibleName(QStringLiteral("Sign whose aspects are shown"));
    pickCaption->setBuddy(signChoice_);
    pick->addWidget(signChoice_, 1);
    chartColumn->addLayout(pick);
    aspects_ = TextLabel(QStringLiteral("lblAspects"), chartBox);
    aspects_->setText(QStringLiteral("Choose a sign to see the signs it aspects."));
    chartColumn->addWidget(aspects_);
    connect(signChoice_, &QComboBox::currentIndexChanged, this,
            [this](int index) { ChooseSign(signChoice_->itemData(index).toInt()); });

    // The karakas and the karakamsa.
    auto* karakaBox = karakaBox_ = new QGroupBox(QStringLiteral("Chara karakas"), content);
    auto* karakaColumn = new QVBoxLayout(karakaBox);
    scheme_ = TextLabel(QStringLiteral("lblKarakaScheme"), karakaBox);
    karakaColumn->addWidget(scheme_);
    karakas_ = ListTable(
        QStringLiteral("tblKarakas"),
        {QStringLiteral("Karaka"), QStringLiteral("Body"), QStringLiteral("Degree in sign"), QStringLiteral("Why")},
        karakaBox);
    karakas_->horizontalHeader()->setStretchLastSection(false);
    karakas_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    karakaColumn->addWidget(karakas_);
    auto* karakamsaRow = new QHBoxLayout;
    karakamsa_ = TextLabel(QStringLiteral("lblKarakamsa"), karakaBox);
    karakamsaRow->addWidget(karakamsa_, 1);
    karakamsaWhy_ = new WhyButton(QStringLiteral("karakamsa"), karakaBox);
    karakamsaWhy_->setObjectName(QStringLiteral("btnWhyKarakamsa"));
    karakamsaRow->addWidget(karakamsaWhy_);
    karakaColumn->addLayout(karakamsaRow);
    karakaColumn->addStretch(1);

    // The chara dasha.
    auto* charaBox = charaBox_ = new QGroupBox(QStringLiteral("Chara dasha (K.N. Rao)"), content);
    auto* charaColumn = new QVBoxLayout(charaBox);
    auto* orderRow = new QHBoxLayout;
    charaOrder_ = TextLabel(QStringLiteral("lblCharaOrder"), charaBox);
    orderRow->addWidget(charaOrder_, 1);
    orderWhy_ = new WhyButton(QStringLiteral("order of the chara dasha"), charaBox);
    orderWhy_->setObjectName(QStringLiteral("btnWhyCharaOrder"));
    orderRow->addWidget(orderWhy_);
    charaColumn->addLayout(orderRow);
    charaToday_ = TextLabel(QStringLiteral("lblCharaToday"), charaBox);
    charaColumn->addWidget(charaToday_);
    chara_ = new QTreeWidget(charaBox);
    chara_->setObjectName(QStringLiteral("treChara"));
    chara_->setColumnCount(5);
    chara_->setHeaderLabels({QStringLiteral("Period"), QStringLiteral("Years"), QStringLiteral("From"),
                             QStringLiteral("To"), QStringLiteral("Why")});
    chara_->setSelectionMode(QAbstractItemView::NoSelection);
    chara_->setAlternatingRowColors(true);
    chara_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    chara_->header()->setStretchLastSection(false);
    chara_->setMinimumHeight(420);
    charaColumn->addWidget(chara_, 1);

    // Argala.
    auto* argalaBox = argalaBox_ =
        new QGroupBox(QStringLiteral("Argala from the ascendant, the Arudha Lagna and the AK"), content);
    auto* argalaColumn = new QVBoxLayout(argalaBox);
    argala_ =
        ListTable(QStringLiteral("tblArgala"),
                  {QStringLiteral("From"), QStringLiteral("Sign"), QStringLiteral("House"), QStringLiteral("Bodies"),
                   QStringLiteral("Obstr."), QStringLiteral("Obstructing"), QStringLiteral("State")},
                  argalaBox);
    argala_->horizontalHeaderItem(4)->setToolTip(QStringLiteral("The house that obstructs the argala house"));
    argalaColumn->addWidget(argala_);
    argalaColumn->addStretch(1);

    // Graha arudhas.
    auto* arudhaBox = arudhaBox_ = new QGroupBox(QStringLiteral("Graha arudhas"), content);
    auto* arudhaColumn = new QVBoxLayout(arudhaBox);
    arudhas_ = ListTable(
        QStringLiteral("tblGrahaArudhas"),
        {QStringLiteral("Body"), QStringLiteral("Own sign"), QStringLiteral("Arudha"), QStringLiteral("Note")},
        arudhaBox);
    arudhaColumn->addWidget(arudhas_);
    arudhaColumn->addStretch(1);
    Arrange(true);
    scroll->setWidget(content);
    scroll->viewport()->installEventFilter(this);
}

int JaiminiTab::WideWidth() const {
    const QMargins margins = grid_->contentsMargins();
    return chartBox_->sizeHint().width() + karakaBox_->sizeHint().width() + charaBox_->sizeHint().width() +
           2 * grid_->horizontalSpacing() + margins.left() + margins.right();
}

void JaiminiTab::Arrange(bool wide) {
    if (wide == wide_ && grid_->count() > 0) return;
    wide_ = wide;
    for (QWidget* box : {chartBox_, karakaBox_, charaBox_, argalaBox_, arudhaBox_}) grid_->removeWidget(box);
    for (int row = 0; row < 4; ++row) grid_->setRowStretch(row, 0);
    for (int col = 0; col < 3; ++col) grid_->setColumnStretch(col, 0);
    if (wide) {
        chart_->setMaximumSize(kWideChart, kWideChart);
        // The chart and the karakas side by side, the argala and the graha
        // arudhas each across both beneath them (so that every column of
        // both tables has its room), the chara dasha down the right.
        grid_->addWidget(chartBox_, 0, 0, Qt::AlignTop);
        grid_->addWidget(karakaBox_, 0, 1);
        grid_->addWidget(charaBox_, 0, 2, 3, 1);
        grid_->addWidget(argalaBox_, 1, 0, 1, 2);
        grid_->addWidget(arudhaBox_, 2, 0, 1, 2);
        grid_->setColumnStretch(0, 2);
        grid_->setColumnStretch(1, 4);
        grid_->setColumnStretch(2, 3);
        grid_->setRowStretch(3, 1);
    } else {
        // The chart a little smaller, so that the graha arudhas beside it
        // keep every column.
        chart_->setMaximumSize(kNarrowChart, kNarrowChart);
        grid_->addWidget(chartBox_, 0, 0, Qt::AlignTop);
        grid_->addWidget(arudhaBox_, 0, 1);
        grid_->addWidget(karakaBox_, 1, 0, 1, 2);
        grid_->addWidget(argalaBox_, 2, 0, 1, 2);
        grid_->addWidget(charaBox_, 3, 0, 1, 2);
        grid_->setColumnStretch(1, 1);
    }
}

QSize JaiminiTab::sizeHint() const { return QSize(560, 400); }

void JaiminiTab::ShowAnalysis(const core::BirthAnalysis& a, const QDateTime& now) {
    analysis_ = a;
    if (!a.Jaimini) return;
    ShowKarakas(a);
    ShowArgala(*a.Jaimini);
    ShowArudhas(*a.Jaimini);
    ShowCharaDasha(a, now);
    ShowChart();
    // The filled tables may want another arrangement than the empty ones.
    if (scroll_->viewport()->isVisible()) Arrange(scroll_->viewport()->width() >= WideWidth());
}

void JaiminiTab::SetChartStyle(ChartStyle chartStyle) { chart_->setChartStyle(chartStyle); }

void JaiminiTab::ShowKarakas(const core::BirthAnalysis& a) {
    const analysis::JaiminiTools& tools = *a.Jaimini;
    scheme_->setText(QStringLiteral("Scheme in use: %1").arg(Q(core::KarakaSchemeText(tools.Karakas.Scheme))));
    const QStringList why = a.Why ? SentencesOf(a.Why->CharaKarakas) : QStringList();
    const auto rows = core::KarakaRows(tools.Karakas);
    karakas_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < karakas_->rowCount(); ++row) {
        const auto& cells = rows[static_cast<std::size_t>(row)];
        karakas_->setItem(row, 0, new QTableWidgetItem(QStringLiteral("%1 (%2)").arg(Q(cells[0]), Q(cells[1]))));
        karakas_->setItem(row, 1, new QTableWidgetItem(Q(cells[2])));
        karakas_->setItem(row, 2, new QTableWidgetItem(Q(cells[3])));
        auto* button = new WhyButton(QStringLiteral("%1 (%2)").arg(Q(cells[0]), Q(cells[1])));
        button->setSentences(why);
        karakas_->setCellWidget(row, 3, button);
    }
    FitRows(karakas_);
    karakamsa_->setText(QStringLiteral("Karakamsa (the navamsa of the AK, %1): %2")
                            .arg(Q(kBodyNames[tools.Karakas.Atmakaraka().Graha]), Q(SignNameOf(tools.Karakamsa))));
    karakamsaWhy_->setSentences(a.Why ? SentencesOf(a.Why->Karakamsa) : QStringList());
}

void JaiminiTab::ShowArgala(const analysis::JaiminiTools& tools) { FillTable(argala_, core::ArgalaRows(tools)); }

void JaiminiTab::ShowArudhas(const analysis::JaiminiTools& tools) { FillTable(arudhas_, core::GrahaArudhaRows(tools)); }

void JaiminiTab::ShowCharaDasha(const core::BirthAnalysis& a, const QDateTime& now) {
    const analysis::CharaDashaTable& table = a.Jaimini->CharaDasha;
    charaOrder_->setText(Q(core::CharaDirectionText(table)));
    orderWhy_->setSentences(a.Why ? SentencesOf(a.Why->CharaDashaOrder) : QStringList());
    const std::optional<analysis::RunningChara> running =
        analysis::RunningCharaAt(table, astro::UtMomentOf(UniversalMinuteOf(now)));

    chara_->clear();
    const auto rows = core::CharaPeriodRows(table);
    for (std::size_t p = 0; p < table.Periods.size(); ++p) {
        const analysis::CharaPeriod& period = table.Periods[p];
        const auto& cells = rows[p];
        auto* item = new QTreeWidgetItem(chara_, {Q(cells[0]), Q(cells[1]), Q(cells[2]), Q(cells[3])});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        for (std::size_t k = 0; k < period.Sub.size(); ++k) {
            const analysis::CharaSpan& sub = period.Sub[k];
            auto* child =
                new QTreeWidgetItem(item, {Q(period.SignName()) + QStringLiteral(" / ") + Q(sub.SignName()), QString(),
                                           Q(core::DateText(sub.StartDate())), Q(core::DateText(sub.EndDate()))});
            if (running && running->Period == p && running->Sub == k) MarkRunning(child);
        }
        auto* why = new WhyButton(QStringLiteral("%1 period, %2 years").arg(Q(period.SignName())).arg(period.Years));
        why->setSentences(a.Why ? SentencesOf(a.Why->CharaDashaYears[p]) : QStringList());
        chara_->setItemWidget(item, 4, why);
        if (running && running->Period == p) {
            MarkRunning(item);
            item->setExpanded(true);
        }
    }
    if (running) {
        chara_->scrollToItem(
            chara_->topLevelItem(static_cast<int>(running->Period))->child(static_cast<int>(running->Sub)));
        const analysis::CharaPeriod& period = table.Periods[running->Period];
        charaToday_->setText(
            QStringLiteral("Running on %1: %2 period, %3 sub-period (highlighted)")
                .arg(now.date().toString(Qt::ISODate), Q(period.SignName()), Q(period.Sub[running->Sub].SignName())));
    } else {
        charaToday_->setText(
            QStringLiteral("No period of this chara dasha runs on %1.").arg(now.date().toString(Qt::ISODate)));
    }
}

void JaiminiTab::ChooseSign(int sign) {
    chosen_ = sign >= 1 && sign <= kSignCount ? sign : 0;
    const int index = signChoice_->findData(chosen_);
    if (index != signChoice_->currentIndex()) {
        const QSignalBlocker quiet(signChoice_);
        signChoice_->setCurrentIndex(index);
    }
    ShowChart();
}

void JaiminiTab::ShowChart() {
    if (!analysis_) return;
    const core::BirthAnalysis& a = *analysis_;
    ChartPicture picture = report::BirthPicture(a);
    // Only the Arudha Lagna of the padas: the markers show the aspects.
    for (QStringList& markers : picture.markers) markers.clear();
    picture.markers[static_cast<std::size_t>(a.Chart.ArudhaLagnaSign - 1)] << QStringLiteral("AL");
    if (chosen_ == 0) {
        aspects_->setText(QStringLiteral("Choose a sign, on the chart or in the list, to see the signs it aspects."));
    } else {
        const std::array<int, 3> aspected = analysis::SignsAspectedBy(chosen_);
        picture.markers[static_cast<std::size_t>(chosen_ - 1)].prepend(kChosenMarker);
        for (int sign : aspected) picture.markers[static_cast<std::size_t>(sign - 1)].prepend(kAspectedMarker);
        QString text = QStringLiteral("%1 aspects %2.").arg(Q(SignNameOf(chosen_)), SignList(aspected));
        const analysis::BodiesInSign in = analysis::BodiesIn(a.Chart, chosen_);
        QStringList bodies;
        for (int i = 0; i < in.Count; ++i) {
            const Body body = in.Bodies[static_cast<std::size_t>(i)];
            if (body != Ascendant) bodies << Q(kBodyNames[body]);
        }
        if (!bodies.isEmpty())
            text += QStringLiteral(" %1 in %2 aspect%3 them too.")
                        .arg(bodies.join(QStringLiteral(", ")), Q(SignNameOf(chosen_)),
                             bodies.size() == 1 ? QStringLiteral("s") : QString());
        aspects_->setText(text);
    }
    chart_->setPicture(picture);
}

int JaiminiTab::SignAt(const QPointF& point) const {
    const QRectF area(chart_->rect());
    const int ascendant = chart_->picture().ascendantSign;
    for (int sign = 1; sign <= kSignCount; ++sign) {
        if (report::BoxOutline(chart_->chartStyle(), sign, area, ascendant).containsPoint(point, Qt::OddEvenFill))
            return sign;
    }
    return 0;
}

bool JaiminiTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize)
        Arrange(static_cast<QResizeEvent*>(event)->size().width() >= WideWidth());
    if (watched == chart_ && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const int sign = SignAt(mouse->position());
            if (sign != 0) ChooseSign(sign == chosen_ ? 0 : sign);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velmora::ui
