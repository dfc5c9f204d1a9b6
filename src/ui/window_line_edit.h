#pragma once

#include <QLineEdit>

#include <optional>

#include "core/messages.h"

class QMenu;

namespace velmora::ui {

class MessageService;

// A text box with one of the input window's keystroke filters.
//
// A typed character (a keystroke with its character code, Ctrl+letter giving
// the control codes 1..26 as on the original platform) passes through the
// keystroke filter: refused characters show the box's notice and leave the
// text as it was; the name filter turns small letters into capitals.
//
// Text that arrives in one piece - a paste (Shift+Insert, the context menu,
// the middle button), a drop or an input-method commit - goes in only when
// every character passes the filter and the result fits the maximum length;
// otherwise the notice shows and the text stays unchanged.
class FilteredLineEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class Filter { Digits, Name };

    FilteredLineEdit(Filter filter, MessageService& messages, QWidget* parent = nullptr);

    Filter filter() const { return filter_; }

    // Puts a piece of text at the cursor in place of the selection, all or
    // nothing (see above). True when it went in.
    bool InsertWhole(const QString& piece);

    // The standard context menu with its Paste entry going through InsertWhole.
    QMenu* CreateFilteredContextMenu();

    // The character code a key press types, if it types one.
    static std::optional<char32_t> KeystrokeCode(const QKeyEvent& event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::optional<QString> FilterPiece(const QString& piece) const;
    bool Fits(qsizetype lengthAfter) const { return lengthAfter <= maxLength(); }
    void Refuse();
    void PasteFromClipboard();

    Filter filter_;
    MessageService& messages_;
};

}  // namespace velmora::ui
