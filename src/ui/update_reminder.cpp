#include "ui/update_reminder.h"

#include <QDir>
#include <QSettings>
#include <cstdio>
#include <memory>

namespace velmora::ui {

namespace {

constexpr const char* kKey = "Settings/LastReminder";

std::unique_ptr<QSettings> OpenSettings(const QString& iniFilePath) {
    if (!iniFilePath.isEmpty()) return std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat);
    return std::make_unique<QSettings>(QStringLiteral("Velmora"), QStringLiteral("Velmora Arudha Lagna"));
}

bool IsAbsolute(const QString& path) { return !path.isEmpty() && QDir::isAbsolutePath(path); }

QString StatusText(QSettings::Status status) {
    switch (status) {
        case QSettings::AccessError:
            return QStringLiteral("it cannot be written");
        case QSettings::FormatError:
            return QStringLiteral("its contents are not understood");
        case QSettings::NoError:
            break;
    }
    return QStringLiteral("unknown error");
}

}  // namespace

SettingsReminderStore::SettingsReminderStore()
    : available_(IsAbsolute(qEnvironmentVariable("XDG_CONFIG_HOME")) || IsAbsolute(qEnvironmentVariable("HOME"))) {}

SettingsReminderStore::SettingsReminderStore(QString iniFilePath) : iniFilePath_(std::move(iniFilePath)) {}

std::optional<QString> SettingsReminderStore::LastReminder() const {
    if (!available_) return std::nullopt;
    if (unsaved_) return unsaved_;
    const auto settings = OpenSettings(iniFilePath_);
    if (!settings->contains(QString::fromLatin1(kKey))) return std::nullopt;
    return settings->value(QString::fromLatin1(kKey)).toString();
}

void SettingsReminderStore::SetLastReminder(const QString& moment) {
    if (!available_) return;
    const auto settings = OpenSettings(iniFilePath_);
    settings->setValue(QString::fromLatin1(kKey), moment);
    settings->sync();
    const QSettings::Status status = settings->status();
    if (status == QSettings::NoError) {
        unsaved_.reset();
        return;
    }
    unsaved_ = moment;
    const QByteArray line = QStringLiteral(
                                "velmora-arudha-lagna: cannot save the settings to %1: %2; the update "
                                "reminder is kept for this run only and may ask again at the next start\n")
                                .arg(settings->fileName(), StatusText(status))
                                .toLocal8Bit();
    std::fputs(line.constData(), stderr);
}

QString UpdateQuestionText() {
    return QStringLiteral("There maybe an update to this software available") + QChar(13) +
           QStringLiteral("Do you want to check for an update?");
}

void UpdateReminder(const Clock& clock, ReminderStore& store, MessageService& messages, Links& links, QWidget* parent) {
    if (!store.Available()) return;
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
    const bool yes = messages.AskYesNo(parent, UpdateQuestionText(), core::MessageIcon::Information);
    // The question may have stood on the screen for a while: the moment kept
    // is that of the answer.
    store.SetLastReminder(clock.Now().toString(Qt::ISODate));
    if (yes) links.OpenDownloadPage();
}

}  // namespace velmora::ui
