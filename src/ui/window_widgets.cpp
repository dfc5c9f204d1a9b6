#include "ui/window_widgets.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>

#include <algorithm>
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QFontDatabase>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStackedLayout>

#include "core/display.h"
#include "model/version.h"
#include "ui/links.h"
#include "report/qt_text.h"

namespace velmora::ui {

QString BannerText() {
    return QStringLiteral("The friendliest Vedic astrology forum on the web - join the talk at %1")
        .arg(QString::fromLatin1(kForumAddress));
}

QString ProgramFontFamily() {
    static const QString family =
        QFontDatabase::hasFamily(QStringLiteral("Verdana")) ? QStringLiteral("Verdana") : QStringLiteral("DejaVu Sans");
    return family;
}

QFont ProgramFont() {
    QFont font(ProgramFontFamily());
    font.setPointSizeF(8.5);
    return font;
}

QIcon ProgramIcon() { return QIcon(QStringLiteral(":/velmora/icon.png")); }

QFont SignNumberFont() {
    static const QString family = [] {
        for (const char* candidate : {"Courier New", "Liberation Mono", "Cousine", "DejaVu Sans Mono"}) {
            if (QFontDatabase::hasFamily(QString::fromLatin1(candidate))) return QString::fromLatin1(candidate);
        }
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    }();
    QFont font(family);
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(8.5);
    return font;
}

int Twips(int twips, const QWidget* widget) {
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return (twips * dpi + 720) / 1440;
}

namespace {

// Turns Enter and Return on a focused push button into a click.
class EnterClicksButtons final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->isEnabled() || !button->hasFocus()) return false;
        button->animateClick();
        return true;
    }
};

QString PlainCaption(QString text) {
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text = text.trimmed();
    if (text.endsWith(QLatin1Char(':'))) text.chop(1);
    return text;
}

}  // namespace

namespace {

// Fits a window into its screen when it is first shown.
class ScreenFitter final : public QObject {
public:
    using QObject::QObject;

    static void Fit(QWidget* window) {
        QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        const QRect available = screen->availableGeometry();
        // The frame the window manager adds. Before the first show it is
        // not known, and a position may then be taken for the client's or
        // the frame's: allow a title bar above and a border below either way.
        const QRect frame = window->frameGeometry();
        const QRect inner = window->geometry();
        const bool frameKnown = frame.height() > inner.height();
        const int extraWidth = std::max(0, frame.width() - inner.width());
        const int extraHeight = frameKnown ? frame.height() - inner.height() : 40;
        const int titleRoom = frameKnown ? 0 : 32;
        QSize size = window->size();
        size.setWidth(std::min(size.width(), available.width() - extraWidth));
        size.setHeight(std::min(size.height(), available.height() - extraHeight));
        if (size != window->size()) {
            // The window's minimum comes from its layout: bring it up to
            // date before asking for a smaller size (only then: a layout
            // pass over wrapped texts is not free).
            if (window->layout()) window->layout()->activate();
            window->resize(size);
        }
        QPoint at = window->pos();
        at.setX(std::clamp(at.x(), available.left(),
                           std::max(available.left(), available.right() + 1 - size.width() - extraWidth)));
        at.setY(std::clamp(
            at.y(), available.top() + titleRoom,
            std::max(available.top() + titleRoom, available.bottom() + 1 - size.height() - extraHeight + titleRoom)));
        if (at != window->pos()) window->move(at);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show) return false;
        auto* window = qobject_cast<QWidget*>(watched);
        if (window && window->isWindow()) Fit(window);
        return false;
    }
};

}  // namespace

namespace {

// A scroll area that asks for the whole of its content, so a window sized
// to its hint shows everything without bars where the screen allows.
class FittingScrollArea final : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        if (!widget()) return QScrollArea::sizeHint();
        const int frame = 2 * frameWidth();
        return widget()->sizeHint().expandedTo(widget()->minimumSizeHint()) + QSize(frame, frame);
    }
};

}  // namespace

