#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

#include "ui/links.h"
#include "ui/platform.h"

namespace velmora::ui {

// The clock, so that tests can set "now".
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

// Where the moment of the last reminder is kept between runs.
class ReminderStore {
public:
    virtual ~ReminderStore() = default;
    // False when there is nowhere to keep settings at all: then there is no
    // reminder either.
    virtual bool Available() const { return true; }
    virtual std::optional<QString> LastReminder() const = 0;
    virtual void SetLastReminder(const QString& moment) = 0;
};

// The per-user settings store: organisation "Velmora", application
// "Velmora Arudha Lagna", group "Settings", key "LastReminder", the moment
// as ISO 8601 text. A settings file path may be given instead (tests).
//
// Without HOME and XDG_CONFIG_HOME there is no per-user folder (Qt would fall
// back to /.config), so the store is unavailable and nothing is read or
// written. When the settings cannot be written, the moment is kept in memory
// for the rest of the run, so the question comes at most once per run, and a
// line on standard error says why it will come again at the next start.
class SettingsReminderStore final : public ReminderStore {
public:
    SettingsReminderStore();
    explicit SettingsReminderStore(QString iniFilePath);
    bool Available() const override { return available_; }
    std::optional<QString> LastReminder() const override;
    void SetLastReminder(const QString& moment) override;

private:
    QString iniFilePath_;
    bool available_ = true;
    std::optional<QString> unsaved_;
};

inline constexpr int kReminderIntervalDays = 14;

// "There maybe an update to this software available", a carriage return,
// "Do you want to check for an update?".
QString UpdateQuestionText();

// At start: the first run stores the moment and asks nothing; when more than
// 14 calendar days lie between the stored moment and now (either way, so a
// clock set back counts too) it asks whether to check for an update, stores
// the moment of the answer whatever it is and opens the download page on Yes.
// A stored value that is not a date, or a store that is not available, makes
// it do nothing.
void UpdateReminder(const Clock& clock, ReminderStore& store, MessageService& messages, Links& links,
                    QWidget* parent = nullptr);

}  // namespace velmora::ui
