#include "ui/result_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "astro/position_text.h"
#include "core/position_comparison.h"
#include "core/time_scan.h"
#include "ui/links.h"
#include "ui/tables_tab.h"
#include "ui/jaimini_tab.h"
#include "ui/toolkit_tabs.h"
#include "ui/varga_choice.h"

namespace velmora::ui {

namespace {

constexpr const char* kLabel5 =
    "Arudha literally means mount. This signifies the image of a sign falling on another sign. Arudha of the first "
    "house is known as Arudha Lagna. Arudha Lagna shows how one manifests oneself in this world of Maya (Illusion). "
    "This shows how you are perceived  by others.";
constexpr const char* kLabel6 =
    "This shows us issues related to status and power. This shows what people think of you and your image.";
constexpr const char* kLabel7 = "More About Your Arudha Lagna";

const QColor kInk(32, 32, 0);
const QColor kAccent(96, 96, 16);
const QColor kMarker(128, 0, 0);
const QColor kChartPaper(251, 248, 236);

QString Latin(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

QLabel* PlainLabel(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* CaptionLabel(const QString& text, const QString& name, QWidget* parent) {
    QLabel* label = PlainLabel(text, name, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kAccent);
    label->setPalette(palette);
    return label;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace

ResultWindow::ResultWindow(Links& links, QWidget* parent) : QMainWindow(parent), links_(links) {
    setObjectName(QStringLiteral("frmDisplay"));
    setWindowTitle(WindowCaption());
    setFont(ProgramFont());
    BuildMenus();

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmDisplayClient"));
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(MakeBanner(links_, central));

    tabs_ = new QTabWidget(central);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    // Eight tabs share the designed width: a narrower padding keeps every
    // caption whole, without scroll buttons.
    tabs_->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 5px 7px; }"));
    // The pages carry fixed inks (olive captions, dark red markers): they
    // keep light paper under any palette so those stay readable. Set before
    // the positions and the profile are built in it, so that their controls
    // take it as they are made.
    QPalette paper = tabs_->palette();
    paper.setColor(QPalette::Window, QColor(240, 240, 236));
    paper.setColor(QPalette::WindowText, Qt::black);
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::AlternateBase, QColor(246, 246, 240));
    paper.setColor(QPalette::Text, Qt::black);
    paper.setColor(QPalette::Button, QColor(232, 232, 228));
    paper.setColor(QPalette::ButtonText, Qt::black);
    tabs_->setPalette(paper);
    tabs_->addTab(BuildChartTab(), QStringLiteral("Arudha Lagna Chart"));
    // The positions and the profile are built when first shown (or asked
    // for): the window opens on the chart.
    planetsPage_ = new QWidget(tabs_);
    planetsPage_->setObjectName(QStringLiteral("tabPlanets"));
    tabs_->addTab(planetsPage_, QStringLiteral("Planetary Details"));
    profilePage_ = new QWidget(tabs_);
    profilePage_->setObjectName(QStringLiteral("tabProfile"));
    tabs_->addTab(profilePage_, QStringLiteral("Arudha Lagna Details"));
    AddAddedTabPages();
    const QSize designed(Twips(10215, this), Twips(7695, this));
    auto* tabHolder = new QVBoxLayout;
    tabHolder->setContentsMargins(Twips(120, this), Twips(120, this), Twips(120, this), Twips(120, this));
    tabHolder->addWidget(tabs_);
    outer->addLayout(tabHolder, 1);

    // Frame5: the promotional labels and the back button.
    auto* strip = new QFrame(central);
    strip->setObjectName(QStringLiteral("Frame5"));
    strip->setAutoFillBackground(true);
    QPalette stripPalette = strip->palette();
    stripPalette.setColor(QPalette::Window, ui::OliveColour());
    stripPalette.setColor(QPalette::WindowText, Qt::white);
    strip->setPalette(stripPalette);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(Twips(240, this), 6, Twips(240, this), 6);
    stripLayout->setSpacing(Twips(360, this));
    promotion_ = new PromotionStrip(links_, PromotionLabel::FullBrand, strip);
    promotion_->setMinimumHeight(fontMetrics().lineSpacing() * 2 + 4);
    stripLayout->addWidget(promotion_, 1);
    auto* back = new QPushButton(QStringLiteral("&Back"), strip);
    back->setObjectName(QStringLiteral("cmdBack"));
    back->setMinimumSize(Twips(1215, this), Twips(375, this));
    back->setPalette(QPalette());
    stripLayout->addWidget(back, 0, Qt::AlignVCenter);
    connect(back, &QPushButton::clicked, this, &ResultWindow::backRequested);
    outer->addWidget(strip);

    setCentralWidget(central);
    // Open at the designed size where the screen allows it. Where it does
    // not, the pages scroll and the window shrinks to the screen (scroll
    // areas cost layout passes, so only then).
    tabs_->setFixedSize(designed);
    if (!FitsScreen(this, sizeHint())) ScrollTabPages(tabs_);
    resize(sizeHint());
    tabs_->setMinimumSize(0, 0);
    tabs_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    KeepInsideScreen(this);
    EnableEnterOnButtons();
    NameControlsForAccessibility(this);
    // Connected last: wrapping the pages in scroll areas moves the current
    // tab about, which is no showing of a page.
    connect(tabs_, &QTabWidget::currentChanged, this, &ResultWindow::BuildShownPage);
}

void ResultWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->menuAction()->setObjectName(QStringLiteral("mnuFile"));
    QAction* back = file->addAction(QStringLiteral("Back"));
    back->setObjectName(QStringLiteral("mnuBack"));
    connect(back, &QAction::triggered, this, &ResultWindow::backRequested);
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    connect(exit, &QAction::triggered, this, &ResultWindow::close);
    BuildFileCommands(file, back);
    BuildViewMenu();

    QAction* about = AddLinkMenus(bar, links_, {"mnuSep1", "mnuSep2", "mnumakemoney"});
    connect(about, &QAction::triggered, this, [this] { emit aboutRequested(this); });
}

QWidget* ResultWindow::BuildChartTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabChart"));
    auto* pageLayout = new QHBoxLayout(page);
    pageLayout->addStretch(1);
    auto* column = new QVBoxLayout;
    column->setSpacing(Twips(120, this));
    column->addStretch(1);
    pageLayout->addLayout(column);
    pageLayout->addStretch(1);