QScrollArea* Scrolling(QWidget* content) {
    auto* area = new FittingScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setFocusPolicy(Qt::NoFocus);  // the tab order runs through the content alone
    area->setPalette(content->palette());
    area->setAutoFillBackground(content->autoFillBackground());
    area->viewport()->setPalette(content->palette());
    area->viewport()->setAutoFillBackground(content->autoFillBackground());
    area->setWidget(content);
    return area;
}

void ScrollTabPages(QTabWidget* tabs) {
    const int current = tabs->currentIndex();
    for (int i = 0; i < tabs->count(); ++i) {
        QWidget* page = tabs->widget(i);
        if (qobject_cast<QScrollArea*>(page)) continue;
        const QString text = tabs->tabText(i);
        const QString name = page->objectName();
        tabs->removeTab(i);
        QScrollArea* area = Scrolling(page);
        area->setObjectName(name);
        page->setObjectName(name + QStringLiteral("Content"));
        tabs->insertTab(i, area, text);
    }
    tabs->setCurrentIndex(current);
}

bool FitsScreen(const QWidget* window, QSize clientSize) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return true;
    const QRect available = screen->availableGeometry();
    return clientSize.width() <= available.width() && clientSize.height() + 40 <= available.height();
}

void KeepInsideScreen(QWidget* window) {
    // Once now, so the window is made at a size the screen can hold, and
    // again whenever it is shown (it may have been moved in between).
    ScreenFitter::Fit(window);
    window->installEventFilter(new ScreenFitter(window));
}

void EnableEnterOnButtons() {
    QCoreApplication* app = QCoreApplication::instance();
    const QString marker = QStringLiteral("velmoraEnterClicksButtons");
    if (!app || app->findChild<QObject*>(marker, Qt::FindDirectChildrenOnly)) return;
    auto* filter = new EnterClicksButtons(app);
    filter->setObjectName(marker);
    app->installEventFilter(filter);
}

void NameControlsForAccessibility(QWidget* window) {
    // Labels first: they name their buddies.
    for (QLabel* label : window->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (!buddy || !buddy->accessibleName().isEmpty()) continue;
        QString name = PlainCaption(label->text());
        auto* frame = qobject_cast<QGroupBox*>(label->parentWidget());
        if (frame && !frame->title().isEmpty() && name.size() <= 4)
            name = PlainCaption(frame->title()) + QLatin1Char(' ') + name;
        buddy->setAccessibleName(name);
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->accessibleName().isEmpty() && !button->text().isEmpty())
            button->setAccessibleName(PlainCaption(button->text()));
    }
    for (QGroupBox* frame : window->findChildren<QGroupBox*>()) {
        if (frame->accessibleName().isEmpty() && !frame->title().isEmpty())
            frame->setAccessibleName(PlainCaption(frame->title()));
    }
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            QWidget* page = tabs->widget(i);
            if (page && page->accessibleName().isEmpty()) page->setAccessibleName(PlainCaption(tabs->tabText(i)));
        }
    }
}

QString DisplayText(std::string_view text) { return QString::fromStdString(core::WithNewlines(text)); }

QString WindowCaption() {
    return QStringLiteral("%1 v%2").arg(report::ToQString(kProgramName), report::ToQString(kProgramShortVersion));
}

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

ClickableLabel::Setting ClickableLabel::CurrentSetting() const {
    return {text(), wordWrap(), alignment(), indent(), margin(), contentsMargins()};
}

int ClickableLabel::heightForWidth(int width) const {
    Setting now = CurrentSetting();
    if (!(now == heightsFor_)) {
        heights_.fill(KnownHeight{});
        heightsFor_ = std::move(now);
    }
    for (const KnownHeight& known : heights_)
        if (known.Width == width) return known.Height;
    const int height = QLabel::heightForWidth(width);
    heights_[nextHeight_] = {width, height};
    nextHeight_ = (nextHeight_ + 1) % heights_.size();
    return height;
}

void ClickableLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
        event->type() == QEvent::LayoutDirectionChange)
        heights_.fill(KnownHeight{});
    QLabel::changeEvent(event);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

