// The result window: its fixed contents and arrangement, a whole analysis
// from typed input to every control, Back and a second analysis, and its
// commands.

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "core/form_builders.h"
#include "core/pipeline.h"
#include "ui/main_window.h"
#include "ui/links.h"
#include "ui/result_window.h"
#include "ui/window_fixture.h"

using velmora::MainWindow;
using velmora::testing::RecordingOpener;
using velmora::testing::TypeBirth;
using velmora::ui::Links;
using velmora::ui::ResultWindow;

namespace {

using velmora::testing::Q;

QString Shown(std::string_view text) {
    return Q(std::string(text)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

template <class T = QWidget>
T* Child(const QWidget* window, const QString& name) {
    return window->findChild<T*>(name);
}

// The positions and the profile pages are built when first shown or asked
// for: asked for here, so that their controls can be looked up by name.
template <class T = QWidget>
T* Child(ResultWindow* window, const QString& name) {
    window->planetsPage();
    window->profilePage();
    return window->findChild<T*>(name);
}

QPoint TopLeftIn(const QWidget* widget, const QWidget* ancestor) { return widget->mapTo(ancestor, QPoint(0, 0)); }

// The sample birth typed into the input window, and another with another
// Arudha Lagna.
const velmora::testing::FormTexts kDelhi1980 = velmora::testing::DelhiBirth("ravi kumar");
const velmora::testing::FormTexts kDelhi1984 = [] {
    velmora::testing::FormTexts birth = kDelhi1980;
    birth.MonthIndex = 6;
    birth.Day = "20";
    birth.Year = "1984";
    return birth;
}();

// Every control of the result window against the analysis record.
void CompareWithRecord(ResultWindow* window, const velmora::core::DisplayTexts& record) {
    for (std::size_t k = 0; k < 12; ++k) {
        const auto* box = Child<QLabel>(window, Q(velmora::ui::kSignBoxNames[k]));
        QVERIFY(box);
        QCOMPARE(box->text(), Shown(record.SignBoxes[k]));
        QCOMPARE(Child<QLabel>(window, QStringLiteral("lblArudha_%1").arg(k))->text(), Shown(record.ArudhaMarkers[k]));
    }
    const std::string* details[] = {&record.Details.Name,     &record.Details.DateOfBirth, &record.Details.TimeOfBirth,
                                    &record.Details.Latitude, &record.Details.Longitude,   &record.Details.City,
                                    &record.Details.State,    &record.Details.Country};
    for (std::size_t i = 0; i < 8; ++i)
        QCOMPARE(Child<QLabel>(window, Q(velmora::ui::kDetailControlNames[i]))->text(), Shown(*details[i]));
    for (int i = 0; i < 10; ++i)
        QCOMPARE(Child<QLabel>(window, QStringLiteral("planet_%1").arg(i))->text(),
                 Shown(record.Positions[static_cast<std::size_t>(i)]));
    for (std::size_t i = 0; i < velmora::ui::kProfileControlNames.size(); ++i) {
        const QString name = Q(velmora::ui::kProfileControlNames[i]);
        const QString expected = Shown(record.Profile[i]);
        if (auto* label = Child<QLabel>(window, name)) {
            QCOMPARE(label->text(), expected);
        } else {
            auto* box = Child<QPlainTextEdit>(window, name);
            QVERIFY2(box, qPrintable(name));
            QCOMPARE(box->toPlainText(), expected);
        }
    }

    // The readings: the plain text, and every character in the weight and
    // colour of its run.
    const auto* rtb = Child<QTextEdit>(window, QStringLiteral("RTB"));
    QString plain;
    for (const auto& run : record.Readings) plain += Shown(run.Text);
    QCOMPARE(rtb->toPlainText(), plain);
    QTextCursor cursor(rtb->document());
    int position = 0;
    for (const auto& run : record.Readings) {
        const QString text = Shown(run.Text);
        for (int i = 0; i < text.size(); ++i, ++position) {
            if (text.at(i) == QLatin1Char('\n')) continue;
            cursor.setPosition(position + 1);
            const QTextCharFormat format = cursor.charFormat();
            QCOMPARE(format.fontWeight() >= QFont::Bold, run.Bold);
            QCOMPARE(format.foreground().color(), QColor::fromRgb(run.Color));
        }
    }
}

using Program = velmora::testing::InputWindowFixture;

}  // namespace

class ResultWindowTest : public QObject {
    Q_OBJECT

private slots:
    void holdsTheFixedTextsOfItsThreeTabs() {
        RecordingOpener opener;
        Links links(opener);
        ResultWindow window(links);
        QCOMPARE(window.objectName(), QStringLiteral("frmDisplay"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Velmora Arudha Lagna v1.25"));
        QCOMPARE(window.font().family(), velmora::ui::ProgramFontFamily());

        auto* tabs = Child<QTabWidget>(&window, QStringLiteral("SSTab1"));
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 8);  // the three below, then the added ones (toolkit_tabs_test)
        QCOMPARE(tabs->tabText(0), QStringLiteral("Arudha Lagna Chart"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Planetary Details"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("Arudha Lagna Details"));

        QCOMPARE(Child<QLabel>(&window, QStringLiteral("Label10"))->text(), QStringLiteral("Velmora Arudha Lagna"));
        QCOMPARE(Child<QGroupBox>(&window, QStringLiteral("fraDetails"))->title(), QStringLiteral("Your Details"));
        QStringList captions;
        for (const char* name : {"lblDOBCaption", "lblTOBCaption", "lblLongitudeCaption", "lblLatitudeCaption",
                                 "lblCityCaption", "lblStateCaption", "lblCountryCaption"})
            captions << Child<QLabel>(&window, QString::fromLatin1(name))->text();
        QCOMPARE(captions, (QStringList{"Date of Birth :", "Timeof Birth :", "Longitude :", "Latitude   :", "City :",
                                        "State :", "Country :"}));

        QCOMPARE(Child<QGroupBox>(&window, QStringLiteral("fraWestern"))->title(),
                 QStringLiteral("Vedic Planetary Position"));
        const QStringList planets{"Surya/Sun",    "Chandra/Moon", "Budha/Mercury",   "Shukra/Venus",    "Mangala/Mars",
                                  "Guru/Jupiter", "Shani/Saturn", "Rahu/North Node", "Ketu/South node", "Asc/Lagna"};
        for (int i = 0; i < 10; ++i)
            QCOMPARE(Child<QLabel>(&window, QStringLiteral("PlanetName_%1").arg(i))->text(), planets[i]);
        QCOMPARE(Child<QGroupBox>(&window, QStringLiteral("Frame3"))->title(),
                 QStringLiteral("Arudha Lagna Interpretation"));
        QCOMPARE(Child<QLabel>(&window, QStringLiteral("Label5"))->text(),
                 QStringLiteral("Arudha literally means mount. This signifies the image of a sign falling on another "
                                "sign. Arudha of the first house is known as Arudha Lagna. Arudha Lagna shows how one "
                                "manifests oneself in this world of Maya (Illusion). This shows how you are perceived  "
                                "by others."));
        QCOMPARE(Child<QLabel>(&window, QStringLiteral("Label6"))->text(),
                 QStringLiteral("This shows us issues related to status and power. This shows what people think of "
                                "you and your image."));
        QCOMPARE(Child<QLabel>(&window, QStringLiteral("Label7"))->text(),
                 QStringLiteral("More About Your Arudha Lagna"));
        auto* rtb = Child<QTextEdit>(&window, QStringLiteral("RTB"));
        QVERIFY(rtb->isReadOnly());
        QVERIFY(rtb->toPlainText().isEmpty());

        QCOMPARE(Child<QGroupBox>(&window, QStringLiteral("Frame4"))->title(),
                 QStringLiteral("Arudha Lagna Interpretation"));
        for (std::size_t i = 0; i < velmora::ui::kProfileControlNames.size(); ++i) {
            const QString name = Q(velmora::ui::kProfileControlNames[i]);
            QCOMPARE(Child<QLabel>(&window, name + QStringLiteral("Caption"))->text(),
                     Q(velmora::core::kProfileCaptions[i]));
            if (name.startsWith(QStringLiteral("txt"))) {
                auto* box = Child<QPlainTextEdit>(&window, name);
                QVERIFY2(box && box->isReadOnly(), qPrintable(name));
            } else {
                QVERIFY2(Child<QLabel>(&window, name), qPrintable(name));
            }
        }

        QCOMPARE(Child<QPushButton>(&window, QStringLiteral("cmdBack"))->text(), QStringLiteral("&Back"));
        QCOMPARE(Child<QLabel>(&window, QStringLiteral("lblFullBrand"))->text(),
                 QString::fromLatin1(velmora::ui::kFullBrandText));
        QCOMPARE(Child<QLabel>(&window, QStringLiteral("lblCobrand"))->text(),
                 QString::fromLatin1(velmora::ui::kCoBrandText));
        QVERIFY(Child<QLabel>(&window, QStringLiteral("Label61"))
                    ->text()
                    .contains(QString::fromLatin1(velmora::ui::kForumAddress)));

        QStringList bar, file, help;
        for (const QAction* action : window.menuBar()->actions()) bar << action->objectName() + "=" + action->text();
        for (const QAction* action : Child<QMenu>(&window, QStringLiteral("mnuFile"))->actions())
            file << action->objectName() + "=" + action->text();
        for (const QAction* action : Child<QMenu>(&window, QStringLiteral("mnuHelp"))->actions())
            help << action->objectName() + (action->isSeparator() ? QStringLiteral("=-") : "=" + action->text());
        QCOMPARE(bar, (QStringList{"mnuFile=&File", "mnuView=&View", "mnuHelp=&Help", "mnuDonate=&Donate",
                                   "mnumakemoney=Make Money &Online"}));
        QCOMPARE(file, (QStringList{"mnuPrint=&Print\u2026", "mnuExportPdf=Export P&DF\u2026",
                                    "mnuSaveChartImage=Save &Chart Image\u2026", "mnuFileSep=", "mnuBack=Back",
                                    "mnuExit=E&xit"}));
        QCOMPARE(help, (QStringList{"mnuOnline=&Online Help", "mnuVisit=&Visit Us Online", "mnuSep1=-",
                                    "mnuUpdate=Check for Software &Update", "mnuSep2=-", "mnuAbout=&About Software"}));
        QVERIFY(!window.findChild<QAction*>(QStringLiteral("mnumakemoney"))->isEnabled());
    }

    void arrangesTheChartAsAFixedGrid() {
        RecordingOpener opener;
        Links links(opener);
        ResultWindow window(links);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QWidget* chart = Child(&window, QStringLiteral("fraBirthchart"));
        auto box = [&](int sign) { return Child(&window, QStringLiteral("shpHora_%1").arg(sign)); };
        auto at = [&](int sign) { return TopLeftIn(box(sign), chart); };

        // Rows of the grid: Pisces Aries Taurus Gemini / Aquarius .. Cancer /
        // Capricorn .. Leo / Sagittarius Scorpio Libra Virgo.
        const int rows[4][4] = {{11, 0, 1, 2}, {10, -1, -1, 3}, {9, -1, -1, 4}, {8, 7, 6, 5}};
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                const int sign = rows[r][c];
                if (sign < 0) continue;
                QCOMPARE(box(sign)->parentWidget()->parentWidget(), chart);
                QCOMPARE(at(sign).y(), at(rows[r][0] >= 0 ? rows[r][0] : 11).y());
                QCOMPARE(at(sign).x(), at(rows[0][c]).x());
                if (c > 0) QVERIFY(at(sign).x() > at(rows[r][c - 1] >= 0 ? rows[r][c - 1] : rows[0][c - 1]).x());
                // The sign box label sits in its outline; the number beside the
                // upper right corner; the marker beneath.
                const auto* label =
                    Child<QLabel>(&window, Q(velmora::ui::kSignBoxNames[static_cast<std::size_t>(sign)]));
                QCOMPARE(label->parentWidget(), box(sign));
                const auto* number = Child<QLabel>(&window, QStringLiteral("Hno_%1").arg(sign));
                QCOMPARE(number->text(), QString::number(sign + 1));
                QCOMPARE(QFontInfo(number->font()).fixedPitch(), true);
                const QPoint numberAt = TopLeftIn(number, chart);
                QVERIFY(numberAt.x() >= at(sign).x() + box(sign)->width());
                QVERIFY(qAbs(numberAt.y() - at(sign).y()) <= 4);
                const QPoint markerAt = TopLeftIn(Child(&window, QStringLiteral("lblArudha_%1").arg(sign)), chart);
                QVERIFY(markerAt.y() >= at(sign).y() + box(sign)->height());
            }
        }
        // The details panel fills the centre.
        const QWidget* details = Child(&window, QStringLiteral("fraDetails"));
        const QRect centre(TopLeftIn(details, chart), details->size());
        QVERIFY(centre.left() >= at(0).x() && centre.right() < at(2).x());
        QVERIFY(centre.top() >= at(0).y() + box(0)->height() && centre.bottom() < at(7).y());
        QVERIFY(TopLeftIn(Child(&window, QStringLiteral("Label10")), &window).y() < TopLeftIn(chart, &window).y());

        // Back sits at the right end of the bottom strip, the labels to its left.
        const QWidget* back = Child(&window, QStringLiteral("cmdBack"));
        const QWidget* strip = Child(&window, QStringLiteral("Frame5"));
        QCOMPARE(back->parentWidget(), strip);
        QVERIFY(TopLeftIn(back, strip).x() + back->width() > strip->width() - 40);
        QVERIFY(TopLeftIn(Child(&window, QStringLiteral("lblFullBrand")), strip).x() < TopLeftIn(back, strip).x());
    }

    void showsEveryPartOfAnAnalysisTypedIntoTheInputWindow() {
        Program program;
        program.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&program.window));
        TypeBirth(program.window, kDelhi1980);
        QCOMPARE(Child<QLineEdit>(&program.window, QStringLiteral("txtName"))->text(), QStringLiteral("RAVI KUMAR"));

        const velmora::core::AnalysisOutcome expected = velmora::core::RunAnalysis(program.window.CurrentForm());
        QVERIFY(!expected.Rejected);
        const velmora::core::DisplayTexts& record = expected.Result.Display;
        const int arudhaLagnaSign = expected.Result.Chart.ArudhaLagnaSign;
        // The chosen birth exercises the interesting parts.
        QVERIFY(!record.Readings.empty());
        QVERIFY(record.ProfileShown);
        QCOMPARE(record.Details.DateOfBirth, std::string("January/5/1980"));
        QCOMPARE(record.Details.TimeOfBirth, std::string("9:5"));

        QTest::mouseClick(Child(&program.window, QStringLiteral("cmdRashi")), Qt::LeftButton);
        QVERIFY(program.messages.Notices.isEmpty());
        ResultWindow* result = program.window.resultWindow();
        QVERIFY(result);
        QVERIFY(result->isVisible());
        QVERIFY(!program.window.isVisible());
        QVERIFY(!result->isModal());
        CompareWithRecord(result, record);
        if (QTest::currentTestFailed()) return;

        // Spot checks of what the record means on screen.
        QCOMPARE(Child<QLabel>(result, QStringLiteral("lblDOB"))->text(), QStringLiteral("January/5/1980"));
        QCOMPARE(Child<QLabel>(result, QStringLiteral("lblLatitude"))->text(), QStringLiteral("28\u00b0 36'"));
        QCOMPARE(Child<QLabel>(result, QStringLiteral("lblName"))->text(), QStringLiteral("RAVI KUMAR"));
        int marked = 0;
        for (int k = 0; k < 12; ++k) {
            const QString marker = Child<QLabel>(result, QStringLiteral("lblArudha_%1").arg(k))->text();
            if (!marker.isEmpty()) {
                ++marked;
                QCOMPARE(marker, QStringLiteral("Arudha Lagna"));
                QCOMPARE(k, arudhaLagnaSign - 1);
            }
        }
        QCOMPARE(marked, 1);
        const QString ascendantBox = Child<QLabel>(result, QStringLiteral("lblCapricorn"))->text();
        QVERIFY(ascendantBox.startsWith(QLatin1Char('\n')));
        QVERIFY(ascendantBox.split(QLatin1Char('\n')).contains(QStringLiteral("Asc")));
    }

    void backReturnsToTheEntriesAndTheNextAnalysisStartsAfresh() {
        Program program;
        program.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&program.window));
        TypeBirth(program.window, kDelhi1980);
        const velmora::core::FormInput typed = program.window.CurrentForm();
        QTest::mouseClick(Child(&program.window, QStringLiteral("cmdRashi")), Qt::LeftButton);
        QPointer<ResultWindow> first = program.window.resultWindow();
        QVERIFY(first);
        const QString firstReadings = Child<QTextEdit>(first, QStringLiteral("RTB"))->toPlainText();

