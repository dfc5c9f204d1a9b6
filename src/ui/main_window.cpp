#include "ui/main_window.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "core/pipeline.h"
#include "core/place_match.h"
#include "core/place_lookup.h"
#include "core/text_formats.h"
#include "core/validation.h"
#include "core/zones.h"
#include "ui/dasha_year_menu.h"
#include "ui/karaka_choice.h"
#include "ui/links.h"
#include "ui/place_list_model.h"
#include "ui/platform.h"
#include "ui/result_window.h"
#include "ui/toolkit_tabs.h"
#include "ui/window_line_edit.h"
#include "report/qt_text.h"

namespace velmora {

namespace {

constexpr const char* kExplanation =
    "Arudha literally means \"mount\". This signifies the image of a sign falling on another sign. Arudha of the "
    "first house is known as Arudha Lagna. Arudha Lagna shows how one manifests oneself in this world of Maya "
    "(Illusion). This shows how you are perceived  by others.";

constexpr const char* kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};

QLabel* Caption(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

std::string Text(const QLineEdit* box) { return box->text().toStdString(); }

// Where the engine choices are remembered.
const QString kModeKey = QStringLiteral("Positions/Mode");
const QString kAyanamsaKey = QStringLiteral("Positions/Ayanamsa");
const QString kNodeKey = QStringLiteral("Positions/Node");

// "mnuAyanamsa_fagan_bradley" for the key "fagan-bradley".
QString AyanamsaActionName(astro::Ayanamsa ayanamsa) {
    return QStringLiteral("mnuAyanamsa_") +
           report::ToQString(astro::AyanamsaKey(ayanamsa)).replace(QLatin1Char('-'), QLatin1Char('_'));
}

// The row of the zone list whose offset comes nearest an exact one, the
// first of equals.
int NearestZoneRow(int utcOffsetMinutes) {
    int best = core::kDefaultZoneRow;
    int bestGap = 24 * 60;
    for (int row = 0; row < core::kZoneCount; ++row) {
        const core::ZoneRow& zone = core::ZoneTable()[static_cast<std::size_t>(row)];
        const int east = -(zone.OffsetHours * 60 + zone.OffsetMinutes);  // the table counts hours west
        const int gap = east > utcOffsetMinutes ? east - utcOffsetMinutes : utcOffsetMinutes - east;
        if (gap < bestGap) {
            best = row;
            bestGap = gap;
        }
    }
    return best;
}

}  // namespace

MainWindow::MainWindow(ui::MessageService& messages, ui::Links& links, QWidget* parent)
    : QMainWindow(parent),
      messages_(messages),
      links_(links),
      ownSettings_(std::make_unique<ui::MemorySettingsStore>()),
      settingsStore_(ownSettings_.get()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(ui::WindowCaption());
    setFont(ui::ProgramFont());
    BuildMenus();
    QWidget* form = BuildForm();
    FillLists();
    SetTabOrder();
    SetUpPlaceCompletion();
    ShowEngineChoices();
    SetUpAccessibility();
    TrackChanges();
    // The form scrolls where the screen is too small for it (a scroll area
    // costs layout passes over the wrapped texts, so only then); the window
    // opens at its full size where the screen has room, and KeepInsideScreen
    // shrinks it where it has not.
    const QSize wanted = form->sizeHint() + QSize(0, menuBar()->sizeHint().height());
    setCentralWidget(ui::FitsScreen(this, wanted) ? form : ui::Scrolling(form));
    resize(sizeHint());
    ui::KeepInsideScreen(this);
    ui::EnableEnterOnButtons();
    nameBox_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::SetUpAccessibility() {
    // Captions that label a box are its buddy; the lists beside the first
    // list of a row have no caption of their own, so they are named here.
    const std::pair<const char*, QWidget*> buddies[] = {{"lblNameCaption", nameBox_},
                                                        {"lblDateCaption", monthList_},
                                                        {"lblTimeCaption", hourList_},
                                                        {"lblCityCaption", cityBox_},
                                                        {"lblStateCaption", stateBox_},
                                                        {"lblCountryCaption", countryBox_},
                                                        {"txtLatDCaption", latitudeDegreesBox_},
                                                        {"txtLatMCaption", latitudeMinutesBox_},
                                                        {"txtLonDCaption", longitudeDegreesBox_},
                                                        {"txtLonMCaption", longitudeMinutesBox_}};
    for (const auto& [caption, box] : buddies) {
        if (auto* label = findChild<QLabel*>(QString::fromLatin1(caption))) label->setBuddy(box);
    }
    monthList_->setAccessibleName(QStringLiteral("Month of birth"));
    dayList_->setAccessibleName(QStringLiteral("Day of birth"));
    yearList_->setAccessibleName(QStringLiteral("Year of birth"));
    hourList_->setAccessibleName(QStringLiteral("Hour of birth"));
    minuteList_->setAccessibleName(QStringLiteral("Minute of birth"));
    secondList_->setAccessibleName(QStringLiteral("Second of birth"));
    zoneList_->setAccessibleName(QStringLiteral("Time zone"));
    ui::NameControlsForAccessibility(this);
}

MainWindow::~MainWindow() { delete result_.data(); }

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->menuAction()->setObjectName(QStringLiteral("mnuFile"));
    QAction* next = file->addAction(QStringLiteral("Analyze My Arudha Lagna"));
    next->setObjectName(QStringLiteral("mnuNext"));
    connect(next, &QAction::triggered, this, &MainWindow::Analyze);
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    connect(exit, &QAction::triggered, this, &MainWindow::close);
    BuildFileCommands(file, next);
    BuildLibraryCommands(file, next);

    QMenu* settings = bar->addMenu(QStringLiteral("&Settings"));
    settings->setObjectName(QStringLiteral("mnuSettings"));
    settings->menuAction()->setObjectName(QStringLiteral("mnuSettings"));
    BuildSettingsMenu(settings);

    QAction* about = ui::AddLinkMenus(bar, links_, {"mnuHelp1", "mnuHelp2", "mkmoney"});
    connect(about, &QAction::triggered, this, [this] { emit aboutRequested(this); });
}

void MainWindow::BuildSettingsMenu(QMenu* settings) {
    QMenu* positions = settings->addMenu(QStringLiteral("&Positions"));
    positions->setObjectName(QStringLiteral("mnuPositions"));
    positions->menuAction()->setObjectName(QStringLiteral("mnuPositions"));

    auto choice = [&](QActionGroup* group, const QString& text, const QString& name, const QString& key) {
        QAction* action = positions->addAction(text);
        action->setObjectName(name);
        action->setCheckable(true);
        action->setData(key);
        group->addAction(action);
        return action;
    };
    modeChoices_ = new QActionGroup(this);
    choice(modeChoices_, QStringLiteral("&Formulas"), QStringLiteral("mnuFormulas"),
           report::ToQString(core::EphemerisModeKey(core::EphemerisMode::Formulas)));
    choice(modeChoices_, QStringLiteral("P&recise (Swiss Ephemeris)"), QStringLiteral("mnuPrecise"),
           report::ToQString(core::EphemerisModeKey(core::EphemerisMode::Precise)));

    positions->addSection(QStringLiteral("Ayanamsa"));
    ayanamsaChoices_ = new QActionGroup(this);
    for (astro::Ayanamsa ayanamsa : astro::kAllAyanamsas)
        choice(ayanamsaChoices_, report::ToQString(astro::AyanamsaDisplayName(ayanamsa)), AyanamsaActionName(ayanamsa),
               report::ToQString(astro::AyanamsaKey(ayanamsa)));

    positions->addSection(QStringLiteral("Lunar node"));
    nodeChoices_ = new QActionGroup(this);
    choice(nodeChoices_, QStringLiteral("&Mean node"), QStringLiteral("mnuNodeMean"),
           report::ToQString(astro::NodeKindKey(astro::NodeKind::Mean)));
    choice(nodeChoices_, QStringLiteral("&True node"), QStringLiteral("mnuNodeTrue"),
           report::ToQString(astro::NodeKindKey(astro::NodeKind::True)));

    for (QActionGroup* group : {modeChoices_, ayanamsaChoices_, nodeChoices_}) {
        connect(group, &QActionGroup::triggered, this, [this] {
            core::EngineSettings chosen;
            const auto key = [](QActionGroup* g) { return g->checkedAction()->data().toString().toStdString(); };
            chosen.Mode = core::ParseEphemerisMode(key(modeChoices_)).value_or(core::EphemerisMode::Formulas);
            chosen.Ayanamsa = astro::ParseAyanamsa(key(ayanamsaChoices_)).value_or(astro::Ayanamsa::Lahiri);
            chosen.Node = astro::ParseNodeKind(key(nodeChoices_)).value_or(astro::NodeKind::Mean);
            ChooseEngine(chosen);
        });
    }
    dashaYear_ = new ui::DashaYearMenu(settings, this);
    dashaYear_->SetSettings(settingsStore_);
    karakas_ = new ui::KarakaChoice(settings, settingsStore_, this);
}

void MainWindow::SetSettings(ui::SettingsStore* store) {
    settingsStore_ = store ? store : ownSettings_.get();
    const auto stored = [this](const QString& key) {
        return settingsStore_->Value(key).value_or(QString()).toStdString();
    };
    core::EngineSettings remembered;
    remembered.Mode = core::ParseEphemerisMode(stored(kModeKey)).value_or(core::EphemerisMode::Formulas);
    remembered.Ayanamsa = astro::ParseAyanamsa(stored(kAyanamsaKey)).value_or(astro::Ayanamsa::Lahiri);
    remembered.Node = astro::ParseNodeKind(stored(kNodeKey)).value_or(astro::NodeKind::Mean);
    settings_ = remembered;
    ShowEngineChoices();
    ShowRecentFiles();
    dashaYear_->SetSettings(settingsStore_);
    karakas_->SetStore(settingsStore_);
}

void MainWindow::ChooseEngine(const core::EngineSettings& settings) {
    settings_ = settings;
    settingsStore_->SetValue(kModeKey, report::ToQString(core::EphemerisModeKey(settings.Mode)));
    settingsStore_->SetValue(kAyanamsaKey, report::ToQString(astro::AyanamsaKey(settings.Ayanamsa)));
    settingsStore_->SetValue(kNodeKey, report::ToQString(astro::NodeKindKey(settings.Node)));
    ShowEngineChoices();
}

void MainWindow::ShowEngineChoices() {
    const auto check = [](QActionGroup* group, std::string_view key) {
        for (QAction* action : group->actions())
            action->setChecked(action->data().toString() == report::ToQString(key));
    };
    check(modeChoices_, core::EphemerisModeKey(settings_.Mode));
    check(ayanamsaChoices_, astro::AyanamsaKey(settings_.Ayanamsa));
    check(nodeChoices_, astro::NodeKindKey(settings_.Node));
    // The formulas have their own correction and node.
    const bool precise = settings_.Mode == core::EphemerisMode::Precise;
    ayanamsaChoices_->setEnabled(precise);
    nodeChoices_->setEnabled(precise);
}

QWidget* MainWindow::BuildForm() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmMainClient"));
    central->setAutoFillBackground(true);
    QPalette olive = central->palette();
    olive.setColor(QPalette::Window, ui::OliveColour());
    olive.setColor(QPalette::WindowText, Qt::white);
    central->setPalette(olive);

    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(ui::MakeBanner(links_, central));

