#pragma once

#include <QObject>

class QAction;
class QMenu;

namespace velmora::ui {

class SettingsStore;

// Where the chara karaka scheme is remembered, and its two values.
inline constexpr const char* kKarakaSchemeKey = "Jaimini/KarakaScheme";

// The Settings menu's choice of the chara karaka scheme: "8 karakas" (the
// default, with the Pitrikaraka and Rahu) or "7 karakas". The choice is
// remembered in a settings store; anything else stored counts as 8.
class KarakaChoice : public QObject {
    Q_OBJECT
public:
    // Adds the "Chara karakas" submenu to the menu; the store may be null
    // until SetStore names one.
    KarakaChoice(QMenu* settings, SettingsStore* store, QObject* parent = nullptr);

    // Reads the scheme remembered there and shows it checked.
    void SetStore(SettingsStore* store);
    // Chooses a scheme (7 or 8) and remembers it.
    void Choose(int scheme);
    int Scheme() const { return scheme_; }

private:
    void ShowChoice();

    SettingsStore* store_ = nullptr;
    int scheme_ = 8;
    QAction* eight_ = nullptr;
    QAction* seven_ = nullptr;
};

}  // namespace velmora::ui