PromotionStrip::PromotionStrip(Links& links, PromotionLabel front, QWidget* parent)
    : QWidget(parent),
      stack_(new QStackedLayout(this)),
      fullBrand_(new ClickableLabel(QString::fromLatin1(kFullBrandText), this)),
      coBrand_(new ClickableLabel(QString::fromLatin1(kCoBrandText), this)) {
    fullBrand_->setObjectName(QStringLiteral("lblFullBrand"));
    coBrand_->setObjectName(QStringLiteral("lblCobrand"));
    for (ClickableLabel* label : {fullBrand_, coBrand_}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        stack_->addWidget(label);
    }
    stack_->setContentsMargins(0, 0, 0, 0);
    connect(fullBrand_, &ClickableLabel::clicked, this, [l = &links] { l->OpenFullBrandPage(); });
    connect(coBrand_, &ClickableLabel::clicked, this, [l = &links] { l->OpenCoBrandPage(); });
    BringToFront(front);
}

void PromotionStrip::BringToFront(PromotionLabel label) {
    stack_->setCurrentWidget(label == PromotionLabel::CoBrand ? coBrand_ : fullBrand_);
}

PromotionLabel PromotionStrip::Front() const {
    return stack_->currentWidget() == coBrand_ ? PromotionLabel::CoBrand : PromotionLabel::FullBrand;
}

ClickableLabel* MakeBanner(Links& links, QWidget* parent) {
    auto* banner = new ClickableLabel(BannerText(), parent);
    banner->setObjectName(QStringLiteral("Label61"));
    banner->setAlignment(Qt::AlignCenter);
    banner->setAutoFillBackground(true);
    // The window's own dark olive with a white caption.
    QPalette palette = banner->palette();
    palette.setColor(QPalette::Window, OliveColour());
    palette.setColor(QPalette::WindowText, Qt::white);
    banner->setPalette(palette);
    banner->setContentsMargins(6, 4, 6, 4);
    QObject::connect(banner, &ClickableLabel::clicked, banner, [l = &links] { l->OpenHomePage(); });
    return banner;
}

namespace {

QAction* NamedAction(QObject* owner, const QString& text, const char* name) {
    auto* action = new QAction(text, owner);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

QAction* AddLinkMenus(QMenuBar* bar, Links& links, const LinkMenuNames& names) {
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->menuAction()->setObjectName(QStringLiteral("mnuHelp"));

    QAction* online = NamedAction(help, QStringLiteral("&Online Help"), "mnuOnline");
    QObject::connect(online, &QAction::triggered, bar, [l = &links] { l->OpenOnlineHelp(); });
    QAction* visit = NamedAction(help, QStringLiteral("&Visit Us Online"), "mnuVisit");
    QObject::connect(visit, &QAction::triggered, bar, [l = &links] { l->OpenHomePage(); });
    QAction* first = NamedAction(help, QString(), names.FirstSeparator);
    first->setSeparator(true);
    QAction* update = NamedAction(help, QStringLiteral("Check for Software &Update"), "mnuUpdate");
    QObject::connect(update, &QAction::triggered, bar, [l = &links] { l->OpenDownloadPage(); });
    QAction* second = NamedAction(help, QString(), names.SecondSeparator);
    second->setSeparator(true);
    QAction* about = NamedAction(help, QStringLiteral("&About Software"), "mnuAbout");
    help->addActions({online, visit, first, update, second, about});

    QAction* donate = NamedAction(bar, QStringLiteral("&Donate"), "mnuDonate");
    QObject::connect(donate, &QAction::triggered, bar, [l = &links] { l->OpenDonationPage(); });
    bar->addAction(donate);

    // Offered but switched off; it would open the page on fully branded copies.
    QAction* money = NamedAction(bar, QStringLiteral("Make Money &Online"), names.MakeMoney);
    QObject::connect(money, &QAction::triggered, bar, [l = &links] { l->OpenFullBrandPage(); });
    money->setEnabled(false);
    bar->addAction(money);
    return about;
}

}  // namespace velmora::ui