    auto* body = new QHBoxLayout;
    body->setContentsMargins(14, 12, 14, 8);
    body->setSpacing(22);
    outer->addLayout(body, 1);

    // Left column: name, date, time, zone, coordinates.
    auto* left = new QGridLayout;
    left->setHorizontalSpacing(8);
    left->setVerticalSpacing(8);
    body->addLayout(left, 0);

    nameBox_ = Named(new ui::FilteredLineEdit(ui::FilteredLineEdit::Filter::Name, messages_, central), "txtName");
    left->addWidget(Caption(QStringLiteral("Name"), "lblNameCaption", central), 0, 0);
    left->addWidget(nameBox_, 0, 1, 1, 4);

    monthList_ = Named(new QComboBox(central), "cboMonth");
    dayList_ = Named(new QComboBox(central), "cboDate");
    yearList_ = Named(new QComboBox(central), "cboYear");
    left->addWidget(Caption(QStringLiteral("Date of Birth"), "lblDateCaption", central), 1, 0);
    left->addWidget(monthList_, 1, 1, 1, 2);
    left->addWidget(dayList_, 1, 3);
    left->addWidget(yearList_, 1, 4);

    hourList_ = Named(new QComboBox(central), "cboHH");
    minuteList_ = Named(new QComboBox(central), "cboMM");
    secondList_ = Named(new QComboBox(central), "cboSS");
    left->addWidget(Caption(QStringLiteral("Time of Birth"), "lblTimeCaption", central), 2, 0);
    left->addWidget(hourList_, 2, 1);
    left->addWidget(minuteList_, 2, 2);
    left->addWidget(secondList_, 2, 3);
    left->addWidget(Caption(QStringLiteral("HH:MM:SS"), "lblTimeHint", central), 2, 4);