    auto* title = PlainLabel(QStringLiteral("Velmora Arudha Lagna"), QStringLiteral("Label10"), page);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    SetTextColour(title, kAccent);
    column->addWidget(title);

    auto* chart = new QFrame(page);
    chart->setObjectName(QStringLiteral("fraBirthchart"));
    chart->setFrameShape(QFrame::StyledPanel);
    chart->setAutoFillBackground(true);
    QPalette paper = chart->palette();
    paper.setColor(QPalette::Window, kChartPaper);
    paper.setColor(QPalette::WindowText, kInk);
    chart->setPalette(paper);
    column->addWidget(chart);
    column->addStretch(1);

    auto* grid = new QGridLayout(chart);
    grid->setContentsMargins(Twips(240, this), Twips(240, this), Twips(120, this), Twips(120, this));
    grid->setHorizontalSpacing(Twips(60, this));
    grid->setVerticalSpacing(Twips(60, this));

    const QFontMetrics metrics(font());
    const int boxWidth = std::max(Twips(1425, this), metrics.horizontalAdvance(QStringLiteral("Jupiter (R) ")) + 12);
    const int boxHeight = std::max(Twips(1140, this), metrics.lineSpacing() * 5 + 8);
    const QFont numberFont = SignNumberFont();

    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            const int sign = core::kChartGrid[row][col];
            if (sign < 0) continue;
            auto* cell = new QWidget(chart);
            auto* cellLayout = new QGridLayout(cell);
            cellLayout->setContentsMargins(0, 0, 0, 0);
            cellLayout->setHorizontalSpacing(2);
            cellLayout->setVerticalSpacing(2);

