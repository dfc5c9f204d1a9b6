#pragma once

#include <QMap>
#include <QString>
#include <QUrl>

#include <optional>

#include "core/messages.h"

class QWidget;

namespace velmora::ui {

// Message boxes. The program's notices are modal, titled with the
// application title, with a single OK; the update question has Yes and No.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual void ShowNotice(QWidget* parent, const QString& text, core::MessageIcon icon) = 0;
    // True for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text, core::MessageIcon icon) = 0;
    // Unsaved changes about to be dropped: Save, Discard or Cancel (also
    // the answer when the box is closed).
    enum class UnsavedAnswer { Save, Discard, Cancel };
    virtual UnsavedAnswer AskUnsaved(QWidget* parent, const QString& text) = 0;
};

// Opening a web address in the user's default browser. Never reports an
// error and never goes through a shell.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void Open(const QUrl& url) = 0;
};

// The real ones: QMessageBox and QDesktopServices.
class QtMessageService final : public MessageService {
public:
    void ShowNotice(QWidget* parent, const QString& text, core::MessageIcon icon) override;
    bool AskYesNo(QWidget* parent, const QString& text, core::MessageIcon icon) override;
    UnsavedAnswer AskUnsaved(QWidget* parent, const QString& text) override;
};

class DesktopUrlOpener final : public UrlOpener {
public:
    void Open(const QUrl& url) override;
};

// The per-user settings store: choices remembered between runs (chart
// style, engine, recent birth files). Keys are "Group/Name".
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<QString> Value(const QString& key) const = 0;
    // False when the value could not be written.
    virtual bool SetValue(const QString& key, const QString& value) = 0;
};

// Settings kept in memory only: for tests, and when no store can be had.
class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<QString> Value(const QString& key) const override {
        const auto it = values_.find(key);
        if (it == values_.end()) return std::nullopt;
        return *it;
    }
    bool SetValue(const QString& key, const QString& value) override {
        values_.insert(key, value);
        return true;
    }

private:
    QMap<QString, QString> values_;
};

// QSettings under organisation "Velmora", application "Velmora Arudha Lagna"
// (or an INI file, for tests).
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore() = default;
    explicit QtSettingsStore(QString iniFilePath) : iniFilePath_(std::move(iniFilePath)) {}
    std::optional<QString> Value(const QString& key) const override;
    bool SetValue(const QString& key, const QString& value) override;

private:
    QString iniFilePath_;
};

}  // namespace velmora::ui