    auto* zone = Named(new QGroupBox(QStringLiteral("Zone"), central), "fraZone");
    auto* zoneLayout = new QVBoxLayout(zone);
    daylightSavingBox_ = Named(new QCheckBox(QStringLiteral("Daylight Saving Time"), zone), "chkDST");
    zoneList_ = Named(new QComboBox(zone), "cmbTimeZone");
    zoneLayout->addWidget(daylightSavingBox_);
    zoneLayout->addWidget(zoneList_);
    left->addWidget(zone, 3, 0, 1, 5);

    const int digitWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 14;
    auto coordinateFrame = [&](const QString& title, const char* frameName, ui::FilteredLineEdit*& degrees,
                               const char* degreesName, int degreesLength, ui::FilteredLineEdit*& minutes,
                               const char* minutesName, QRadioButton*& first, QRadioButton*& second,
                               const char* firstName, const QString& firstText, const char* secondName,
                               const QString& secondText) {
        auto* frame = Named(new QGroupBox(title, central), frameName);
        auto* grid = new QGridLayout(frame);
        grid->setHorizontalSpacing(6);
        degrees = Named(new ui::FilteredLineEdit(ui::FilteredLineEdit::Filter::Digits, messages_, frame), degreesName);
        degrees->setMaxLength(degreesLength);
        degrees->setFixedWidth(digitWidth);
        minutes = Named(new ui::FilteredLineEdit(ui::FilteredLineEdit::Filter::Digits, messages_, frame), minutesName);
        minutes->setMaxLength(2);
        minutes->setFixedWidth(digitWidth);
        grid->addWidget(degrees, 0, 0);
        grid->addWidget(Caption(QStringLiteral("Deg"), (std::string(degreesName) + "Caption").c_str(), frame), 0, 1);
        grid->addWidget(minutes, 0, 2);
        grid->addWidget(Caption(QStringLiteral("Min"), (std::string(minutesName) + "Caption").c_str(), frame), 0, 3);
        first = Named(new QRadioButton(firstText, frame), firstName);
        second = Named(new QRadioButton(secondText, frame), secondName);
        auto* group = new QButtonGroup(frame);
        group->addButton(first, 0);
        group->addButton(second, 1);
        first->setChecked(true);
        grid->addWidget(first, 1, 0, 1, 2);
        grid->addWidget(second, 1, 2, 1, 2);
        return frame;
    };
    auto* coordinates = new QHBoxLayout;
    coordinates->setSpacing(10);
    coordinates->addWidget(coordinateFrame(QStringLiteral("Latitude"), "fraLatitude", latitudeDegreesBox_, "txtLatD", 2,
                                           latitudeMinutesBox_, "txtLatM", northButton_, southButton_, "optLat_0",
                                           QStringLiteral("North"), "optLat_1", QStringLiteral("South")));
    coordinates->addWidget(coordinateFrame(QStringLiteral("Longitude"), "fraLongitude", longitudeDegreesBox_, "txtLonD",
                                           3, longitudeMinutesBox_, "txtLonM", eastButton_, westButton_, "optLong_0",
                                           QStringLiteral("East"), "optLong_1", QStringLiteral("West")));
    left->addLayout(coordinates, 4, 0, 1, 5);
    left->setRowStretch(5, 1);

