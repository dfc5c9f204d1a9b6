#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <QToolButton>

#include "analysis/derivations.h"

class QLabel;
class QTableWidget;

namespace velmora::core {
struct BirthAnalysis;
}

namespace velmora::ui {

// The sentences of a derivation, one a line.
QStringList SentencesOf(const analysis::Derivation& derivation);

// The derivation of one value, one paragraph a sentence, with a Close
// button; titled "Why: <subject>".
class WhyDialog : public QDialog {
    Q_OBJECT
public:
    WhyDialog(const QString& subject, const QStringList& sentences, QWidget* parent = nullptr);

    QStringList sentences() const { return sentences_; }
    QLabel* textLabel() const { return text_; }

private:
    QStringList sentences_;
    QLabel* text_ = nullptr;
};

// "Why?" beside a derived value: a click, Space or Enter opens its
// derivation. Its accessible name is "Why: <subject>", e.g. "Why: Arudha
// Lagna"; it takes focus with Tab.
class WhyButton : public QToolButton {
    Q_OBJECT
public:
    WhyButton(const QString& subject, QWidget* parent = nullptr);

    void setSentences(const QStringList& sentences);
    QStringList sentences() const { return sentences_; }
    QString subject() const { return subject_; }

    // The dialog last opened, while it is open; null otherwise.
    WhyDialog* dialog() const { return dialog_; }

public slots:
    void ShowWhy();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString subject_;
    QStringList sentences_;
    QPointer<WhyDialog> dialog_;
};

// The "Why" column of the Charts tab's pada table (its last column): a
// button for each pada, the first named for the Arudha Lagna. Nothing when
// the analysis has no derivations.
void ShowPadaReasons(QTableWidget* padas, const core::BirthAnalysis& analysis);

}  // namespace velmora::ui
