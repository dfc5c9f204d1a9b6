#pragma once

#include <QString>
#include <QUrl>

#include "core/messages.h"

class QWidget;

namespace velmora::ui {

// Message boxes. The program's notices are modal, titled with the
// application title, with a single OK; the update question has Yes and No.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual void ShowNotice(QWidget* parent, const QString& text, MessageIcon icon) = 0;
    // True for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text, MessageIcon icon) = 0;
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
    void ShowNotice(QWidget* parent, const QString& text, MessageIcon icon) override;
    bool AskYesNo(QWidget* parent, const QString& text, MessageIcon icon) override;
};

class DesktopUrlOpener final : public UrlOpener {
public:
    void Open(const QUrl& url) override;
};

}  // namespace velmora::ui