    // Right column: the explanation, the place and the commands.
    auto* right = new QVBoxLayout;
    right->setSpacing(12);
    body->addLayout(right, 1);

    auto* explanation = Caption(QString::fromLatin1(kExplanation), "lblExplanation", central);
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    explanation->setMinimumWidth(ui::Twips(4200, this));
    right->addWidget(explanation);

    auto* place = new QGridLayout;
    place->setHorizontalSpacing(8);
    place->setVerticalSpacing(8);
    cityBox_ = Named(new QLineEdit(central), "txtMCity");
    stateBox_ = Named(new QLineEdit(central), "txtMState");
    countryBox_ = Named(new QLineEdit(central), "txtMCountry");
    place->addWidget(Caption(QStringLiteral("City"), "lblCityCaption", central), 0, 0);
    place->addWidget(cityBox_, 0, 1);
    place->addWidget(Caption(QStringLiteral("State"), "lblStateCaption", central), 1, 0);
    place->addWidget(stateBox_, 1, 1);
    place->addWidget(Caption(QStringLiteral("Country"), "lblCountryCaption", central), 2, 0);
    place->addWidget(countryBox_, 2, 1);
    lookUpButton_ = Named(new QPushButton(QStringLiteral("Click for Latitude && Longitude"), central), "cmdBrowser");
    lookUpButton_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    place->addWidget(lookUpButton_, 0, 2, 3, 1);
    // What choosing an atlas place did to the zone, one line.
    placeNote_ = Caption(QString(), "lblPlaceNote", central);
    placeNote_->setWordWrap(true);
    QFont noteFont = placeNote_->font();
    noteFont.setPointSizeF(noteFont.pointSizeF() * 0.9);
    placeNote_->setFont(noteFont);
    place->addWidget(placeNote_, 3, 0, 1, 3);
    place->setColumnStretch(1, 1);
    right->addLayout(place);
    connect(lookUpButton_, &QPushButton::clicked, this, &MainWindow::LookUpCoordinates);

