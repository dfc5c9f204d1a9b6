#include "ui/window_line_edit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragLeaveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include "core/input_filters.h"
#include "ui/platform.h"

namespace velmora::ui {

FilteredLineEdit::FilteredLineEdit(Filter filter, MessageService& messages, QWidget* parent)
    : QLineEdit(parent), filter_(filter), messages_(messages) {}

std::optional<char32_t> FilteredLineEdit::KeystrokeCode(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier)) return std::nullopt;  // access keys, shortcuts
    const int key = event.key();
    if (key == Qt::Key_Backspace) return 8;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return 13;
    if (key == Qt::Key_Escape) return 27;
    if ((modifiers & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<char32_t>(key - Qt::Key_A + 1);
    if (modifiers & Qt::ControlModifier) return std::nullopt;  // Ctrl+arrows and the like
    if (key == Qt::Key_Delete) return std::nullopt;
    const QString text = event.text();
    if (text.isEmpty()) return std::nullopt;
    const char32_t code = text.at(0).isHighSurrogate() && text.size() > 1
                              ? QChar::surrogateToUcs4(text.at(0), text.at(1))
                              : static_cast<char32_t>(text.at(0).unicode());
    if (code < 32 || code == 127) return std::nullopt;
    return code;
}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // The editing shortcuts do what they do in any box; a paste still goes
    // through the filter, whole or not at all.
    if (event->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Copy) ||
        event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const std::optional<char32_t> code = KeystrokeCode(*event);
    if (!code) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    if (typed.size() > 2 || (typed.size() == 2 && !typed.at(0).isHighSurrogate())) {
        // Several characters from one key (a compose sequence): one piece.
        InsertWhole(typed);
        event->accept();
        return;
    }
    const std::optional<char32_t> passed =
        filter_ == Filter::Digits ? core::FilterDigitKey(*code) : core::FilterNameKey(*code);
    if (!passed) {
        event->accept();
        Refuse();
        return;
    }
    if (*passed == *code) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const char32_t changed[] = {*passed};
    QKeyEvent capital(event->type(), event->key(), event->modifiers(), QString::fromUcs4(changed, 1),
                      event->isAutoRepeat(), static_cast<ushort>(event->count()));
    QLineEdit::keyPressEvent(&capital);
    event->setAccepted(capital.isAccepted());
}

std::optional<QString> FilteredLineEdit::FilterPiece(const QString& piece) const {
    const std::string bytes = piece.toStdString();
    const std::optional<std::string> passed =
        filter_ == Filter::Digits ? core::FilterDigitText(bytes) : core::FilterNameText(bytes);
    if (!passed) return std::nullopt;
    return QString::fromStdString(*passed);
}

void FilteredLineEdit::Refuse() {
    const core::Notice notice = filter_ == Filter::Digits ? core::OnlyNumbersNotice() : core::OnlyLettersNotice();
    messages_.ShowNotice(window(), QString::fromStdString(notice.Text), notice.Icon);
}

bool FilteredLineEdit::InsertWhole(const QString& piece) {
    if (isReadOnly()) return false;
    const std::optional<QString> passed = FilterPiece(piece);
    if (!passed || !Fits(text().size() - selectedText().size() + passed->size())) {
        Refuse();
        return false;
    }
    if (!passed->isEmpty()) insert(*passed);
    return true;
}

void FilteredLineEdit::PasteFromClipboard() { InsertWhole(QGuiApplication::clipboard()->text(QClipboard::Clipboard)); }

void FilteredLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (commit.isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    const std::optional<QString> passed = FilterPiece(commit);
    const qsizetype replaced = selectedText().isEmpty() ? event->replacementLength() : selectedText().size();
    if (!passed || !Fits(text().size() - replaced + passed->size())) {
        // The composition ends without putting anything into the box.
        QInputMethodEvent withoutCommit(QString(), {});
        QLineEdit::inputMethodEvent(&withoutCommit);
        event->accept();
        Refuse();
        return;
    }
    if (*passed == commit) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent capitals(event->preeditString(), event->attributes());
    capitals.setCommitString(*passed, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&capitals);
}

void FilteredLineEdit::dropEvent(QDropEvent* event) {
    const QMimeData* dropped = event->mimeData();
    if (isReadOnly() || !dropped || !dropped->hasText() || event->source() == this) {
        // Moving text within the box keeps it as valid as it was.
        QLineEdit::dropEvent(event);
        return;
    }
    // End the drag's cursor display before deciding.
    QDragLeaveEvent leave;
    QLineEdit::dragLeaveEvent(&leave);

    const std::optional<QString> passed = FilterPiece(dropped->text());
    if (!passed || !Fits(text().size() + passed->size())) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        Refuse();
        return;
    }
    deselect();
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    insert(*passed);
    event->acceptProposedAction();
    setFocus(Qt::MouseFocusReason);
}

QMenu* FilteredLineEdit::CreateFilteredContextMenu() {
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        // Newer Qt names the entry; older ones only caption it.
        const bool paste = action->objectName() == QLatin1String("edit-paste") ||
                           action->text().section(QLatin1Char('\t'), 0, 0) == QLineEdit::tr("&Paste");
        if (!paste) continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, &FilteredLineEdit::PasteFromClipboard);
    }
    return menu;
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateFilteredContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void FilteredLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()) {
        // The selection paste of X11.
        deselect();
        InsertWhole(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

}  // namespace velmora::ui
