// The input window: contents, keyboard order, filters, checks, look-up and
// menu commands, driven as a user would, with the platform services recorded.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>

#include <memory>

#include "ui/main_window.h"
#include "core/form_builders.h"
#include "core/zones.h"
#include "ui/links.h"
#include "ui/result_window.h"
#include "ui/window_fixture.h"
#include "ui/window_line_edit.h"

using velmora::MainWindow;
using velmora::core::MessageIcon;
using velmora::ui::FilteredLineEdit;
using velmora::ui::Links;

namespace {

// One input window with recording services.
using Fixture = velmora::testing::InputWindowFixture;

QStringList Texts(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    return texts;
}

QStringList Numbers(int first, int last) {
    QStringList texts;
    for (int n = first; n <= last; ++n) texts << QString::number(n);
    return texts;
}

bool SameForm(const velmora::core::FormInput& a, const velmora::core::FormInput& b) {
    return a.Name == b.Name && a.MonthIndex == b.MonthIndex && a.Day == b.Day && a.Year == b.Year && a.Hour == b.Hour &&
           a.Minute == b.Minute && a.Second == b.Second && a.ZoneRow == b.ZoneRow &&
           a.DaylightSaving == b.DaylightSaving && a.LatitudeDegrees == b.LatitudeDegrees &&
           a.LatitudeMinutes == b.LatitudeMinutes && a.South == b.South && a.LongitudeDegrees == b.LongitudeDegrees &&
           a.LongitudeMinutes == b.LongitudeMinutes && a.East == b.East && a.City == b.City && a.State == b.State &&
           a.Country == b.Country;
}

// Names of the entries of a menu, "-" for a separator without a name.
QStringList EntryNames(const QList<QAction*>& actions) {
    QStringList names;
    for (const QAction* action : actions) names << action->objectName();
    return names;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void aClickableLabelsWrappedHeightFollowsItsTextFontAndSetting() {
        // The heights it keeps must be those a plain label of the same text
        // and setting gives, before and after each change.
        velmora::ui::ClickableLabel label(QString::fromLatin1(velmora::ui::kCoBrandText));
        label.setWordWrap(true);
        QLabel plain;
        const auto same = [&] {
            plain.setText(label.text());
            plain.setFont(label.font());
            plain.setWordWrap(label.wordWrap());
            plain.setMargin(label.margin());
            plain.setIndent(label.indent());
            plain.setAlignment(label.alignment());
            plain.setContentsMargins(label.contentsMargins());
            for (int width : {120, 300, 640, 300, 120})
                if (label.heightForWidth(width) != plain.heightForWidth(width)) return false;
            return true;
        };
        QVERIFY(same());
        QVERIFY(label.heightForWidth(120) > label.heightForWidth(640));
        label.setText(QStringLiteral("Short."));
        QVERIFY(same());
        label.setText(QString::fromLatin1(velmora::ui::kFullBrandText));
        QVERIFY(same());
        QFont larger = label.font();
        larger.setPointSizeF(larger.pointSizeF() * 2);
        label.setFont(larger);
        QVERIFY(same());
        label.setMargin(20);
        QVERIFY(same());
        label.setContentsMargins(10, 10, 30, 10);
        QVERIFY(same());
        label.setWordWrap(false);
        QVERIFY(same());
    }

    void bannerAndPromotionStripWearTheWindowsOliveWithWhiteCaptions() {
        Fixture f;
        for (const char* name : {"Label61", "fraPromotion"}) {
            auto* widget = f.window.findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(widget, name);
            QCOMPARE(widget->palette().color(QPalette::Window), QColor(64, 64, 0));
            QCOMPARE(widget->palette().color(QPalette::WindowText), QColor(Qt::white));
        }
    }

    void init() { QGuiApplication::clipboard()->clear(); }

    void showsTheEntriesWithTheirInitialContents() {
        Fixture f;
        QCOMPARE(f.window.objectName(), QStringLiteral("frmMain"));
        // What the tests type a birth over: the form as it opens.
        QVERIFY(f.window.CurrentForm() == velmora::testing::FormOf(velmora::testing::FormTexts{}));
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Velmora Arudha Lagna v1.25"));

        QCOMPARE(Texts(f.get<QComboBox>("cboMonth")),
                 (QStringList{"January", "February", "March", "April", "May", "June", "July", "August", "September",
                              "October", "November", "December"}));
        QCOMPARE(Texts(f.get<QComboBox>("cboDate")), Numbers(1, 31));
        QCOMPARE(Texts(f.get<QComboBox>("cboYear")), Numbers(1901, 2050));
        QCOMPARE(Texts(f.get<QComboBox>("cboHH")), Numbers(0, 23));
        QCOMPARE(Texts(f.get<QComboBox>("cboMM")), Numbers(0, 59));
        QCOMPARE(Texts(f.get<QComboBox>("cboSS")), Numbers(0, 59));
        for (const char* name : {"cboMonth", "cboDate", "cboYear", "cboHH", "cboMM", "cboSS"}) {
            QCOMPARE(f.get<QComboBox>(name)->currentIndex(), 0);
            QVERIFY2(!f.get<QComboBox>(name)->isEditable(), name);
        }

        auto* zones = f.get<QComboBox>("cmbTimeZone");
        QCOMPARE(zones->count(), 71);
        for (int row = 0; row < 71; ++row) {
            const std::string_view text = velmora::core::ZoneTable()[static_cast<std::size_t>(row)].Text;
            QCOMPARE(zones->itemText(row), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        }
        QCOMPARE(zones->currentIndex(), 29);
        QCOMPARE(zones->currentText(), QStringLiteral("Greenwich Mean Time,GMT,0.0"));

        auto* dst = f.get<QCheckBox>("chkDST");
        QCOMPARE(dst->text(), QStringLiteral("Daylight Saving Time"));
        QVERIFY(!dst->isChecked());
        auto* zoneFrame = qobject_cast<QGroupBox*>(dst->parentWidget());
        QVERIFY(zoneFrame);
        QCOMPARE(zoneFrame->title(), QStringLiteral("Zone"));
        QCOMPARE(zones->parentWidget(), zoneFrame);

        const struct {
            const char* Name;
            int MaxLength;
            const char* Frame;
        } boxes[] = {{"txtLatD", 2, "Latitude"},
                     {"txtLatM", 2, "Latitude"},
                     {"txtLonD", 3, "Longitude"},
                     {"txtLonM", 2, "Longitude"}};
        for (const auto& box : boxes) {
            QCOMPARE(f.edit(box.Name)->maxLength(), box.MaxLength);
            QCOMPARE(f.edit(box.Name)->filter(), FilteredLineEdit::Filter::Digits);
            QCOMPARE(qobject_cast<QGroupBox*>(f.edit(box.Name)->parentWidget())->title(),
                     QString::fromLatin1(box.Frame));
        }
        QCOMPARE(f.edit("txtName")->filter(), FilteredLineEdit::Filter::Name);
        for (const char* name : {"txtName", "txtMCity", "txtMState", "txtMCountry"}) {
            QCOMPARE(f.get<QLineEdit>(name)->maxLength(), 32767);
            QVERIFY(f.get<QLineEdit>(name)->text().isEmpty());
        }
        for (const char* name : {"txtMCity", "txtMState", "txtMCountry"})
            QVERIFY2(!qobject_cast<FilteredLineEdit*>(f.get<QLineEdit>(name)), name);

        const struct {
            const char* Name;
            const char* Text;
            bool Checked;
            const char* Frame;
        } options[] = {{"optLat_0", "North", true, "Latitude"},
                       {"optLat_1", "South", false, "Latitude"},
                       {"optLong_0", "East", true, "Longitude"},
                       {"optLong_1", "West", false, "Longitude"}};
        for (const auto& option : options) {
            auto* button = f.get<QRadioButton>(option.Name);
            QCOMPARE(button->text(), QString::fromLatin1(option.Text));
            QCOMPARE(button->isChecked(), option.Checked);
            QCOMPARE(qobject_cast<QGroupBox*>(button->parentWidget())->title(), QString::fromLatin1(option.Frame));
        }

        QCOMPARE(f.get<QPushButton>("cmdBrowser")->text(), QStringLiteral("Click for Latitude && Longitude"));
        QCOMPARE(f.get<QPushButton>("cmdRashi")->text(), QStringLiteral("Analyze My Arudha Lagna"));
        QCOMPARE(f.get<QLabel>("lblExplanation")->text(),
                 QStringLiteral("Arudha literally means \"mount\". This signifies the image of a sign falling on "
                                "another sign. Arudha of the first house is known as Arudha Lagna. Arudha Lagna shows "
                                "how one manifests oneself in this world of Maya (Illusion). This shows how you are "
                                "perceived  by others."));
        QCOMPARE(f.get<QLabel>("lblFullBrand")->text(),
                 QStringLiteral("Home Business Opportunity. Start your own Internet business and make money online. "
                                "Get this software fully branded for your website. Click here for more details."));
        QCOMPARE(f.get<QLabel>("lblCobrand")->text(),
                 QStringLiteral("Co-brand this software for your site.  Increase loyalty and traffic to your site. "
                                "Put your site's name &  link here. See \"Help\" for details.    Click Here for more "
                                "info on co-branding."));
        QVERIFY(f.get<QLabel>("Label61")->text().contains(QString::fromLatin1(velmora::ui::kForumAddress)));
        QVERIFY(f.get<QLabel>("Label61")->text().contains(QStringLiteral("forum")));

        // Dark olive with white captions, in the program's font.
        const QWidget* client = f.window.centralWidget();
        QCOMPARE(client->palette().color(QPalette::Window), QColor(64, 64, 0));
        QCOMPARE(client->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(client->autoFillBackground());
        QCOMPARE(f.window.font().family(), velmora::ui::ProgramFontFamily());
        QVERIFY(f.window.font().family() == QStringLiteral("Verdana") ||
                f.window.font().family() == QStringLiteral("DejaVu Sans"));
    }

    void keepsTheLayoutOfTheColumns() {
        Fixture f;
        QVERIFY(f.showActive());
        auto top = [&](const char* name) { return f.get(name)->mapTo(&f.window, QPoint(0, 0)); };
        // Left column top to bottom; the zone frame has the check box above
        // the list; latitude and longitude side by side.
        QVERIFY(top("txtName").y() < top("cboMonth").y());
        QVERIFY(top("cboMonth").y() < top("cboHH").y());
        QVERIFY(top("cboHH").y() < top("chkDST").y());
        QVERIFY(top("chkDST").y() < top("cmbTimeZone").y());
        QVERIFY(top("cmbTimeZone").y() < top("txtLatD").y());
        QCOMPARE(top("fraLatitude").y(), top("fraLongitude").y());
        QVERIFY(top("fraLatitude").x() < top("fraLongitude").x());
        // Right column: explanation, the three place boxes with the look-up
        // beside them, then the analysis button.
        QVERIFY(top("lblExplanation").x() > top("txtName").x() + f.get("txtName")->width());
        QVERIFY(top("lblExplanation").y() < top("txtMCity").y());
        QVERIFY(top("txtMCity").y() < top("txtMState").y());
        QVERIFY(top("txtMState").y() < top("txtMCountry").y());
        QVERIFY(top("cmdBrowser").x() > top("txtMCity").x());
        QVERIFY(top("cmdRashi").y() > top("txtMCountry").y());
        // The banner on top, the promotional strip at the bottom.
        QVERIFY(top("Label61").y() < top("txtName").y());
        QVERIFY(top("lblFullBrand").y() > top("txtLatD").y());
    }

    void startsInTheNameBoxAndTabsInTheListedOrder() {
        Fixture f;
        QVERIFY(f.showActive());
        QCOMPARE(QApplication::focusWidget(), f.get("txtName"));

        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 22; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        // An option pair is one stop, at its chosen button.
        const QStringList expected{"txtName",     "cboMonth", "cboDate",   "cboYear",     "cboHH",      "cboMM",
                                   "cboSS",       "chkDST",   "txtLonM",   "optLong_0",   "txtLatD",    "txtLatM",
                                   "optLat_0",    "txtMCity", "txtMState", "txtMCountry", "cmdBrowser", "txtLonD",
                                   "cmbTimeZone", "cmdRashi", "txtName",   "cboMonth",    "cboDate"};
        QCOMPARE(visited, expected);
    }

    void digitBoxesRefuseEverythingButDigits() {
        Fixture f;
        QVERIFY(f.showActive());
        FilteredLineEdit* box = f.edit("txtLonD");
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("1x"));
        QCOMPARE(box->text(), QStringLiteral("1"));
        QCOMPARE(f.messages.Notices.size(), 1);
        QCOMPARE(f.messages.Notices[0].Text, QStringLiteral("Only Numbers Are Accepted"));
        QCOMPARE(f.messages.Notices[0].Icon, velmora::core::MessageIcon::Critical);

        // Blank, sign and Enter are refused characters too.
        QTest::keyClick(box, Qt::Key_Space);
        QTest::keyClick(box, Qt::Key_Minus);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), QStringLiteral("1"));
        QCOMPARE(f.messages.Notices.size(), 4);

        // Ctrl+V pastes through the filter; a refused piece is refused whole.
        QGuiApplication::clipboard()->setText(QStringLiteral("2"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("12"));
        QGuiApplication::clipboard()->setText(QStringLiteral("3x"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("12"));
        QCOMPARE(f.messages.Notices.size(), 5);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("1"));

        // Digits and Backspace pass; the maximum length stops a fourth digit
        // without a notice.
        QTest::keyClicks(box, QStringLiteral("234"));
        QCOMPARE(box->text(), QStringLiteral("123"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("12"));
        QCOMPARE(f.messages.Notices.size(), 5);

        // Arrows and Delete are no characters: no notice.
        QTest::keyClick(box, Qt::Key_Left);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("1"));
        QCOMPARE(f.messages.Notices.size(), 5);
        for (const auto& notice : f.messages.Notices) QCOMPARE(notice.Icon, velmora::core::MessageIcon::Critical);
    }

    void theNameBoxTakesLettersAsCapitals() {
        Fixture f;
        QVERIFY(f.showActive());
        FilteredLineEdit* box = f.edit("txtName");
        QTest::keyClicks(box, QStringLiteral("ravi Kumar"));
        QCOMPARE(box->text(), QStringLiteral("RAVI KUMAR"));
        QVERIFY(f.messages.Notices.isEmpty());

        QTest::keyClicks(box, QStringLiteral("-1.:"));
        QCOMPARE(box->text(), QStringLiteral("RAVI KUMAR"));
        QCOMPARE(f.messages.Notices.size(), 4);
        for (const auto& notice : f.messages.Notices) {
            QCOMPARE(notice.Text, QStringLiteral("Please Enter only Letters"));
            QCOMPARE(notice.Icon, velmora::core::MessageIcon::Information);
        }

        // Enter and Backspace pass without a notice.
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("RAVI KUMA"));
        QCOMPARE(f.messages.Notices.size(), 4);
    }