    analyzeButton_ = Named(new QPushButton(QStringLiteral("Analyze My Arudha Lagna"), central), "cmdRashi");
    QFont strong = analyzeButton_->font();
    strong.setBold(true);
    analyzeButton_->setFont(strong);
    analyzeButton_->setMinimumHeight(ui::Twips(540, this));
    right->addStretch(1);
    right->addWidget(analyzeButton_);
    connect(analyzeButton_, &QPushButton::clicked, this, &MainWindow::Analyze);

    // The promotional strip along the bottom.
    auto* strip = Named(new QFrame(central), "fraPromotion");
    strip->setFrameShape(QFrame::NoFrame);
    strip->setAutoFillBackground(true);
    QPalette stripPalette = olive;
    stripPalette.setColor(QPalette::Window, ui::OliveColour());
    stripPalette.setColor(QPalette::WindowText, Qt::white);
    strip->setPalette(stripPalette);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(14, 6, 14, 6);
    promotion_ = new ui::PromotionStrip(links_, PromotionLabel::CoBrand, strip);
    promotion_->setMinimumHeight(fontMetrics().lineSpacing() * 2 + 4);
    stripLayout->addWidget(promotion_);
    outer->addWidget(strip);
    return central;
}

void MainWindow::FillLists() {
    for (const char* month : kMonthNames) monthList_->addItem(QString::fromLatin1(month));
    for (const core::ZoneRow& row : core::ZoneTable()) zoneList_->addItem(report::ToQString(row.Text));
    for (int n = 1; n <= 31; ++n) dayList_->addItem(QString::number(n));
    for (int n = 1901; n <= 2050; ++n) yearList_->addItem(QString::number(n));
    for (int n = 0; n <= 23; ++n) hourList_->addItem(QString::number(n));
    for (int n = 0; n <= 59; ++n) minuteList_->addItem(QString::number(n));
    for (int n = 0; n <= 59; ++n) secondList_->addItem(QString::number(n));
    for (QComboBox* list : {monthList_, dayList_, yearList_, hourList_, minuteList_, secondList_})
        list->setCurrentIndex(0);
    zoneList_->setCurrentIndex(core::kDefaultZoneRow);
}

