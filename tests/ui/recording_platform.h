#pragma once

// Substitutes for the platform services: they record what the program asked
// for instead of showing a modal box or starting a browser.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QUrl>

#include <optional>
#include <string_view>
#include <utility>

#include "ui/file_dialogs.h"
#include "ui/platform.h"
#include "ui/update_reminder.h"

namespace velmora::testing {

// A text of the layers below as the windows show it.
inline QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

struct ShownNotice {
    QString Text;
    core::MessageIcon Icon;
};

class RecordingMessages final : public ui::MessageService {
public:
    void ShowNotice(QWidget*, const QString& text, core::MessageIcon icon) override { Notices.append({text, icon}); }
    bool AskYesNo(QWidget*, const QString& text, core::MessageIcon icon) override {
        Questions.append({text, icon});
        return Answer;
    }
    UnsavedAnswer AskUnsaved(QWidget*, const QString& text) override {
        UnsavedQuestions.append(text);
        return Unsaved;
    }

    QList<ShownNotice> Notices;
    QList<ShownNotice> Questions;
    bool Answer = false;
    QStringList UnsavedQuestions;
    UnsavedAnswer Unsaved = UnsavedAnswer::Cancel;
};

class RecordingOpener final : public ui::UrlOpener {
public:
    void Open(const QUrl& url) override { Opened.append(url); }
    QList<QUrl> Opened;
};

// File choosers that answer from a queue instead of asking: each call takes
// the next answer (empty, as a cancelled dialog, when none is left) and
// records what it was shown.
class ScriptedFileDialogs final : public ui::FileDialogs {
public:
    struct Asked {
        QString Caption;
        QString Start;
        QString Filter;
    };
    QString OpenFileName(QWidget*, const QString& caption, const QString& start, const QString& filter) override {
        Opened.append({caption, start, filter});
        return Answers.isEmpty() ? QString() : Answers.takeFirst();
    }
    QString SaveFileName(QWidget*, const QString& caption, const QString& start, const QString& filter) override {
        Saved.append({caption, start, filter});
        return Answers.isEmpty() ? QString() : Answers.takeFirst();
    }

    QStringList Answers;
    QList<Asked> Opened;
    QList<Asked> Saved;
};

// A clock that says what it is told.
class FixedClock final : public ui::Clock {
public:
    FixedClock() = default;
    explicit FixedClock(QDateTime now) : now_(std::move(now)) {}
    QDateTime Now() const override { return now_; }
    void Set(QDateTime now) { now_ = std::move(now); }

private:
    QDateTime now_;
};

// Where the update reminder keeps its moment, in memory: what is stored,
// how often it was written, and whether there is anywhere to keep it.
class MemoryReminderStore final : public ui::ReminderStore {
public:
    bool Available() const override { return IsAvailable; }
    std::optional<QString> LastReminder() const override { return Value; }
    void SetLastReminder(const QString& moment) override {
        Value = moment;
        ++Writes;
    }

    std::optional<QString> Value;
    int Writes = 0;
    bool IsAvailable = true;
};

inline QDateTime Utc(int year, int month, int day, int hour, int minute) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone::utc());
}

}  // namespace velmora::testing
