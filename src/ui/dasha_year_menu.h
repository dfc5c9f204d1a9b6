#pragma once

#include <QObject>

#include "analysis/dasha_year.h"

class QActionGroup;
class QMenu;

namespace velmora::ui {

class SettingsStore;

// The Settings menu's "Dasha year": the days in a year of the Vimshottari and
// Yogini dashas (365.25 unless chosen), remembered in the settings store as
// the engine choice is.
class DashaYearMenu : public QObject {
    Q_OBJECT
public:
    // Adds the submenu to `settings`.
    DashaYearMenu(QMenu* settings, QObject* parent);

    analysis::DashaYear year() const { return year_; }
    void Choose(analysis::DashaYear year);
    // Where the choice is remembered; reading it applies the remembered one.
    void SetSettings(SettingsStore* settings);

private:
    void ShowChoice();

    QActionGroup* choices_ = nullptr;
    SettingsStore* settings_ = nullptr;
    analysis::DashaYear year_ = analysis::DashaYear::Julian;
};

// Where the choice is stored, as its days ("365.25").
inline constexpr char kDashaYearKey[] = "Dashas/Year";

}  // namespace velmora::ui