void MainWindow::SetTabOrder() {
    const QList<QWidget*> order{nameBox_,
                                monthList_,
                                dayList_,
                                yearList_,
                                hourList_,
                                minuteList_,
                                secondList_,
                                daylightSavingBox_,
                                longitudeMinutesBox_,
                                eastButton_,
                                westButton_,
                                latitudeDegreesBox_,
                                latitudeMinutesBox_,
                                northButton_,
                                southButton_,
                                cityBox_,
                                stateBox_,
                                countryBox_,
                                lookUpButton_,
                                longitudeDegreesBox_,
                                zoneList_,
                                analyzeButton_};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void MainWindow::BringPromotionLabelToFront(PromotionLabel label) { promotion_->BringToFront(label); }

core::FormInput MainWindow::CurrentForm() const {
    core::FormInput form;
    form.Name = Text(nameBox_);
    form.MonthIndex = monthList_->currentIndex();
    form.Day = dayList_->currentText().toStdString();
    form.Year = yearList_->currentText().toStdString();
    form.Hour = hourList_->currentText().toStdString();
    form.Minute = minuteList_->currentText().toStdString();
    form.Second = secondList_->currentText().toStdString();
    form.ZoneRow = zoneList_->currentIndex();
    form.DaylightSaving = daylightSavingBox_->isChecked();
    form.LatitudeDegrees = Text(latitudeDegreesBox_);
    form.LatitudeMinutes = Text(latitudeMinutesBox_);
    form.South = southButton_->isChecked();
    form.LongitudeDegrees = Text(longitudeDegreesBox_);
    form.LongitudeMinutes = Text(longitudeMinutesBox_);
    form.East = eastButton_->isChecked();
    form.City = Text(cityBox_);
    form.State = Text(stateBox_);
    form.Country = Text(countryBox_);
    if (form.ZoneRow >= core::kZoneCount) {
        // The extra entry for an offset no row expresses.
        form.ZoneRow = zoneRowBehindExactOffset_;
        form.ExactUtcOffsetMinutes = exactUtcOffset_;
    }
    form.Place = place_;
    return form;
}

void MainWindow::SetUpPlaceCompletion() {
    places_ = new ui::PlaceListModel(this);
    completer_ = new QCompleter(places_, this);
    completer_->setObjectName(QStringLiteral("cmpCity"));
    // The atlas has matched already (accents, states, countries): show its
    // list as it is.
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setMaxVisibleItems(10);
    completer_->setWidget(cityBox_);
    completer_->popup()->setObjectName(QStringLiteral("lstCityCompletions"));

    // Only typing asks the atlas, so it is read on the first keystroke, not
    // when the window opens.
    connect(cityBox_, &QLineEdit::textEdited, this, &MainWindow::CompletePlace);
    connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this, [this](const QModelIndex& index) {
        const auto* proxy = qobject_cast<const QAbstractProxyModel*>(index.model());
        const QModelIndex source = proxy ? proxy->mapToSource(index) : index;
        if (!source.isValid() || source.row() >= places_->rowCount()) return;
        const core::Place chosen = places_->PlaceAt(source.row());
        ChoosePlace(chosen);
    });

    // A new date or time: the chosen place's clock may differ.
    for (QComboBox* list : {monthList_, dayList_, yearList_, hourList_, minuteList_})
        connect(list, &QComboBox::currentIndexChanged, this, &MainWindow::ReevaluatePlaceZone);
    // Coordinates or zone changed by hand: the place no longer speaks for them.
    for (QLineEdit* box : {latitudeDegreesBox_, latitudeMinutesBox_, longitudeDegreesBox_, longitudeMinutesBox_})
        connect(box, &QLineEdit::textEdited, this, &MainWindow::DropPlace);
    for (QRadioButton* option : {northButton_, southButton_, eastButton_, westButton_})
        connect(option, &QRadioButton::clicked, this, &MainWindow::DropPlace);
    connect(daylightSavingBox_, &QCheckBox::clicked, this, &MainWindow::DropPlace);
    connect(zoneList_, &QComboBox::activated, this, [this](int row) {
        if (row < core::kZoneCount) DropPlace();
    });
}

void MainWindow::CompletePlace(const QString& text) {
    if (text.trimmed().isEmpty()) {
        places_->SetPlaces({});
        completer_->popup()->hide();
        return;
    }
    const bool firstUse = !core::Atlas::IsLoaded();
    if (firstUse) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<core::PlaceMatch> found = core::SearchPlaces(OpenedLibrary(false), text.toStdString(), 10);
    if (firstUse) QGuiApplication::restoreOverrideCursor();
    places_->SetMatches(std::move(found));
    if (places_->rowCount() == 0) {
        completer_->popup()->hide();
        return;
    }
    completer_->setCompletionPrefix(text);
    // Wide enough for "City, State, Country" in full, under the box.
    QAbstractItemView* popup = completer_->popup();
    QRect under = cityBox_->rect();
    const int wanted =
        popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width() + 2 * popup->frameWidth() + 8;
    under.setWidth(std::max(under.width(), wanted));
    completer_->complete(under);
}