            auto* shape = new QFrame(cell);
            shape->setObjectName(QStringLiteral("shpHora_%1").arg(sign));
            shape->setFrameShape(QFrame::Box);
            shape->setLineWidth(1);
            shape->setAutoFillBackground(true);
            QPalette boxPalette = shape->palette();
            boxPalette.setColor(QPalette::Window, Qt::white);
            boxPalette.setColor(QPalette::WindowText, kAccent);
            shape->setPalette(boxPalette);
            shape->setFixedWidth(boxWidth);
            shape->setMinimumHeight(boxHeight);
            auto* shapeLayout = new QVBoxLayout(shape);
            shapeLayout->setContentsMargins(4, 0, 4, 4);
            auto* box = PlainLabel(QString(), Latin(kSignBoxNames[static_cast<std::size_t>(sign)]), shape);
            box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            SetTextColour(box, kInk);
            shapeLayout->addWidget(box);
            signBoxes_[static_cast<std::size_t>(sign)] = box;
            cellLayout->addWidget(shape, 0, 0);

            auto* number = PlainLabel(QString::number(sign + 1), QStringLiteral("Hno_%1").arg(sign), cell);
            number->setFont(numberFont);
            number->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            number->setMinimumWidth(QFontMetrics(numberFont).horizontalAdvance(QStringLiteral("12")) + 2);
            SetTextColour(number, kAccent);
            cellLayout->addWidget(number, 0, 1, Qt::AlignTop);

            auto* marker = PlainLabel(QString(), QStringLiteral("lblArudha_%1").arg(sign), cell);
            QFont markerFont = marker->font();
            markerFont.setBold(true);
            marker->setFont(markerFont);
            marker->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            marker->setMinimumHeight(metrics.lineSpacing() + 2);
            SetTextColour(marker, kMarker);
            markers_[static_cast<std::size_t>(sign)] = marker;
            cellLayout->addWidget(marker, 1, 0);

            grid->addWidget(cell, row, col, Qt::AlignLeft | Qt::AlignTop);
        }
    }
    grid->addWidget(BuildDetailsPanel(chart), 1, 1, 2, 2);
    return page;
}