    void editingShortcutsWorkWithoutARefusal() {
        Fixture f;
        QVERIFY(f.showActive());
        FilteredLineEdit* name = f.edit("txtName");
        QTest::keyClicks(name, QStringLiteral("ravi"));
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);  // select all
        QCOMPARE(name->selectedText(), QStringLiteral("RAVI"));
        QTest::keyClick(name, Qt::Key_C, Qt::ControlModifier);  // copy
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("RAVI"));
        QTest::keyClick(name, Qt::Key_X, Qt::ControlModifier);  // cut
        QCOMPARE(name->text(), QString());
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);  // undo
        QCOMPARE(name->text(), QStringLiteral("RAVI"));
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // redo
        QCOMPARE(name->text(), QString());
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);  // paste: letters pass
        QCOMPARE(name->text(), QStringLiteral("RAVI"));
        QVERIFY(f.messages.Notices.isEmpty());

        FilteredLineEdit* degrees = f.edit("txtLatD");
        QTest::keyClicks(degrees, QStringLiteral("28"));
        QTest::keyClick(degrees, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(degrees, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(degrees, Qt::Key_Insert, Qt::ShiftModifier);  // the same digits again, replacing them
        QCOMPARE(degrees->text(), QStringLiteral("28"));
        QVERIFY(f.messages.Notices.isEmpty());
    }

    void aPasteGoesInWholeOrNotAtAll() {
        Fixture f;
        QVERIFY(f.showActive());
        FilteredLineEdit* name = f.edit("txtName");
        QTest::keyClicks(name, QStringLiteral("ab"));

        // Shift+Insert: letters go in as capitals at the cursor.
        QGuiApplication::clipboard()->setText(QStringLiteral("cd ef"));
        QTest::keyClick(name, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(name->text(), QStringLiteral("ABCD EF"));
        QVERIFY(f.messages.Notices.isEmpty());

        // One refused character refuses the whole piece.
        QGuiApplication::clipboard()->setText(QStringLiteral("gh7"));
        QTest::keyClick(name, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(name->text(), QStringLiteral("ABCD EF"));
        QCOMPARE(f.messages.Notices.size(), 1);
        QCOMPARE(f.messages.Notices.last().Text, QStringLiteral("Please Enter only Letters"));

        // The context menu's Paste takes the same road, replacing the selection.
        name->setSelection(0, 2);
        QGuiApplication::clipboard()->setText(QStringLiteral("xy"));
        std::unique_ptr<QMenu> menu(name->CreateFilteredContextMenu());
        QAction* paste = nullptr;
        for (QAction* action : menu->actions())
            if (action->objectName() == QStringLiteral("edit-paste")) paste = action;
        QVERIFY(paste);
        paste->trigger();
        QCOMPARE(name->text(), QStringLiteral("XYCD EF"));
        QGuiApplication::clipboard()->setText(QStringLiteral("o'neil"));
        menu.reset(name->CreateFilteredContextMenu());
        for (QAction* action : menu->actions())
            if (action->objectName() == QStringLiteral("edit-paste")) action->trigger();
        QCOMPARE(name->text(), QStringLiteral("XYCD EF"));
        QCOMPARE(f.messages.Notices.size(), 2);

        // Digit boxes: digits only, and the result must fit the length.
        FilteredLineEdit* minutes = f.edit("txtLatM");
        minutes->setFocus();
        QGuiApplication::clipboard()->setText(QStringLiteral("4"));
        QTest::keyClick(minutes, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(minutes->text(), QStringLiteral("4"));
        QGuiApplication::clipboard()->setText(QStringLiteral("59"));
        QTest::keyClick(minutes, Qt::Key_Insert, Qt::ShiftModifier);  // would make "459"
        QCOMPARE(minutes->text(), QStringLiteral("4"));
        QGuiApplication::clipboard()->setText(QStringLiteral("5 "));
        QTest::keyClick(minutes, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(minutes->text(), QStringLiteral("4"));
        minutes->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("59"));
        QTest::keyClick(minutes, Qt::Key_Insert, Qt::ShiftModifier);  // replaces the selection: fits
        QCOMPARE(minutes->text(), QStringLiteral("59"));
        QCOMPARE(f.messages.Notices.size(), 4);
        QCOMPARE(f.messages.Notices[2].Text, QStringLiteral("Only Numbers Are Accepted"));
        QCOMPARE(f.messages.Notices[3].Text, QStringLiteral("Only Numbers Are Accepted"));
        QCOMPARE(f.messages.Notices[3].Icon, velmora::core::MessageIcon::Critical);
    }

    void aDropGoesInWholeOrNotAtAll() {
        Fixture f;
        QVERIFY(f.showActive());
        FilteredLineEdit* name = f.edit("txtName");
        auto drop = [](QWidget* target, const QString& text) {
            QMimeData data;
            data.setText(text);
            // A drag enters the box, then drops at its right end.
            const QPoint at(target->width() - 4, target->height() / 2);
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            if (!enter.isAccepted()) return false;
            QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &event);
            return event.isAccepted();
        };
        QTest::keyClicks(name, QStringLiteral("ann"));
        QVERIFY(drop(name, QStringLiteral(" marie")));
        QCOMPARE(name->text(), QStringLiteral("ANN MARIE"));
        QVERIFY(!drop(name, QStringLiteral("smith-jones")));
        QCOMPARE(name->text(), QStringLiteral("ANN MARIE"));
        QCOMPARE(f.messages.Notices.size(), 1);
        QCOMPARE(f.messages.Notices[0].Text, QStringLiteral("Please Enter only Letters"));

        FilteredLineEdit* degrees = f.edit("txtLonD");
        QVERIFY(drop(degrees, QStringLiteral("17")));
        QCOMPARE(degrees->text(), QStringLiteral("17"));
        QVERIFY(!drop(degrees, QStringLiteral("99")));  // four digits do not fit three
        QVERIFY(!drop(degrees, QStringLiteral("x")));
        QCOMPARE(degrees->text(), QStringLiteral("17"));
        QCOMPARE(f.messages.Notices.size(), 3);
        QCOMPARE(f.messages.Notices[2].Icon, velmora::core::MessageIcon::Critical);
    }

    void anInputMethodCommitGoesInWholeOrNotAtAll() {
        Fixture f;
        QVERIFY(f.showActive());
        auto commit = [](QWidget* target, const QString& text) {
            QInputMethodEvent event;
            event.setCommitString(text);
            QApplication::sendEvent(target, &event);
        };
        FilteredLineEdit* name = f.edit("txtName");
        commit(name, QStringLiteral("jo"));
        QCOMPARE(name->text(), QStringLiteral("JO"));
        commit(name, QStringLiteral("\u00e9"));  // no letter of A to Z
        QCOMPARE(name->text(), QStringLiteral("JO"));
        QCOMPARE(f.messages.Notices.size(), 1);
        QCOMPARE(f.messages.Notices[0].Text, QStringLiteral("Please Enter only Letters"));

        FilteredLineEdit* degrees = f.edit("txtLatD");
        degrees->setFocus();
        commit(degrees, QStringLiteral("8"));
        commit(degrees, QStringLiteral("\uff19"));  // a full-width nine is no digit 0-9
        commit(degrees, QStringLiteral("12"));      // too long for the box
        QCOMPARE(degrees->text(), QStringLiteral("8"));
        QCOMPARE(f.messages.Notices.size(), 3);
        QCOMPARE(f.messages.Notices[2].Text, QStringLiteral("Only Numbers Are Accepted"));
    }

    void refusesAFailedFormWithItsNoticeAndFocus_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lonD");
        QTest::addColumn<QString>("lonM");
        QTest::addColumn<QString>("latD");
        QTest::addColumn<QString>("latM");
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<bool>("critical");
        QTest::addColumn<QString>("focus");

        const QString none;
        QTest::newRow("untouched form") << ""
                                        << ""
                                        << ""
                                        << ""
                                        << "" << 0 << "1"
                                        << "1901"
                                        << "Please Enter Name" << true << "txtName";
        QTest::newRow("name first") << ""
                                    << "999"
                                    << ""
                                    << "99"
                                    << "" << 0 << "1"
                                    << "1901"
                                    << "Please Enter Name" << true << "txtName";
        QTest::newRow("blank name") << "   "
                                    << "10"
                                    << "10"
                                    << "10"
                                    << "10" << 0 << "1"
                                    << "1901"
                                    << "Please Enter Name" << true << "txtName";
        QTest::newRow("longitude 180") << "A"
                                       << "180"
                                       << "0"
                                       << "0"
                                       << "0" << 0 << "1"
                                       << "1901"
                                       << "Please Enter Value Between 0 And 179 in the Degree of Longitude" << true
                                       << "txtLonD";
        QTest::newRow("longitude missing")
            << "A"
            << ""
            << "0"
            << "0"
            << "0" << 0 << "1"
            << "1901"
            << "Please Enter Value Between 0 And 179 in the Degree of Longitude" << true << "txtLonD";
        QTest::newRow("longitude minutes 60")
            << "A"
            << "179"
            << "60"
            << "0"
            << "0" << 0 << "1"
            << "1901"
            << "Please Enter Value Between 0 And 59 in the  Minute of Longitude" << true << "txtLonM";
        QTest::newRow("longitude minutes missing")
            << "A"
            << "5"
            << ""
            << "0"
            << "0" << 0 << "1"
            << "1901"
            << "Please Enter Value Between 0 And 59 in the  Minute of Longitude" << true << "txtLonM";
        QTest::newRow("latitude 90") << "A"
                                     << "0"
                                     << "59"
                                     << "90"
                                     << "0" << 0 << "1"
                                     << "1901"
                                     << "Please Enter Value Between 0 And 89 in the Degree of Latitude" << true
                                     << "txtLatD";
        QTest::newRow("latitude minutes 60")
            << "A"
            << "0"
            << "0"
            << "89"
            << "60" << 0 << "1"
            << "1901"
            << "Please Enter Value Between 0 And 59 in the  Minute of Latitude" << true << "txtLatM";
        QTest::newRow("29 February 1901") << "A"
                                          << "0"
                                          << "0"
                                          << "0"
                                          << "0" << 1 << "29"
                                          << "1901"
                                          << "Please Enter Correct Date Or Month!" << false << none;
        QTest::newRow("30 February 2000") << "A"
                                          << "0"
                                          << "0"
                                          << "0"
                                          << "0" << 1 << "30"
                                          << "2000"
                                          << "Please Enter Correct Date Or Month!" << false << none;
        QTest::newRow("31 April") << "A"
                                  << "0"
                                  << "0"
                                  << "0"
                                  << "0" << 3 << "31"
                                  << "1980"
                                  << "Please Enter Correct Date Or Month !" << false << none;
        QTest::newRow("31 November") << "A"
                                     << "0"
                                     << "0"
                                     << "0"
                                     << "0" << 10 << "31"
                                     << "1980"
                                     << "Please Enter Correct Date Or Month !" << false << none;
    }

    void refusesAFailedFormWithItsNoticeAndFocus() {
        QFETCH(QString, name);
        QFETCH(QString, lonD);
        QFETCH(QString, lonM);
        QFETCH(QString, latD);
        QFETCH(QString, latM);
        QFETCH(int, month);
        QFETCH(QString, day);
        QFETCH(QString, year);
        QFETCH(QString, notice);
        QFETCH(bool, critical);
        QFETCH(QString, focus);

        Fixture f;
        QVERIFY(f.showActive());
        // The row's entries; the rest as the window opens.
        f.typeBirth({.Name = name.toStdString(),
                     .MonthIndex = month,
                     .Day = day.toStdString(),
                     .Year = year.toStdString(),
                     .LatitudeDegrees = latD.toStdString(),
                     .LatitudeMinutes = latM.toStdString(),
                     .LongitudeDegrees = lonD.toStdString(),
                     .LongitudeMinutes = lonM.toStdString()});
        QVERIFY(f.messages.Notices.isEmpty());
        f.get<QComboBox>("cboMM")->setFocus();  // where the focus stays when the check names no box
        const velmora::core::FormInput before = f.window.CurrentForm();

        f.action("mnuNext")->trigger();  // leaves the focus alone, unlike a click

        QCOMPARE(f.messages.Notices.size(), 1);
        QCOMPARE(f.messages.Notices[0].Text, notice);
        QCOMPARE(f.messages.Notices[0].Icon,
                 critical ? velmora::core::MessageIcon::Critical : velmora::core::MessageIcon::Information);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus.isEmpty() ? QStringLiteral("cboMM") : focus);
        QVERIFY(SameForm(before, f.window.CurrentForm()));
        QVERIFY(!f.window.resultWindow());
        QVERIFY(f.window.isVisible());
    }

    void theBoundaryValuesPass() {
        Fixture f;
        QVERIFY(f.showActive());
        f.typeBirth({.Name = "a",
                     .MonthIndex = 1,
                     .Day = "29",
                     .Year = "2048",
                     .LatitudeDegrees = "89",
                     .LatitudeMinutes = "0",
                     .LongitudeDegrees = "179",
                     .LongitudeMinutes = "59"});
        f.action("mnuNext")->trigger();
        QVERIFY(f.messages.Notices.isEmpty());
        QVERIFY(f.window.resultWindow());
        QVERIFY(f.window.resultWindow()->isVisible());
        QVERIFY(!f.window.isVisible());
    }

    void theLookUpChecksThePlaceAndOpensAnEncodedSearch() {
        Fixture f;
        QVERIFY(f.showActive());
        auto* lookUp = f.get("cmdBrowser");
        QTest::mouseClick(lookUp, Qt::LeftButton);
        QCOMPARE(f.messages.Notices.size(), 1);
        QCOMPARE(f.messages.Notices[0].Text, QStringLiteral("Please Enter City"));
        QCOMPARE(f.messages.Notices[0].Icon, velmora::core::MessageIcon::Information);
        QCOMPARE(QApplication::focusWidget(), f.get("txtMCity"));

        // Blanks count as text; an empty state is the next complaint.
        QTest::keyClicks(f.get("txtMCity"), QStringLiteral("  "));
        f.get("txtName")->setFocus();
        QTest::mouseClick(lookUp, Qt::LeftButton);
        QCOMPARE(f.messages.Notices.size(), 2);
        QCOMPARE(f.messages.Notices[1].Text, QStringLiteral("Please Enter State"));
        QCOMPARE(QApplication::focusWidget(), f.get("txtMState"));

        QTest::keyClicks(f.get("txtMState"), QStringLiteral("x"));
        QTest::mouseClick(lookUp, Qt::LeftButton);
        QCOMPARE(f.messages.Notices.size(), 3);
        QCOMPARE(f.messages.Notices[2].Text, QStringLiteral("Please Enter Country"));
        QCOMPARE(QApplication::focusWidget(), f.get("txtMCountry"));
        QVERIFY(f.opener.Opened.isEmpty());

        // Texts go in exactly as typed; '&' and '#' cannot change the page.
        f.get<QLineEdit>("txtMCity")->setText(QStringLiteral("Rock & Roll "));
        f.get<QLineEdit>("txtMState")->setText(QStringLiteral("S\u00e3o Paulo"));
        f.get<QLineEdit>("txtMCountry")->setText(QStringLiteral("Land #9"));
        QTest::mouseClick(lookUp, Qt::LeftButton);
        QCOMPARE(f.messages.Notices.size(), 3);
        QCOMPARE(f.opener.Opened.size(), 1);
        const QUrl opened = f.opener.Opened[0];
        QCOMPARE(
            opened.toEncoded(),
            QByteArrayLiteral("https://www.openstreetmap.org/search?query=Rock%20%26%20Roll%20%20S%C3%A3o%20Paulo%20"
                              "Land%20%239%20Latitude%20Longitude"));
        QCOMPARE(QUrlQuery(opened).queryItemValue(QStringLiteral("query"), QUrl::FullyDecoded),
                 QStringLiteral("Rock & Roll  S\u00e3o Paulo Land #9 Latitude Longitude"));
        QVERIFY(opened.fragment().isEmpty());
        // Nothing on the form changes.
        QVERIFY(f.edit("txtLatD")->text().isEmpty());
        QVERIFY(f.edit("txtLonD")->text().isEmpty());
    }

    void theMenuBarHoldsTheCommandsInOrder() {
        Fixture f;
        QMenuBar* bar = f.window.menuBar();
        QCOMPARE(EntryNames(bar->actions()),
                 (QStringList{"mnuFile", "mnuSettings", "mnuHelp", "mnuDonate", "mkmoney"}));
        QStringList captions;
        for (const QAction* action : bar->actions()) captions << action->text();
        QCOMPARE(captions, (QStringList{"&File", "&Settings", "&Help", "&Donate", "Make Money &Online"}));
        QVERIFY(!f.action("mkmoney")->isEnabled());
        QVERIFY(f.action("mnuDonate")->isEnabled());
        QVERIFY(!f.action("mnuDonate")->menu());

        QMenu* file = f.get<QMenu>("mnuFile");
        QCOMPARE(EntryNames(file->actions()),
                 (QStringList{"mnuOpenBirth", "mnuOpenRecent", "mnuSaveBirth", "mnuSaveBirthAs", "mnuFileSep",
                              "mnuLibrary", "mnuAddToLibrary", "mnuUpdateInLibrary", "mnuImportPlaces", "mnuLibrarySep",
                              "mnuNext", "mnuExit"}));
        QCOMPARE(f.action("mnuOpenBirth")->text(), QStringLiteral("&Open Birth\u2026"));
        QCOMPARE(f.action("mnuSaveBirth")->text(), QStringLiteral("&Save Birth\u2026"));
        QCOMPARE(f.action("mnuSaveBirthAs")->text(), QStringLiteral("Save Birth &As\u2026"));
        QCOMPARE(f.get<QMenu>("mnuOpenRecent")->title(), QStringLiteral("Open &Recent"));
        QVERIFY(f.action("mnuFileSep")->isSeparator());
        QCOMPARE(f.action("mnuNext")->text(), QStringLiteral("Analyze My Arudha Lagna"));
        QCOMPARE(f.action("mnuExit")->text(), QStringLiteral("E&xit"));

        QMenu* help = f.get<QMenu>("mnuHelp");
        QCOMPARE(EntryNames(help->actions()),
                 (QStringList{"mnuOnline", "mnuVisit", "mnuHelp1", "mnuUpdate", "mnuHelp2", "mnuAbout"}));
        QVERIFY(f.action("mnuHelp1")->isSeparator());
        QVERIFY(f.action("mnuHelp2")->isSeparator());
        QCOMPARE(f.action("mnuOnline")->text(), QStringLiteral("&Online Help"));
        QCOMPARE(f.action("mnuVisit")->text(), QStringLiteral("&Visit Us Online"));
        QCOMPARE(f.action("mnuUpdate")->text(), QStringLiteral("Check for Software &Update"));
        QCOMPARE(f.action("mnuAbout")->text(), QStringLiteral("&About Software"));
    }

    void theLinkCommandsOpenTheirPages() {
        Fixture f;
        QVERIFY(f.showActive());
        f.action("mnuOnline")->trigger();
        f.action("mnuVisit")->trigger();
        f.action("mnuUpdate")->trigger();
        f.action("mnuDonate")->trigger();
        f.action("mkmoney")->trigger();  // switched off: nothing
        QTest::mouseClick(f.get("Label61"), Qt::LeftButton);
        f.window.BringPromotionLabelToFront(MainWindow::PromotionLabel::FullBrand);
        QTest::mouseClick(f.get("lblFullBrand"), Qt::LeftButton);
        f.window.BringPromotionLabelToFront(MainWindow::PromotionLabel::CoBrand);
        QTest::mouseClick(f.get("lblCobrand"), Qt::LeftButton);
        QCOMPARE(f.opener.Opened, (QList<QUrl>{Links::OnlineHelpUrl(), Links::HomePageUrl(), Links::DownloadPageUrl(),
                                               Links::DonationPageUrl(), Links::HomePageUrl(),
                                               Links::FullBrandPageUrl(), Links::CoBrandPageUrl()}));
        QVERIFY(f.messages.Notices.isEmpty());
    }

    void onlyTheFrontPromotionLabelIsShown() {
        Fixture f;
        QVERIFY(f.showActive());
        auto* full = f.get("lblFullBrand");
        auto* co = f.get("lblCobrand");
        f.window.BringPromotionLabelToFront(MainWindow::PromotionLabel::FullBrand);
        const QRect place = full->geometry();
        QVERIFY(full->isVisible());
        QVERIFY(!co->isVisible());
        f.window.BringPromotionLabelToFront(MainWindow::PromotionLabel::CoBrand);
        QCOMPARE(co->geometry(), place);  // one over the other
        QVERIFY(co->isVisible());
        QVERIFY(!full->isVisible());
        // A click at the place reaches the front label only.
        QWidget* hit = f.window.childAt(co->mapTo(&f.window, co->rect().center()));
        QCOMPARE(hit, co);
    }

    void theFileMenuAnalysesAndExits() {
        Fixture f;
        QVERIFY(f.showActive());
        QSignalSpy about(&f.window, &MainWindow::aboutRequested);
        QSignalSpy shutDown(&f.window, &MainWindow::shutDownRequested);

        f.action("mnuNext")->trigger();  // empty name, exactly like the button
        QTest::mouseClick(f.get("cmdRashi"), Qt::LeftButton);
        QCOMPARE(f.messages.Notices.size(), 2);
        QCOMPARE(f.messages.Notices[0].Text, QStringLiteral("Please Enter Name"));
        QCOMPARE(f.messages.Notices[1].Text, QStringLiteral("Please Enter Name"));
        QVERIFY(!f.window.resultWindow());

        f.action("mnuAbout")->trigger();
        QCOMPARE(about.size(), 1);
        QCOMPARE(about[0][0].value<QWidget*>(), static_cast<QWidget*>(&f.window));
        QCOMPARE(shutDown.size(), 0);

        f.action("mnuExit")->trigger();
        QCOMPARE(shutDown.size(), 1);
        QVERIFY(!f.window.isVisible());
    }

    void theCloseBoxAsksToShutDown() {
        Fixture f;
        QVERIFY(f.showActive());
        QSignalSpy shutDown(&f.window, &MainWindow::shutDownRequested);
        QVERIFY(f.window.close());
        QCOMPARE(shutDown.size(), 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