void MainWindow::ChoosePlace(const core::Place& place) {
    core::FormInput form = CurrentForm();
    const core::PlaceZoneOutcome outcome = ApplyPlace(form, place);
    WritePlaceToForm(form, outcome);
}

void MainWindow::ShowCoordinates(const core::FormInput& form) {
    latitudeDegreesBox_->setText(report::ToQString(form.LatitudeDegrees));
    latitudeMinutesBox_->setText(report::ToQString(form.LatitudeMinutes));
    (form.South ? southButton_ : northButton_)->setChecked(true);
    longitudeDegreesBox_->setText(report::ToQString(form.LongitudeDegrees));
    longitudeMinutesBox_->setText(report::ToQString(form.LongitudeMinutes));
    (form.East ? eastButton_ : westButton_)->setChecked(true);
}

void MainWindow::WritePlaceToForm(const core::FormInput& form, const core::PlaceZoneOutcome& outcome) {
    // Written straight into the boxes: their keystroke filters see nothing
    // of it, and the signals that mean "changed by hand" stay quiet.
    cityBox_->setText(report::ToQString(form.City));
    stateBox_->setText(report::ToQString(form.State));
    countryBox_->setText(report::ToQString(form.Country));
    for (QLineEdit* box : {cityBox_, stateBox_, countryBox_})
        box->setCursorPosition(0);  // show the start of long names
    ShowCoordinates(form);
    place_ = form.Place;
    if (outcome.Refusal) {
        // The zone stays as it was; an exact offset of an earlier place
        // does not belong to this one.
        exactUtcOffset_.reset();
        RemoveExactOffsetEntry();
    } else {
        WriteZoneToForm(form);
    }
    ShowPlaceNote(outcome);
}

void MainWindow::WriteZoneToForm(const core::FormInput& form) {
    exactUtcOffset_ = form.ExactUtcOffsetMinutes;
    if (exactUtcOffset_) {
        if (form.ZoneRow >= 0 && form.ZoneRow < core::kZoneCount) zoneRowBehindExactOffset_ = form.ZoneRow;
        const QString entry = report::ToQString(core::ExactOffsetEntryText(form.Place, form.ExactUtcOffsetMinutes));
        if (zoneList_->count() > core::kZoneCount) {
            zoneList_->setItemText(core::kZoneCount, entry);
        } else {
            zoneList_->addItem(entry);
        }
        zoneList_->setCurrentIndex(core::kZoneCount);
    } else {
        zoneList_->setCurrentIndex(form.ZoneRow);
        RemoveExactOffsetEntry();
    }
    daylightSavingBox_->setChecked(form.DaylightSaving);
}

void MainWindow::ShowPlaceNote(const core::PlaceZoneOutcome& outcome) {
    const bool refused = outcome.Refusal.has_value();
    QString note = report::ToQString(refused ? outcome.Refusal->Text : outcome.Note);
    // A city typed over the chosen place's name: the place still speaks for
    // the coordinates and zone, and the note says so, as the result does.
    const std::string mismatch = refused ? std::string() : core::PlaceMismatchNote(Text(cityBox_), place_);
    if (!mismatch.empty()) note += QLatin1Char(' ') + report::ToQString(mismatch);
    placeNote_->setText(note);
    QPalette palette = placeNote_->palette();
    palette.setColor(QPalette::WindowText, refused || !mismatch.empty() ? QColor(255, 204, 112) : QColor(Qt::white));
    placeNote_->setPalette(palette);
}

void MainWindow::ReevaluatePlaceZone() {
    if (!place_) return;
    core::FormInput form = CurrentForm();
    const core::PlaceZoneOutcome outcome = ApplyPlaceZone(form);
    if (!outcome.Refusal) WriteZoneToForm(form);
    ShowPlaceNote(outcome);
}