QWidget* ResultWindow::BuildDetailsPanel(QWidget* parent) {
    auto* panel = new QGroupBox(QStringLiteral("Your Details"), parent);
    panel->setObjectName(QStringLiteral("fraDetails"));
    auto* grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(Twips(120, this));
    grid->setVerticalSpacing(Twips(45, this));

    auto* name = PlainLabel(QString(), QStringLiteral("lblName"), panel);
    QFont nameFont = name->font();
    nameFont.setBold(true);
    name->setFont(nameFont);
    name->setWordWrap(true);
    grid->addWidget(name, 0, 0, 1, 2);
    details_[0] = name;

    struct Row {
        const char* Caption;
        const char* CaptionName;
        std::size_t Detail;  // index into kDetailControlNames
    };
    const Row rows[] = {{"Date of Birth :", "lblDOBCaption", 1},   {"Timeof Birth :", "lblTOBCaption", 2},
                        {"Longitude :", "lblLongitudeCaption", 4}, {"Latitude   :", "lblLatitudeCaption", 3},
                        {"City :", "lblCityCaption", 5},           {"State :", "lblStateCaption", 6},
                        {"Country :", "lblCountryCaption", 7}};
    int line = 1;
    for (const Row& row : rows) {
        QLabel* caption = nullptr;
        if (row.Detail == 2) {
            // The time caption doubles as a link to the page on branded copies.
            auto* link = new ClickableLabel(QString::fromLatin1(row.Caption), panel);
            link->setObjectName(QString::fromLatin1(row.CaptionName));
            connect(link, &ClickableLabel::clicked, this, [this] { links_.OpenFullBrandPage(); });
            caption = link;
        } else {
            caption = PlainLabel(QString::fromLatin1(row.Caption), QString::fromLatin1(row.CaptionName), panel);
        }
        SetTextColour(caption, kAccent);
        auto* value = PlainLabel(QString(), Latin(kDetailControlNames[row.Detail]), panel);
        value->setWordWrap(true);
        details_[row.Detail] = value;
        grid->addWidget(caption, line, 0, Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(value, line, 1, Qt::AlignLeft | Qt::AlignTop);
        ++line;
    }
    // Shown only when the city was typed over the chosen atlas place.
    placeMismatch_ = PlainLabel(QString(), QStringLiteral("lblPlaceMismatch"), panel);
    placeMismatch_->setWordWrap(true);
    QFont small = placeMismatch_->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    placeMismatch_->setFont(small);
    SetTextColour(placeMismatch_, kMarker);
    placeMismatch_->hide();
    grid->addWidget(placeMismatch_, line++, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(line, 1);
    return panel;
}

void ResultWindow::BuildPlanetTab(QWidget* page) {
    auto* pageLayout = new QVBoxLayout(page);
    auto* frame1 = new QFrame(page);
    frame1->setObjectName(QStringLiteral("Frame1"));
    pageLayout->addWidget(frame1);
    auto* frameLayout = new QVBoxLayout(frame1);
    frameLayout->setContentsMargins(Twips(120, this), Twips(120, this), Twips(120, this), Twips(120, this));
    frameLayout->setSpacing(Twips(120, this));

    auto* western = new QGroupBox(QStringLiteral("Vedic Planetary Position"), frame1);
    western->setObjectName(QStringLiteral("fraWestern"));
    auto* grid = new QGridLayout(western);
    grid->setHorizontalSpacing(Twips(240, this));
    grid->setVerticalSpacing(Twips(60, this));
    QFont valueFont = font();
    valueFont.setBold(true);
    QFont noteFont = font();
    noteFont.setPointSizeF(noteFont.pointSizeF() * 0.9);
    QFont differsFont = noteFont;
    differsFont.setBold(true);
    const QColor muted(112, 112, 96);
    // Caption, position and, after a precise run, the formulas on a line
    // of their own beneath it (hidden, that line takes no room); the second
    // five bodies start at column 4.
    // The widest position the labels may show: "21 Gem 05" is wider than "00 Tau 00".
    QString widestPosition;
    for (int sign = 0; sign < 12; ++sign) {
        const QString text = QStringLiteral("00 %1 00 ").arg(Latin(astro::SignAbbreviation(sign)));
        if (QFontMetrics(valueFont).horizontalAdvance(text) > QFontMetrics(valueFont).horizontalAdvance(widestPosition))
            widestPosition = text;
    }
    for (int i = 0; i < 10; ++i) {
        const auto body = static_cast<std::size_t>(i);
        const int row = (i % 5) * 2;
        const int col = i < 5 ? 0 : 4;
        auto* caption =
            PlainLabel(Latin(core::kPositionCaptions[body]), QStringLiteral("PlanetName_%1").arg(i), western);
        SetTextColour(caption, kAccent);
        auto* value = PlainLabel(QString(), QStringLiteral("planet_%1").arg(i), western);
        value->setFont(valueFont);
        value->setMinimumWidth(QFontMetrics(valueFont).horizontalAdvance(widestPosition));
        positions_[body] = value;
        grid->addWidget(caption, row, col);
        grid->addWidget(value, row, col + 1);

        auto* comparison = new QHBoxLayout;
        comparison->setSpacing(Twips(90, this));
        auto* formula = PlainLabel(QString(), QStringLiteral("lblFormula_%1").arg(i), western);
        auto* difference = PlainLabel(QString(), QStringLiteral("lblDifference_%1").arg(i), western);
        difference->setToolTip(QStringLiteral("Formula position minus precise position"));
        for (QLabel* label : {formula, difference}) {
            label->setFont(noteFont);
            SetTextColour(label, muted);
        }
        auto* differs = PlainLabel(QStringLiteral("sign differs"), QStringLiteral("lblSignDiffers_%1").arg(i), western);
        differs->setFont(differsFont);
        SetTextColour(differs, QColor(192, 0, 0));
        for (QLabel* label : {formula, difference, differs}) {
            label->hide();
            comparison->addWidget(label);
        }
        comparison->addStretch(1);
        formulaPositions_[body] = formula;
        differences_[body] = difference;
        signDiffers_[body] = differs;
        grid->addLayout(comparison, row + 1, col + 1, 1, 2);
    }
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(7, 1);

    // Which engine ran, under the positions.
    auto* engineRow = new QHBoxLayout;
    engineRow->setSpacing(Twips(60, this));
    auto* engineCaption = PlainLabel(QStringLiteral("Positions from:"), QStringLiteral("lblEngineCaption"), western);
    engine_ = PlainLabel(QString(), QStringLiteral("lblEngine"), western);
    for (QLabel* label : {engineCaption, engine_}) {
        label->setFont(noteFont);
        SetTextColour(label, muted);
    }
    engineRow->addStretch(1);
    engineRow->addWidget(engineCaption);
    engineRow->addWidget(engine_);
    grid->addLayout(engineRow, 10, 0, 1, 8);
    frameLayout->addWidget(western);

    auto* frame3 = new QGroupBox(QStringLiteral("Arudha Lagna Interpretation"), frame1);
    frame3->setObjectName(QStringLiteral("Frame3"));
    auto* interpretation = new QVBoxLayout(frame3);
    interpretation->setSpacing(Twips(90, this));
    auto* label5 = PlainLabel(QString::fromLatin1(kLabel5), QStringLiteral("Label5"), frame3);
    label5->setWordWrap(true);
    auto* label6 = PlainLabel(QString::fromLatin1(kLabel6), QStringLiteral("Label6"), frame3);
    label6->setWordWrap(true);
    auto* label7 = CaptionLabel(QString::fromLatin1(kLabel7), QStringLiteral("Label7"), frame3);
    readings_ = new QTextEdit(frame3);
    readings_->setObjectName(QStringLiteral("RTB"));
    readings_->setReadOnly(true);
    readings_->setAcceptRichText(false);
    readings_->setMinimumHeight(Twips(2295, this));
    // The readings carry fixed black and dark red: they stay on light paper
    // whatever the palette, so they stay readable under a dark theme.
    QPalette paperPalette = readings_->palette();
    paperPalette.setColor(QPalette::Base, kChartPaper);
    paperPalette.setColor(QPalette::Text, Qt::black);
    readings_->setPalette(paperPalette);
    interpretation->addWidget(label5);
    interpretation->addWidget(label6);
    interpretation->addWidget(label7);
    interpretation->addWidget(readings_, 1);
    frameLayout->addWidget(frame3, 1);
}

void ResultWindow::BuildProfileTab(QWidget* page) {
    auto* pageLayout = new QVBoxLayout(page);
    auto* frame4 = new QGroupBox(QStringLiteral("Arudha Lagna Interpretation"), page);
    frame4->setObjectName(QStringLiteral("Frame4"));
    pageLayout->addWidget(frame4);
    auto* layout = new QVBoxLayout(frame4);
    layout->setSpacing(Twips(180, this));

    // The short columns and the two compatibility lines, three to a row,
    // each value beneath its caption.
    constexpr int kCharacterFirst = 21;
    constexpr int kCharacterCount = 5;
    auto* shortGrid = new QGridLayout;
    shortGrid->setHorizontalSpacing(Twips(240, this));
    shortGrid->setVerticalSpacing(Twips(30, this));
    int slot = 0;
    for (int i = 0; i < core::kProfileFieldCount; ++i) {
        if (i >= kCharacterFirst && i < kCharacterFirst + kCharacterCount) continue;
        const auto index = static_cast<std::size_t>(i);
        const QString name = Latin(kProfileControlNames[index]);
        auto* caption = CaptionLabel(Latin(core::kProfileCaptions[index]), name + QStringLiteral("Caption"), frame4);
        auto* value = PlainLabel(QString(), name, frame4);
        value->setWordWrap(true);
        value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        profile_[index] = value;
        const int row = (slot / 3) * 2;
        const int col = slot % 3;
        if (row > 0) caption->setContentsMargins(0, Twips(90, this), 0, 0);
        shortGrid->addWidget(caption, row, col);
        shortGrid->addWidget(value, row + 1, col);
        shortGrid->setRowMinimumHeight(row + 1, fontMetrics().lineSpacing());
        ++slot;
    }
    for (int col = 0; col < 3; ++col) shortGrid->setColumnStretch(col, 1);
    layout->addLayout(shortGrid);

    // The five character texts side by side.
    auto* texts = new QGridLayout;
    texts->setHorizontalSpacing(Twips(120, this));
    texts->setVerticalSpacing(Twips(30, this));
    for (int k = 0; k < kCharacterCount; ++k) {
        const auto index = static_cast<std::size_t>(kCharacterFirst) + static_cast<std::size_t>(k);
        const QString name = Latin(kProfileControlNames[index]);
        auto* caption = CaptionLabel(Latin(core::kProfileCaptions[index]), name + QStringLiteral("Caption"), frame4);
        auto* box = new QPlainTextEdit(frame4);
        box->setObjectName(name);
        box->setReadOnly(true);
        // Low enough that a value above wrapping to a second line takes its
        // room from these boxes (which scroll) rather than being cut off.
        box->setMinimumHeight(Twips(1200, this));
        profile_[index] = box;
        texts->addWidget(caption, 0, k);
        texts->addWidget(box, 1, k);
        texts->setColumnStretch(k, 1);
    }
    layout->addLayout(texts, 1);
}

void ResultWindow::ClearSignBoxes() {
    for (QLabel* box : signBoxes_) box->clear();
}

void ResultWindow::ShowDetails(const core::BirthDetails& details) {
    const std::string* texts[] = {&details.Name,      &details.DateOfBirth, &details.TimeOfBirth, &details.Latitude,
                                  &details.Longitude, &details.City,        &details.State,       &details.Country};
    for (std::size_t i = 0; i < details_.size(); ++i) details_[i]->setText(DisplayText(*texts[i]));
}

void ResultWindow::ClearMarkers() {
    for (QLabel* marker : markers_) marker->clear();
}

void ResultWindow::ShowPositions(const std::array<astro::PositionText, kBodyCount>& positions) {
    planetsPage();
    for (std::size_t i = 0; i < positions_.size(); ++i) positions_[i]->setText(DisplayText(positions[i]));
}

void ResultWindow::ShowChart(const core::DisplayTexts& shown) {
    for (std::size_t k = 0; k < signBoxes_.size(); ++k) {
        signBoxes_[k]->setText(DisplayText(shown.SignBoxes[k]));
        markers_[k]->setText(DisplayText(shown.ArudhaMarkers[k]));
    }
}

void ResultWindow::ShowProfile(const core::DisplayTexts& shown) {
    if (!shown.ProfileShown) return;
    if (!profile_[0]) {
        pendingProfile_ = shown.Profile;  // written when the page is built
        return;
    }
    WriteProfile(shown.Profile);
}

void ResultWindow::WriteProfile(const std::array<std::string_view, core::kProfileFieldCount>& texts) {
    for (std::size_t i = 0; i < profile_.size(); ++i) {
        const QString text = DisplayText(texts[i]);
        if (auto* label = qobject_cast<QLabel*>(profile_[i])) {
            label->setText(text);
        } else if (auto* box = qobject_cast<QPlainTextEdit*>(profile_[i])) {
            box->setPlainText(text);
        }
    }
}

void ResultWindow::AppendReading(const core::TextRun& run) {
    planetsPage();
    QTextCursor cursor(readings_->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setFontWeight(run.Bold ? QFont::Bold : QFont::Normal);
    format.setForeground(QColor::fromRgb(static_cast<QRgb>(run.Color)));
    cursor.insertText(DisplayText(run.Text), format);
}

void ResultWindow::ShowResult(const core::BirthAnalysis& analysis) {
    const core::DisplayTexts& shown = analysis.Display;
    ClearSignBoxes();
    ShowDetails(shown.Details);
    // Short, to fit the details box: the whole sentence is the tool tip, as
    // in the report.
    const bool mismatch = !analysis.Birth.PlaceMismatch.empty() && analysis.Birth.Place;
    placeMismatch_->setText(
        mismatch ? QStringLiteral("Coordinates and zone: %1 (atlas)").arg(DisplayText(analysis.Birth.Place->Name))
                 : QString());
    placeMismatch_->setToolTip(DisplayText(analysis.Birth.PlaceMismatch));
    placeMismatch_->setVisible(mismatch);
    ClearMarkers();
    ShowChart(shown);
    // The positions and the profile now where their pages are built,
    // otherwise when they are.
    if (readings_) FillPlanetsPage(analysis);
    ShowProfile(shown);

    // The added tabs, from the same record.
    shown_ = analysis;
    RefillShownTabs(false);
}

void ResultWindow::FillPlanetsPage(const core::BirthAnalysis& analysis) {
    const core::DisplayTexts& shown = analysis.Display;
    ShowPositions(shown.Positions);
    engine_->setText(DisplayText(core::EngineDescription(analysis.Birth.Settings)));
    const auto& compared = analysis.Comparison;
    for (std::size_t i = 0; i < formulaPositions_.size(); ++i) {
        formulaPositions_[i]->setVisible(compared.has_value());
        differences_[i]->setVisible(compared.has_value());
        signDiffers_[i]->setVisible(compared && (*compared)[i].SignDiffers);
        if (!compared) continue;
        formulaPositions_[i]->setText(QStringLiteral("formula ") + DisplayText((*compared)[i].FormulaPosition));
        differences_[i]->setText(DisplayText(core::DifferenceText((*compared)[i].Difference)));
    }

    // The readings of this record alone, written in one edit so that the
    // text is laid out once.
    if (!readings_->document()->isEmpty()) readings_->clear();
    QTextCursor cursor(readings_->document());
    cursor.beginEditBlock();
    for (const core::TextRun& run : shown.Readings) {
        QTextCharFormat format;
        format.setFontWeight(run.Bold ? QFont::Bold : QFont::Normal);
        format.setForeground(QColor::fromRgb(static_cast<QRgb>(run.Color)));
        cursor.insertText(DisplayText(run.Text), format);
    }
    cursor.endEditBlock();
    readings_->moveCursor(QTextCursor::Start);

    // Formula mode: the mark beside a body the precise ephemeris places in
    // another sign ("sign differs", its tooltip says where).
    for (std::size_t i = 0; i < signDiffers_.size(); ++i) {
        signDiffers_[i]->setToolTip(QString());
        if (!analysis.Precise) continue;
        for (const core::PrecisePlacement& placement : analysis.Precise->Differing) {
            if (static_cast<std::size_t>(placement.Which) != i) continue;
            signDiffers_[i]->setVisible(true);
            signDiffers_[i]->setToolTip(DisplayText(core::PrecisePlacementText(placement)));
        }
    }
}

namespace {

// Controls built into a page already on show appear with it at once, not
// only at the next turn of the event loop.
void ShowBuiltPage(QWidget* page) {
    NameControlsForAccessibility(page);
    if (!page->isVisible()) return;
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow()) child->show();
}

}  // namespace

QWidget* ResultWindow::planetsPage() {
    if (readings_) return planetsPage_;
    BuildPlanetTab(planetsPage_);
    if (shown_) FillPlanetsPage(*shown_);
    ShowBuiltPage(planetsPage_);
    return planetsPage_;
}

QWidget* ResultWindow::profilePage() {
    if (profile_[0]) return profilePage_;
    BuildProfileTab(profilePage_);
    if (pendingProfile_) WriteProfile(*pendingProfile_);
    pendingProfile_.reset();
    ShowBuiltPage(profilePage_);
    return profilePage_;
}

void ResultWindow::BuildShownPage(int index) {
    QWidget* shown = tabs_->widget(index);
    if (shown && (shown == planetsPage_ || shown->isAncestorOf(planetsPage_))) {
        planetsPage();
    } else if (shown && (shown == profilePage_ || shown->isAncestorOf(profilePage_))) {
        profilePage();
    } else {
        FillAddedTab(index);
    }
}

ResultWindow::~ResultWindow() = default;

void ResultWindow::BuildViewMenu() {
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    view->menuAction()->setObjectName(QStringLiteral("mnuView"));
    auto* styles = new QActionGroup(view);
    styles->setExclusive(true);
    southStyle_ = view->addAction(QStringLiteral("&South Indian Chart"));
    southStyle_->setObjectName(QStringLiteral("mnuChartSouth"));
    northStyle_ = view->addAction(QStringLiteral("&North Indian Chart"));
    northStyle_->setObjectName(QStringLiteral("mnuChartNorth"));
    for (QAction* action : {southStyle_, northStyle_}) {
        action->setCheckable(true);
        styles->addAction(action);
    }
    southStyle_->setChecked(true);
    connect(southStyle_, &QAction::triggered, this, [this] { SetChartStyle(ChartStyle::SouthIndian); });
    connect(northStyle_, &QAction::triggered, this, [this] { SetChartStyle(ChartStyle::NorthIndian); });
}

void ResultWindow::SetSettings(SettingsStore* settings) {
    settings_ = settings ? settings : &ownSettings_;
    const std::optional<QString> remembered = settings_->Value(QString::fromLatin1(kChartStyleKey));
    const ChartStyle style = remembered && *remembered == QLatin1String(kChartStyleNorth) ? ChartStyle::NorthIndian
                                                                                          : ChartStyle::SouthIndian;
    // Applied without writing back what was just read.
    chartStyle_ = style;
    southStyle_->setChecked(style == ChartStyle::SouthIndian);
    northStyle_->setChecked(style == ChartStyle::NorthIndian);
    ApplyChartStyle();
    if (chartsTab_) chartsTab_->vargaChoice()->SetSettings(settings_);
}

void ResultWindow::SetClock(const Clock* clock) {
    clock_ = clock ? clock : &systemClock_;
    ShowTimeTabs();
}

void ResultWindow::SetChartStyle(ChartStyle chartStyle) {
    chartStyle_ = chartStyle;
    southStyle_->setChecked(chartStyle == ChartStyle::SouthIndian);
    northStyle_->setChecked(chartStyle == ChartStyle::NorthIndian);
    ApplyChartStyle();
    settings_->SetValue(
        QString::fromLatin1(kChartStyleKey),
        QString::fromLatin1(chartStyle == ChartStyle::NorthIndian ? kChartStyleNorth : kChartStyleSouth));
}

void ResultWindow::ShowTimeTabs() { RefillShownTabs(true); }

void ResultWindow::closeEvent(QCloseEvent* event) {
    emit shutDownRequested();
    event->accept();
}

}  // namespace velmora::ui
