#pragma once

// Pieces shared by the program's windows: the program font, the link labels
// and the promotional strip, the Help menu and text conversion.

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QString>
#include <QWidget>

#include <array>
#include <string>
#include <string_view>

class QMenuBar;
class QStackedLayout;

class QScrollArea;
class QTabWidget;

namespace velmora::ui {

class Links;

// Enter or Return on a focused push button clicks it, as on the platform
// the windows were first drawn for. Installed once for the whole program;
// calling it again does nothing.
void EnableEnterOnButtons();

// Gives every control of a window an accessible name from its visible
// caption: a button, box or tab its own text; a box with a buddy label
// that label's text, led by the title of the frame it sits in when the
// label alone says little ("Latitude Deg"). Names already set are kept.
void NameControlsForAccessibility(QWidget* window);

// A frameless scroll area around `content`, wearing its colours, so a
// window whose content does not fit the screen scrolls instead of running
// off it.
QScrollArea* Scrolling(QWidget* content);

// Puts every page of a tab widget into such a scroll area; the scroll area
// takes the page's object name (the page itself gets the suffix "Content").
void ScrollTabPages(QTabWidget* tabs);

// Whether a window of this client size, with room for a title bar and
// borders, fits the available area of the screen it will open on.
bool FitsScreen(const QWidget* window, QSize clientSize);

// When the window is shown, shrinks it to the available area of its screen
// where it would not fit and moves it fully inside; a window that fits keeps
// its size and place.
void KeepInsideScreen(QWidget* window);

// "Velmora Arudha Lagna v1.25": the program name and its major.minor version.
QString WindowCaption();

inline constexpr const char* kFullBrandText =
    "Home Business Opportunity. Start your own Internet business and make money online. Get this software fully "
    "branded for your website. Click here for more details.";
// The "&" is shown as it is: a label has no access key.
inline constexpr const char* kCoBrandText =
    "Co-brand this software for your site.  Increase loyalty and traffic to your site. Put your site's name &  link "
    "here. See \"Help\" for details.    Click Here for more info on co-branding.";

// The banner across the top of both windows.
QString BannerText();

// Dark olive of the input window, RGB (64, 64, 0).
inline QColor OliveColour() { return QColor(64, 64, 0); }

// Verdana where it is installed, otherwise DejaVu Sans.
QString ProgramFontFamily();
QFont ProgramFont();
// The chart's sign numbers: Courier New or a monospace of the same metrics.
QFont SignNumberFont();
// The program's own icon.
QIcon ProgramIcon();

// A length given in twips (1/1440 inch) as pixels of this widget's screen.
int Twips(int twips, const QWidget* widget);

// UTF-8 from the core to a QString, a CR LF line break shown as a new line.
QString DisplayText(std::string_view text);

// A label that reacts to a click of the left button, shown with a pointing
// hand. It takes no keyboard focus.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);

    // The height a wrapped text needs at a width. The promotional texts are
    // long, laying them out is dear and every layout pass of a window asks
    // again: the last answers are kept while the text and how it is set
    // (font, style, wrapping, alignment, margins) stay as they were.
    int heightForWidth(int width) const override;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct KnownHeight {
        int Width = -1;
        int Height = 0;
    };
    // What the heights depend on besides the font and style.
    struct Setting {
        QString Text;
        bool WordWrap = false;
        Qt::Alignment Alignment;
        int Indent = 0;
        int Margin = 0;
        QMargins ContentsMargins;
        bool operator==(const Setting&) const = default;
    };
    Setting CurrentSetting() const;

    bool pressed_ = false;
    mutable std::array<KnownHeight, 4> heights_{};
    mutable std::size_t nextHeight_ = 0;
    mutable Setting heightsFor_;
};

enum class PromotionLabel { CoBrand, FullBrand };

// The two promotional labels lying on top of each other: only the one in
// front is shown and can be clicked.
class PromotionStrip : public QWidget {
    Q_OBJECT
public:
    PromotionStrip(Links& links, PromotionLabel front, QWidget* parent = nullptr);

    void BringToFront(PromotionLabel label);
    PromotionLabel Front() const;
    ClickableLabel* FullBrandLabel() const { return fullBrand_; }
    ClickableLabel* CoBrandLabel() const { return coBrand_; }

private:
    QStackedLayout* stack_;
    ClickableLabel* fullBrand_;
    ClickableLabel* coBrand_;
};

// The banner label Label61, which opens the maker's home page.
ClickableLabel* MakeBanner(Links& links, QWidget* parent);

// Object names of the entries that differ between the two windows' menus.
struct LinkMenuNames {
    const char* FirstSeparator;
    const char* SecondSeparator;
    const char* MakeMoney;
};

// Appends the Help menu, the Donate command and the switched-off "Make Money
// Online" command to the bar; the link entries call the link operations.
// Returns the "About Software" entry for the window to connect.
QAction* AddLinkMenus(QMenuBar* bar, Links& links, const LinkMenuNames& names);

}  // namespace velmora::ui
