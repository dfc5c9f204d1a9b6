#include "ui/karaka_choice.h"

#include <QActionGroup>
#include <QMenu>

#include "ui/platform.h"

namespace velmora::ui {

KarakaChoice::KarakaChoice(QMenu* settings, SettingsStore* store, QObject* parent) : QObject(parent) {
    QMenu* menu = settings->addMenu(QStringLiteral("Chara &karakas"));
    menu->setObjectName(QStringLiteral("mnuKarakas"));
    menu->menuAction()->setObjectName(QStringLiteral("mnuKarakas"));
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    eight_ = menu->addAction(QStringLiteral("&8 karakas (with the Pitrikaraka)"));
    eight_->setObjectName(QStringLiteral("mnuKarakas8"));
    seven_ = menu->addAction(QStringLiteral("&7 karakas (no Pitrikaraka)"));
    seven_->setObjectName(QStringLiteral("mnuKarakas7"));
    for (QAction* action : {eight_, seven_}) {
        action->setCheckable(true);
        group->addAction(action);
    }
    connect(eight_, &QAction::triggered, this, [this] { Choose(8); });
    connect(seven_, &QAction::triggered, this, [this] { Choose(7); });
    SetStore(store);
}

void KarakaChoice::SetStore(SettingsStore* store) {
    store_ = store;
    const std::optional<QString> remembered =
        store_ ? store_->Value(QString::fromLatin1(kKarakaSchemeKey)) : std::nullopt;
    scheme_ = remembered && *remembered == QLatin1String("7") ? 7 : 8;
    ShowChoice();
}

void KarakaChoice::Choose(int scheme) {
    scheme_ = scheme == 7 ? 7 : 8;
    if (store_) store_->SetValue(QString::fromLatin1(kKarakaSchemeKey), QString::number(scheme_));
    ShowChoice();
}

void KarakaChoice::ShowChoice() {
    eight_->setChecked(scheme_ == 8);
    seven_->setChecked(scheme_ == 7);
}

}  // namespace velmora::ui
