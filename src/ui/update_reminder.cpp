#include "ui/update_reminder.h"

#include <QSettings>
#include <memory>

namespace velmora::ui {

namespace {

constexpr const char* kKey = "Settings/LastReminder";

std::unique_ptr<QSettings> OpenSettings(const QString& iniFilePath) {
    if (!iniFilePath.isEmpty()) return std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat);
    return std::make_unique<QSettings>(QStringLiteral("Velmora"), QStringLiteral("Velmora Arudha Lagna"));
}

}  // namespace

std::optional<QString> SettingsReminderStore::LastReminder() const {
    const auto settings = OpenSettings(iniFilePath_);
    if (!settings->contains(QString::fromLatin1(kKey))) return std::nullopt;
    return settings->value(QString::fromLatin1(kKey)).toString();
}

void SettingsReminderStore::SetLastReminder(const QString& moment) {
    const auto settings = OpenSettings(iniFilePath_);
    settings->setValue(QString::fromLatin1(kKey), moment);
    settings->sync();
}

QString UpdateQuestionText() {
    return QStringLiteral("There maybe an update to this software available") + QChar(13) +
           QStringLiteral("Do you want to check for an update?");
}

void UpdateReminder(const Clock& clock, ReminderStore& store, MessageService& messages, Links& links,
                    QWidget* parent) {
    const QDateTime now = clock.Now();
    const std::optional<QString> stored = store.LastReminder();
    if (!stored) {
        store.SetLastReminder(now.toString(Qt::ISODate));
        return;
    }
    const QDateTime last = QDateTime::fromString(*stored, Qt::ISODate);
    if (!last.isValid()) return;
    // Calendar-day changes between the two dates, in local time.
    const qint64 days = last.toLocalTime().date().daysTo(now.toLocalTime().date());
    if (days <= kReminderIntervalDays && days >= -kReminderIntervalDays) return;
    const bool yes = messages.AskYesNo(parent, UpdateQuestionText(), MessageIcon::Information);
    store.SetLastReminder(now.toString(Qt::ISODate));
    if (yes) links.OpenDownloadPage();
}

}  // namespace velmora::ui