void MainWindow::DropPlace() {
    if (!place_ && zoneList_->count() == core::kZoneCount) return;
    place_.reset();
    const bool exactShown = zoneList_->currentIndex() >= core::kZoneCount;
    const std::optional<int> exact = exactUtcOffset_;
    exactUtcOffset_.reset();
    if (exactShown && exact) {
        // No row has the place's offset: the nearest one stands in until
        // the user picks another.
        const int nearest = NearestZoneRow(*exact);
        zoneList_->setCurrentIndex(nearest);
        placeNote_->setText(QStringLiteral("No zone row has UTC%1; the nearest one is selected.")
                                .arg(report::ToQString(core::OffsetText(*exact))));
    } else {
        placeNote_->clear();
    }
    RemoveExactOffsetEntry();
}

void MainWindow::RemoveExactOffsetEntry() {
    if (zoneList_->count() <= core::kZoneCount) return;
    if (zoneList_->currentIndex() >= core::kZoneCount) zoneList_->setCurrentIndex(zoneRowBehindExactOffset_);
    while (zoneList_->count() > core::kZoneCount) zoneList_->removeItem(core::kZoneCount);
}

QWidget* MainWindow::FieldWidget(core::FormField field) const {
    switch (field) {
        case core::FormField::Name:
            return nameBox_;
        case core::FormField::LatitudeDegrees:
            return latitudeDegreesBox_;
        case core::FormField::LatitudeMinutes:
            return latitudeMinutesBox_;
        case core::FormField::LongitudeDegrees:
            return longitudeDegreesBox_;
        case core::FormField::LongitudeMinutes:
            return longitudeMinutesBox_;
        case core::FormField::City:
            return cityBox_;
        case core::FormField::State:
            return stateBox_;
        case core::FormField::Country:
            return countryBox_;
        case core::FormField::None:
            break;
    }
    return nullptr;
}

void MainWindow::Reject(const core::Notice& notice) {
    messages_.ShowNotice(this, QString::fromStdString(notice.Text), notice.Icon);
    if (QWidget* box = FieldWidget(notice.Focus)) box->setFocus(Qt::OtherFocusReason);
}

void MainWindow::Analyze() {
    const core::FormInput form = CurrentForm();
    // The whole analysis, with the birth-time band and the sky of now.
    core::AnalysisOptions options;
    options.Settings = settings_;
    options.ScanBirthTime = true;
    options.TransitsAt = ui::UniversalMinuteOf(clock_->Now());
    options.CheckAgainstPrecise = true;
    options.DashaYear = dashaYear_->year();
    options.KarakaScheme = karakas_->Scheme();
    const core::AnalysisOutcome outcome = RunAnalysis(form, options);
    if (outcome.Rejected) {
        Reject(*outcome.Rejected);
        return;
    }

    // A fresh window for every analysis, so nothing of an earlier chart
    // can survive in it.
    if (result_) {
        result_->hide();
        result_->deleteLater();
    }
    auto* window = new ui::ResultWindow(links_);
    window->SetSettings(settingsStore_);
    window->SetClock(clock_);
    window->SetFileDialogs(dialogs_);
    window->SetMessages(&messages_);
    result_ = window;
    connect(window, &ui::ResultWindow::backRequested, this, &MainWindow::ReturnFromResult);
    connect(window, &ui::ResultWindow::shutDownRequested, this, &MainWindow::RequestShutDown);
    connect(window, &ui::ResultWindow::aboutRequested, this, &MainWindow::aboutRequested);
    window->ShowResult(outcome.Result);
    window->move(pos());
    hide();
    window->show();
}

void MainWindow::LookUpCoordinates() {
    const core::FormInput form = CurrentForm();
    if (const std::optional<core::Notice> failed = core::ValidateLookup(form)) {
        Reject(*failed);
        return;
    }
    links_.OpenCoordinateSearch(QString::fromStdString(core::LookupSearchText(form)));
}

void MainWindow::ReturnFromResult() {
    show();
    if (result_) {
        result_->hide();
        result_->deleteLater();
        result_ = nullptr;
    }
}

void MainWindow::RequestShutDown() {
    if (shuttingDown_) return;
    if (!ConfirmDropEdits()) {
        // Kept: back to the form (from a result window that is closing).
        if (result_ && !isVisible()) ReturnFromResult();
        return;
    }
    shuttingDown_ = true;
    emit shutDownRequested();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    RequestShutDown();
    if (shuttingDown_) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace velmora
