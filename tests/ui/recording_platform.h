#pragma once

// Substitutes for the platform services: they record what the program asked
// for instead of showing a modal box or starting a browser.

#include <QList>
#include <QString>
#include <QUrl>

#include "ui/platform.h"

namespace velmora::testing {

struct ShownNotice {
    QString Text;
    MessageIcon Icon;
};

class RecordingMessages final : public ui::MessageService {
public:
    void ShowNotice(QWidget*, const QString& text, MessageIcon icon) override { Notices.append({text, icon}); }
    bool AskYesNo(QWidget*, const QString& text, MessageIcon icon) override {
        Questions.append({text, icon});
        return Answer;
    }

    QList<ShownNotice> Notices;
    QList<ShownNotice> Questions;
    bool Answer = false;
};

class RecordingOpener final : public ui::UrlOpener {
public:
    void Open(const QUrl& url) override { Opened.append(url); }
    QList<QUrl> Opened;
};

}  // namespace velmora::testing