        QTest::mouseClick(Child(first, QStringLiteral("cmdBack")), Qt::LeftButton);
        QVERIFY(program.window.isVisible());
        QVERIFY(!first || !first->isVisible());
        QVERIFY(!program.window.resultWindow());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);  // unloaded

        // Every entry is still there.
        const velmora::core::FormInput back = program.window.CurrentForm();
        QCOMPARE(back.Name, typed.Name);
        QCOMPARE(back.Day, typed.Day);
        QCOMPARE(back.ZoneRow, typed.ZoneRow);
        QCOMPARE(back.LatitudeDegrees, typed.LatitudeDegrees);
        QCOMPARE(back.LongitudeMinutes, typed.LongitudeMinutes);
        QCOMPARE(back.City, typed.City);

        // A second birth with another Arudha Lagna.
        TypeBirth(program.window, kDelhi1984);
        const velmora::core::AnalysisOutcome firstRecord = velmora::core::RunAnalysis(typed);
        const velmora::core::AnalysisOutcome secondRecord = velmora::core::RunAnalysis(program.window.CurrentForm());
        QVERIFY(firstRecord.Result.Chart.ArudhaLagnaSign != secondRecord.Result.Chart.ArudhaLagnaSign);

        program.window.findChild<QAction*>(QStringLiteral("mnuNext"))->trigger();
        ResultWindow* second = program.window.resultWindow();
        QVERIFY(second);
        QVERIFY(second->isVisible());
        CompareWithRecord(second, secondRecord.Result.Display);
        if (QTest::currentTestFailed()) return;
        QCOMPARE(Child<QLabel>(second, QStringLiteral("lblArudha_%1").arg(firstRecord.Result.Chart.ArudhaLagnaSign - 1))
                     ->text(),
                 QString());
        QVERIFY(Child<QTextEdit>(second, QStringLiteral("RTB"))->toPlainText() != firstReadings);

        // The menu's Back does the same as the button.
        QPointer<ResultWindow> secondGuard = second;
        second->findChild<QAction*>(QStringLiteral("mnuBack"))->trigger();
        QVERIFY(program.window.isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!secondGuard);
    }

    void exitAndAboutReachTheProgram() {
        Program program;
        program.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&program.window));
        TypeBirth(program.window, kDelhi1980);
        QSignalSpy shutDown(&program.window, &MainWindow::shutDownRequested);
        QSignalSpy about(&program.window, &MainWindow::aboutRequested);
        program.window.findChild<QAction*>(QStringLiteral("mnuNext"))->trigger();
        ResultWindow* result = program.window.resultWindow();
        QVERIFY(result);

        result->findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();
        QCOMPARE(about.size(), 1);
        QCOMPARE(about[0][0].value<QWidget*>(), static_cast<QWidget*>(result));

        QVERIFY(result->close());  // the close box
        QCOMPARE(shutDown.size(), 1);
    }

    void theExitCommandShutsDown() {
        Program program;
        program.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&program.window));
        TypeBirth(program.window, kDelhi1980);
        QSignalSpy shutDown(&program.window, &MainWindow::shutDownRequested);
        program.window.findChild<QAction*>(QStringLiteral("mnuNext"))->trigger();
        program.window.resultWindow()->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
        QCOMPARE(shutDown.size(), 1);
    }

    void theLinkCommandsOpenTheirPages() {
        RecordingOpener opener;
        Links links(opener);
        ResultWindow window(links);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const char* name : {"mnuOnline", "mnuVisit", "mnuUpdate", "mnuDonate", "mnumakemoney"})
            window.findChild<QAction*>(QString::fromLatin1(name))->trigger();
        QTest::mouseClick(Child(&window, QStringLiteral("Label61")), Qt::LeftButton);
        QTest::mouseClick(Child(&window, QStringLiteral("lblTOBCaption")), Qt::LeftButton);
        QTest::mouseClick(Child(&window, QStringLiteral("lblDOBCaption")), Qt::LeftButton);  // no link
        window.promotionStrip()->BringToFront(velmora::ui::PromotionLabel::FullBrand);
        QTest::mouseClick(Child(&window, QStringLiteral("lblFullBrand")), Qt::LeftButton);
        window.promotionStrip()->BringToFront(velmora::ui::PromotionLabel::CoBrand);
        QTest::mouseClick(Child(&window, QStringLiteral("lblCobrand")), Qt::LeftButton);
        QCOMPARE(opener.Opened, (QList<QUrl>{Links::OnlineHelpUrl(), Links::HomePageUrl(), Links::DownloadPageUrl(),
                                             Links::DonationPageUrl(), Links::HomePageUrl(), Links::FullBrandPageUrl(),
                                             Links::FullBrandPageUrl(), Links::CoBrandPageUrl()}));
    }

    void thePositionsAndTheProfileAreBuiltWhenShownWithTheLatestRecord() {
        RecordingOpener opener;
        Links links(opener);
        ResultWindow window(links);
        velmora::core::AnalysisOptions options;
        options.CheckAgainstPrecise = true;
        const velmora::core::BirthAnalysis first =
            velmora::testing::AnalysisOf(velmora::testing::FormOf(kDelhi1980), options);
        const velmora::core::BirthAnalysis second =
            velmora::testing::AnalysisOf(velmora::testing::FormOf(kDelhi1984), options);
        QVERIFY(first.Display.Readings.size() > 0 && second.Display.Readings.size() > 0);
        QVERIFY(first.Display.Profile != second.Display.Profile);
        window.ShowResult(first);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The chart is on show; the other two pages wait for their tabs.
        QVERIFY(!window.findChild<QLabel*>(QStringLiteral("planet_0")));
        QVERIFY(!window.findChild<QLabel*>(QStringLiteral("lblVedicName")));
        QVERIFY(!window.findChild<QTextEdit*>(QStringLiteral("RTB")));

        // A second record before either was shown: they show that one.
        window.ShowResult(second);
        auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        tabs->setCurrentIndex(1);
        auto* sun = window.findChild<QLabel*>(QStringLiteral("planet_0"));
        QVERIFY(sun);
        QVERIFY(sun->isVisible());  // at once, not after the next turn of the event loop
        QCOMPARE(sun->text(), Shown(second.Display.Positions[0]));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblFormula_0"))->isVisible(), second.Comparison.has_value());
        QString secondReadings;
        for (const auto& run : second.Display.Readings) secondReadings += Shown(run.Text);
        QCOMPARE(window.findChild<QTextEdit*>(QStringLiteral("RTB"))->toPlainText(), secondReadings);
        QVERIFY(!window.findChild<QLabel*>(QStringLiteral("lblVedicName")));
        tabs->setCurrentIndex(2);
        auto* vedicName = window.findChild<QLabel*>(QStringLiteral("lblVedicName"));
        QVERIFY(vedicName && vedicName->isVisible());
        CompareWithRecord(&window, second.Display);

        // Built once: a page follows each new record at once, the readings
        // replaced rather than added to.
        window.ShowResult(first);
        QCOMPARE(tabs->currentIndex(), 2);
        CompareWithRecord(&window, first.Display);
        tabs->setCurrentIndex(1);
        QCOMPARE(sun->text(), Shown(first.Display.Positions[0]));
    }

    void aProfileThatWasNotFoundLeavesTheControlsAlone() {
        RecordingOpener opener;
        Links links(opener);
        ResultWindow window(links);
        velmora::core::BirthAnalysis record;
        record.Display.ProfileShown = true;
        record.Display.Profile.fill("Leo");
        window.ShowResult(record);
        const velmora::core::DisplayTexts missing;  // not shown, every text empty
        window.ShowProfile(missing);
        QCOMPARE(Child<QLabel>(&window, QStringLiteral("lblVedicName"))->text(), QStringLiteral("Leo"));
        QCOMPARE(Child<QPlainTextEdit>(&window, QStringLiteral("txtHealth"))->toPlainText(), QStringLiteral("Leo"));
    }
};

QTEST_MAIN(ResultWindowTest)
#include "result_window_test.moc"
