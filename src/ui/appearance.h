#pragma once

#include <QFont>
#include <QLabel>
#include <functional>

namespace velmora::appearance {

// Verdana where installed, otherwise DejaVu Sans (close in metrics).
QFont ProgramFont(int pointSize = 9);

// Courier New where installed, otherwise a metric-compatible monospace.
QFont SignNumberFont(int pointSize = 9);

// The program's own icon.
QIcon ProgramIcon();

// A label that runs `onClick` when clicked with the left button, shown with
// a pointing-hand cursor.
class PageLink : public QLabel {
    Q_OBJECT
public:
    explicit PageLink(const QString& text, QWidget* parent = nullptr);
    std::function<void()> OnClick;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace velmora::appearance
