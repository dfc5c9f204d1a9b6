#include "ui/why_button.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/pipeline.h"
#include "report/qt_text.h"

namespace velmora::ui {

QStringList SentencesOf(const analysis::Derivation& derivation) {
    QStringList sentences;
    for (std::size_t i = 0; i < derivation.size(); ++i) sentences << report::ToQString(derivation[i]);
    return sentences;
}

WhyDialog::WhyDialog(const QString& subject, const QStringList& sentences, QWidget* parent)
    : QDialog(parent), sentences_(sentences) {
    setObjectName(QStringLiteral("dlgWhy"));
    setWindowTitle(QStringLiteral("Why: %1").arg(subject));
    auto* layout = new QVBoxLayout(this);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("lblWhy"));
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setText(sentences.isEmpty() ? QStringLiteral("No derivation is at hand.")
                                       : sentences.join(QStringLiteral("\n\n")));
    text_->setMinimumWidth(420);
    text_->setAccessibleName(windowTitle());
    layout->addWidget(text_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    setAttribute(Qt::WA_DeleteOnClose);
}

WhyButton::WhyButton(const QString& subject, QWidget* parent) : QToolButton(parent), subject_(subject) {
    setText(QStringLiteral("Why?"));
    setObjectName(QStringLiteral("btnWhy"));
    setAccessibleName(QStringLiteral("Why: %1").arg(subject));
    setToolTip(QStringLiteral("How the program reached this value: %1").arg(subject));
    setFocusPolicy(Qt::StrongFocus);
    setAutoRaise(false);
    connect(this, &QToolButton::clicked, this, &WhyButton::ShowWhy);
}

void WhyButton::setSentences(const QStringList& sentences) { sentences_ = sentences; }

void WhyButton::ShowWhy() {
    if (dialog_) dialog_->close();
    dialog_ = new WhyDialog(subject_, sentences_, window());
    dialog_->show();
}

void WhyButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !(event->modifiers() & ~Qt::KeypadModifier)) {
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

void ShowPadaReasons(QTableWidget* padas, const core::BirthAnalysis& a) {
    if (!a.Why) return;
    const int column = padas->columnCount() - 1;
    for (int row = 0; row < padas->rowCount() && row < 12; ++row) {
        const analysis::Pada& pada = a.Padas[static_cast<std::size_t>(row)];
        const QString subject =
            row == 0 ? QStringLiteral("Arudha Lagna")
                     : QStringLiteral("pada %1 of house %2").arg(report::ToQString(pada.Label)).arg(pada.House);
        auto* button = new WhyButton(subject);
        button->setSentences(SentencesOf(a.Why->Padas[static_cast<std::size_t>(row)]));
        padas->setCellWidget(row, column, button);
    }
}

}  // namespace velmora::ui
