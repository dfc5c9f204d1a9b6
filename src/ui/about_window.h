#pragma once

#include <QDialog>

#include "ui/links.h"

namespace velmora::ui {

// frmAbout: the program's icon and title, its description, a link to the
// maker's site and to the page on fully branded copies, and OK. Shown modal
// over the window that opened it and created afresh each time.
class AboutWindow final : public QDialog {
    Q_OBJECT
public:
    AboutWindow(Links& links, QWidget* owner);

private:
    Links& links_;
};

// Shows the about window modally over `owner` and returns when OK closes it.
void ShowAbout(Links& links, QWidget* owner);

}  // namespace velmora::ui
