// The windows as a desktop user meets them: they fit the screen, Enter
// clicks a focused button, every control has an accessible name, and the
// readings stay readable under a dark palette.

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include "ui/links.h"
#include "ui/main_window.h"
#include "ui/result_window.h"
#include "ui/window_fixture.h"
#include "ui/window_widgets.h"

using velmora::MainWindow;
using velmora::testing::RecordingOpener;
using velmora::ui::Links;
using velmora::ui::ResultWindow;

namespace {

// Every control a user can reach with the keyboard.
QList<QWidget*> FocusableControls(QWidget* window) {
    QList<QWidget*> controls;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (child->focusPolicy() == Qt::NoFocus || !child->isVisibleTo(window)) continue;
        if (qobject_cast<QAbstractButton*>(child) || qobject_cast<QLineEdit*>(child) ||
            qobject_cast<QComboBox*>(child) || qobject_cast<QTextEdit*>(child))
            controls << child;
    }
    return controls;
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private slots:
    void bothWindowsOpenInsideTheScreenWithBackInReach() {
        // The offscreen screen is 800 x 600: smaller than either window's
        // designed size, as 1366 x 768 at a larger scale would be.
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        velmora::testing::InputWindowFixture f;
        MainWindow& input = f.window;
        input.move(available.right() - 50, available.bottom() - 50);
        input.show();
        QVERIFY(QTest::qWaitForWindowExposed(&input));
        QVERIFY2(
            available.contains(input.geometry()),
            qPrintable(
                QStringLiteral("%1,%2 %3x%4").arg(input.x()).arg(input.y()).arg(input.width()).arg(input.height())));

        ResultWindow result(f.links);
        result.show();
        QVERIFY(QTest::qWaitForWindowExposed(&result));
        QVERIFY(available.contains(result.geometry()));
        // Back stays inside the window, whatever scrolls.
        auto* back = result.findChild<QPushButton*>(QStringLiteral("cmdBack"));
        QVERIFY(back);
        const QRect backInWindow(back->mapTo(&result, QPoint(0, 0)), back->size());
        QVERIFY(result.rect().contains(backInWindow));
        // Where the designed window does not fit, the tab pages scroll
        // instead of pushing the window's foot away; where it fits they are
        // the pages themselves.
        auto* tabs = result.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        QCOMPARE(tabs->widget(0)->objectName(), QStringLiteral("tabChart"));
        const bool scrolled = tabs->widget(0)->inherits("QScrollArea");
        const int designedHeight = velmora::ui::Twips(7695, &result);
        if (scrolled) {
            QVERIFY(result.minimumSizeHint().height() < designedHeight);  // it can shrink
        } else {
            QVERIFY(available.height() >= designedHeight);  // there was room
        }
    }

    void enterOnAFocusedButtonClicksIt() {
        velmora::testing::InputWindowFixture f;
        MainWindow& input = f.window;
        input.show();
        QVERIFY(QTest::qWaitForWindowActive(&input));
        auto* lookUp = input.findChild<QPushButton*>(QStringLiteral("cmdBrowser"));
        QSignalSpy clicked(lookUp, &QPushButton::clicked);
        lookUp->setFocus();
        QTest::keyClick(lookUp, Qt::Key_Return);
        QTRY_COMPARE(clicked.count(), 1);
        QTest::qWait(150);  // the pressed look of the first click ends
        lookUp->setFocus();
        QTest::keyClick(lookUp, Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_COMPARE(clicked.count(), 2);
        // Enter in a box is no click of anything.
        auto* name = input.findChild<QLineEdit*>(QStringLiteral("txtName"));
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(clicked.count(), 2);
    }

    void everyControlHasAnAccessibleNameAndCaptionsAreBuddies() {
        velmora::testing::InputWindowFixture f;
        MainWindow& input = f.window;
        ResultWindow result(f.links);
        for (QWidget* window : {static_cast<QWidget*>(&input), static_cast<QWidget*>(&result)}) {
            for (QWidget* control : FocusableControls(window)) {
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
            }
        }
        const std::pair<const char*, const char*> buddies[] = {
            {"lblNameCaption", "txtName"}, {"lblCityCaption", "txtMCity"}, {"txtLatDCaption", "txtLatD"}};
        for (const auto& [caption, box] : buddies) {
            auto* label = input.findChild<QLabel*>(QString::fromLatin1(caption));
            QVERIFY2(label && label->buddy() == input.findChild<QWidget*>(QString::fromLatin1(box)), caption);
        }
        QCOMPARE(input.findChild<QWidget*>(QStringLiteral("txtName"))->accessibleName(), QStringLiteral("Name"));
        QCOMPARE(input.findChild<QWidget*>(QStringLiteral("txtLatD"))->accessibleName(),
                 QStringLiteral("Latitude Deg"));
        QCOMPARE(input.findChild<QWidget*>(QStringLiteral("cmdRashi"))->accessibleName(),
                 QStringLiteral("Analyze My Arudha Lagna"));
    }

    void theReadingsStayOnLightPaperUnderADarkPalette() {
        const QPalette before = QApplication::palette();
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(30, 30, 30));
        dark.setColor(QPalette::Base, QColor(20, 20, 20));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::WindowText, Qt::white);
        QApplication::setPalette(dark);
        RecordingOpener opener;
        Links links(opener);
        ResultWindow result(links);
        // The readings' page is built when first shown, or asked for.
        auto* readings = result.planetsPage()->findChild<QTextEdit*>(QStringLiteral("RTB"));
        QVERIFY(readings);
        QVERIFY(readings->palette().color(QPalette::Base).lightness() > 200);
        QCOMPARE(readings->palette().color(QPalette::Text), QColor(Qt::black));
        QApplication::setPalette(before);
    }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
