#include "ui/dasha_year_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "ui/platform.h"

namespace velmora::ui {

namespace {

QString KeyOf(analysis::DashaYear year) {
    const std::string_view key = analysis::DashaYearKey(year);
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

constexpr std::array<const char*, 4> kCaptions{"365.25 days (&Julian)", "365.2422 days (&tropical)",
                                               "365.25636 days (&sidereal)", "360 days (sa&vana)"};

}  // namespace

DashaYearMenu::DashaYearMenu(QMenu* settings, QObject* parent) : QObject(parent) {
    QMenu* menu = settings->addMenu(QStringLiteral("&Dasha year"));
    menu->setObjectName(QStringLiteral("mnuDashaYear"));
    menu->menuAction()->setObjectName(QStringLiteral("mnuDashaYear"));
    choices_ = new QActionGroup(this);
    for (analysis::DashaYear year : analysis::kAllDashaYears) {
        QAction* action = menu->addAction(QString::fromLatin1(kCaptions[static_cast<std::size_t>(year)]));
        // "mnuDashaYear_365_25"
        action->setObjectName(QStringLiteral("mnuDashaYear_") +
                              KeyOf(year).replace(QLatin1Char('.'), QLatin1Char('_')));
        action->setCheckable(true);
        action->setData(KeyOf(year));
        choices_->addAction(action);
    }
    connect(choices_, &QActionGroup::triggered, this, [this](QAction* action) {
        Choose(analysis::ParseDashaYear(action->data().toString().toStdString()).value_or(analysis::DashaYear::Julian));
    });
    ShowChoice();
}

void DashaYearMenu::Choose(analysis::DashaYear year) {
    year_ = year;
    if (settings_) settings_->SetValue(QString::fromLatin1(kDashaYearKey), KeyOf(year));
    ShowChoice();
}

void DashaYearMenu::SetSettings(SettingsStore* settings) {
    settings_ = settings;
    const std::optional<QString> stored = settings ? settings->Value(QString::fromLatin1(kDashaYearKey)) : std::nullopt;
    year_ = analysis::ParseDashaYear(stored.value_or(QString()).toStdString()).value_or(analysis::DashaYear::Julian);
    ShowChoice();
}

void DashaYearMenu::ShowChoice() {
    for (QAction* action : choices_->actions()) action->setChecked(action->data().toString() == KeyOf(year_));
}

}  // namespace velmora::ui
