// The Jaimini tab and the "Why?" buttons: the tables against the typed
// tools, the running chara period through the injected clock, choosing a
// sign on the chart, each derivation by click and by keyboard, the karaka
// scheme from the Settings menu.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimeZone>
#include <QTreeWidget>

#include "astro/time_conversion.h"
#include "core/form_builders.h"
#include "core/jaimini_texts.h"
#include "core/pipeline.h"
#include "core/text_formats.h"
#include "report/chart_painting.h"
#include "ui/jaimini_tab.h"
#include "ui/karaka_choice.h"
#include "ui/links.h"
#include "ui/main_window.h"
#include "ui/result_window.h"
#include "ui/toolkit_tabs.h"
#include "ui/why_button.h"
#include "ui/window_fixture.h"

using velmora::ui::JaiminiTab;
using velmora::ui::WhyButton;

namespace {

using velmora::testing::Q;

QDateTime Utc(int year, int month, int day) {
    return QDateTime(QDate(year, month, day), QTime(6, 0), QTimeZone::utc());
}

velmora::core::BirthAnalysis Analysed(int scheme = 8) {
    velmora::core::AnalysisOptions options;
    options.KarakaScheme = scheme;
    return velmora::testing::AnalysisOf(velmora::testing::DelhiForm("RAVI KUMAR"), options);
}

// A result window showing the Delhi birth, its Jaimini tab chosen.
struct Shown : velmora::testing::ResultWindowFixture {
    Shown() : ResultWindowFixture(Analysed(), Utc(2025, 6, 1)) { tabs()->setCurrentIndex(6); }
    JaiminiTab* tab() { return window.jaiminiTab(); }
};

bool Marked(const QTreeWidgetItem* item) { return item->font(0).bold() && item->background(0).style() != Qt::NoBrush; }

// Opens a button's derivation and returns the dialog's sentences.
QStringList Opened(WhyButton* button) {
    button->click();
    if (!button->dialog()) return {};
    const QStringList sentences = button->dialog()->sentences();
    button->dialog()->close();
    return sentences;
}

}  // namespace

class JaiminiTabTest : public QObject {
    Q_OBJECT

private slots:
    void theTabIsLastAndFilledOnlyWhenShown() {
        velmora::testing::RecordingOpener opener;
        velmora::ui::Links links(opener);
        velmora::ui::ResultWindow window(links);
        window.ShowResult(Analysed());
        auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        QCOMPARE(tabs->tabText(6), QStringLiteral("Jaimini"));  // after Charts, Dasha and Today
        QCOMPARE(tabs->widget(6)->objectName(), QStringLiteral("tabJaimini"));
        QVERIFY(!window.findChild<QTableWidget*>(QStringLiteral("tblKarakas")));  // not built yet
        tabs->setCurrentIndex(6);
        auto* karakas = window.findChild<QTableWidget*>(QStringLiteral("tblKarakas"));
        QVERIFY(karakas);
        QCOMPARE(karakas->rowCount(), 8);
    }

    void theTablesShowTheTypedTools() {
        Shown shown;
        const velmora::analysis::JaiminiTools& t = *shown.analysis.Jaimini;
        JaiminiTab* tab = shown.tab();
        QCOMPARE(tab->schemeLabel()->text(), QStringLiteral("Scheme in use: 8 chara karakas (with the Pitrikaraka)"));
        QTableWidget* karakas = tab->karakaTable();
        for (int row = 0; row < 8; ++row) {
            const velmora::analysis::CharaKaraka& k = t.Karakas.Ranked[static_cast<std::size_t>(row)];
            QCOMPARE(karakas->item(row, 0)->text(), Q(k.Name) + " (" + Q(k.Title) + ")");
            QCOMPARE(karakas->item(row, 1)->text(), Q(velmora::kBodyNames[k.Graha]));
            QCOMPARE(karakas->item(row, 2)->text(), Q(velmora::core::DegreeInSignText(k.DegreeInSign)));
        }
        QVERIFY(tab->karakamsaLabel()->text().endsWith(Q(velmora::SignNameOf(t.Karakamsa))));

        QTableWidget* argala = tab->argalaTable();
        QCOMPARE(argala->rowCount(), 12);
        for (int r = 0; r < 3; ++r) {
            for (int h = 0; h < 4; ++h) {
                const int row = 4 * r + h;
                const auto& house = t.Argala[static_cast<std::size_t>(r)].Houses[static_cast<std::size_t>(h)];
                QCOMPARE(argala->item(row, 0)->text(), Q(t.Argala[static_cast<std::size_t>(r)].From));
                QCOMPARE(argala->item(row, 2)->text(), QString::number(house.House));
                QCOMPARE(argala->item(row, 3)->text(), Q(velmora::core::BodyListText(house.Bodies)));
                QCOMPARE(argala->item(row, 6)->text(), Q(velmora::analysis::ArgalaStateName(house.State)));
            }
        }
        int arudhas = 0;
        for (const auto& set : t.GrahaArudhas) arudhas += set.Count;
        QCOMPARE(tab->arudhaTable()->rowCount(), arudhas);
        QCOMPARE(arudhas, 14);  // Sun and Moon one each, Rahu and Ketu one each, the rest two
    }

    void theCharaTreeOpensToSubPeriodsAndMarksTheRunningOne() {
        Shown shown;
        QTreeWidget* tree = shown.tab()->charaTree();
        const velmora::analysis::CharaDashaTable& table = shown.analysis.Jaimini->CharaDasha;
        QCOMPARE(tree->topLevelItemCount(), 12);
        for (int p = 0; p < 12; ++p) {
            const QTreeWidgetItem* item = tree->topLevelItem(p);
            const auto& period = table.Periods[static_cast<std::size_t>(p)];
            QCOMPARE(item->text(0), Q(period.SignName()));
            QCOMPARE(item->text(1), QString::number(period.Years));
            QCOMPARE(item->text(2), Q(velmora::core::DateText(period.StartDate())));
            QCOMPARE(item->childCount(), 12);
            QCOMPARE(item->child(11)->text(0),
                     Q(period.SignName()) + " / " + Q(period.SignName()));  // ends with itself
        }
        const auto check = [&](const QDateTime& now) {
            const auto running = velmora::analysis::RunningCharaAt(
                table, velmora::astro::UtMomentOf(velmora::ui::UniversalMinuteOf(now)));
            QVERIFY(running);
            for (int p = 0; p < 12; ++p) {
                const QTreeWidgetItem* item = tree->topLevelItem(p);
                const bool mine = static_cast<std::size_t>(p) == running->Period;
                QCOMPARE(Marked(item), mine);
                QCOMPARE(item->isExpanded(), mine);
                for (int k = 0; k < 12; ++k)
                    QCOMPARE(Marked(item->child(k)), mine && static_cast<std::size_t>(k) == running->Sub);
            }
        };
        check(shown.clock.Now());
        if (QTest::currentTestFailed()) return;
        // A shown tab follows the clock.
        shown.clock.Set(Utc(2040, 2, 1));
        shown.window.SetClock(&shown.clock);
        check(shown.clock.Now());
    }

    void thePageScrollsOnlyDownwardsAtTheWindowsOwnSizeAndTakesThreeColumnsWhenWide() {
        Shown shown;
        JaiminiTab* tab = shown.tab();
        shown.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        QApplication::processEvents();
        auto* scroll = tab->findChild<QScrollArea*>(QStringLiteral("scrJaimini"));
        QVERIFY(scroll);
        // The window as it opens: the boxes stack, nothing runs off sideways.
        QVERIFY(!tab->wideArrangement());
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
        QVERIFY(scroll->widget()->width() <= scroll->viewport()->width());
        for (QTableWidget* table : {tab->karakaTable(), tab->argalaTable(), tab->arudhaTable()}) {
            QVERIFY2(!table->horizontalScrollBar()->isVisible(), qPrintable(table->objectName()));
            const QRect inPage(table->mapTo(scroll->widget(), QPoint(0, 0)), table->size());
            QVERIFY2(inPage.right() < scroll->viewport()->width(), qPrintable(table->objectName()));
        }
        // The chart and the graha arudhas side by side, the rest beneath.
        const QWidget* page = scroll->widget();
        const QPoint chartAt = tab->chart()->mapTo(page, QPoint(0, 0));
        const QPoint arudhasAt = tab->arudhaTable()->mapTo(page, QPoint(0, 0));
        QVERIFY(arudhasAt.x() > chartAt.x() + tab->chart()->width());
        QVERIFY(tab->karakaTable()->mapTo(page, QPoint(0, 0)).y() > chartAt.y() + tab->chart()->height());

        // Wide enough: the three columns, chart, karakas and chara dasha.
        shown.window.resize(1900, 1000);
        QTRY_VERIFY(tab->wideArrangement());
        QApplication::processEvents();
        const int karakasX = tab->karakaTable()->mapTo(page, QPoint(0, 0)).x();
        QVERIFY(karakasX > tab->chart()->mapTo(page, QPoint(0, 0)).x() + tab->chart()->width());
        QVERIFY(tab->charaTree()->mapTo(page, QPoint(0, 0)).x() > karakasX + tab->karakaTable()->width());
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());

        // Just wide enough for the three columns (a maximised window on a
        // 1366 by 768 screen): every table still shows all its columns and
        // rows, with no scroll bar of its own.
        shown.window.resize(1366, 740);
        QApplication::processEvents();
        QTRY_VERIFY(tab->wideArrangement());
        QApplication::processEvents();
        for (QTableWidget* table : {tab->karakaTable(), tab->argalaTable(), tab->arudhaTable()}) {
            QVERIFY2(!table->horizontalScrollBar()->isVisible(), qPrintable(table->objectName()));
            QVERIFY2(!table->verticalScrollBar()->isVisible(), qPrintable(table->objectName()));
            const QHeaderView* rows = table->verticalHeader();
            const int last = table->rowCount() - 1;
            QVERIFY2(rows->sectionViewportPosition(last) + rows->sectionSize(last) <= table->viewport()->height(),
                     qPrintable(table->objectName()));
        }
    }

    void choosingASignByClickOrListMarksWhatItAspects() {
        Shown shown;
        JaiminiTab* tab = shown.tab();
        shown.window.resize(1200, 900);
        shown.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        const auto aspected = [&](int sign) {
            QList<int> signs;
            const velmora::ui::ChartPicture picture = tab->chart()->picture();
            for (int s = 1; s <= 12; ++s)
                if (picture.markers[static_cast<std::size_t>(s - 1)].contains(QStringLiteral("aspected"))) signs << s;
            // The chosen sign's own marker goes first in the list.
            if (!picture.markers[static_cast<std::size_t>(sign - 1)].contains(QStringLiteral("chosen")))
                signs.prepend(0);
            return signs;
        };
        // In the list: Leo, a fixed sign, aspects the movable signs but Cancer.
        tab->signChoice()->setCurrentIndex(5);
        QCOMPARE(tab->chosenSign(), 5);
        QCOMPARE(aspected(5), (QList<int>{1, 7, 10}));
        QVERIFY(tab->aspectsLabel()->text().startsWith(QStringLiteral("Leo aspects Aries, Libra and Capricorn.")));

        // On the chart, in either style: a click in Gemini's box.
        for (auto style : {velmora::report::ChartStyle::SouthIndian, velmora::report::ChartStyle::NorthIndian}) {
            shown.window.SetChartStyle(style);
            QCOMPARE(tab->chart()->chartStyle(), style);
            const QPolygonF box = velmora::report::BoxOutline(style, 3, QRectF(tab->chart()->rect()),
                                                              tab->chart()->picture().ascendantSign);
            const QPoint inside = box.boundingRect().center().toPoint();
            QCOMPARE(tab->SignAt(inside), 3);
            QTest::mouseClick(tab->chart(), Qt::LeftButton, {}, inside);
            QCOMPARE(tab->chosenSign(), 3);
            QCOMPARE(tab->signChoice()->currentText(), QStringLiteral("Gemini"));
            QCOMPARE(aspected(3), (QList<int>{6, 9, 12}));
            QTest::mouseClick(tab->chart(), Qt::LeftButton, {}, inside);  // again: none chosen
            QCOMPARE(tab->chosenSign(), 0);
        }
        // By keyboard: the list takes focus and the arrow keys.
        tab->signChoice()->setFocus();
        QTest::keyClick(tab->signChoice(), Qt::Key_Down);
        QCOMPARE(tab->chosenSign(), 1);
        QCOMPARE(aspected(1), (QList<int>{5, 8, 11}));
    }

    void whyShowsEachDerivationByClickAndByEnter() {
        Shown shown;
        const velmora::analysis::Derivations& why = *shown.analysis.Why;
        JaiminiTab* tab = shown.tab();
        auto* karakaWhy = qobject_cast<WhyButton*>(tab->karakaTable()->cellWidget(0, 3));
        QVERIFY(karakaWhy);
        QCOMPARE(karakaWhy->accessibleName(), QStringLiteral("Why: AK (Atmakaraka)"));
        QCOMPARE(Opened(karakaWhy), velmora::ui::SentencesOf(why.CharaKarakas));
        QCOMPARE(Opened(tab->karakamsaWhy()), velmora::ui::SentencesOf(why.Karakamsa));
        QCOMPARE(tab->karakamsaWhy()->accessibleName(), QStringLiteral("Why: karakamsa"));
        for (int p = 0; p < 12; ++p) {
            auto* periodWhy =
                qobject_cast<WhyButton*>(tab->charaTree()->itemWidget(tab->charaTree()->topLevelItem(p), 4));
            QVERIFY(periodWhy);
            QCOMPARE(Opened(periodWhy), velmora::ui::SentencesOf(why.CharaDashaYears[static_cast<std::size_t>(p)]));
        }
        // The Charts tab: the Arudha Lagna and each pada.
        shown.tabs()->setCurrentIndex(3);
        auto* padas = shown.window.findChild<QTableWidget*>(QStringLiteral("tblPadas"));
        for (int row = 0; row < 12; ++row) {
            auto* padaWhy = qobject_cast<WhyButton*>(padas->cellWidget(row, 5));
            QVERIFY(padaWhy);
            QCOMPARE(Opened(padaWhy), velmora::ui::SentencesOf(why.Padas[static_cast<std::size_t>(row)]));
        }
        auto* alWhy = qobject_cast<WhyButton*>(padas->cellWidget(0, 5));
        QCOMPARE(alWhy->accessibleName(), QStringLiteral("Why: Arudha Lagna"));
        QCOMPARE(qobject_cast<WhyButton*>(padas->cellWidget(6, 5))->accessibleName(),
                 QStringLiteral("Why: pada A7 of house 7"));

        // Keyboard: it takes focus, Enter opens the dialog with the text.
        shown.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        QVERIFY(alWhy->focusPolicy() & Qt::TabFocus);
        alWhy->setFocus();
        QTest::keyClick(alWhy, Qt::Key_Return);
        QVERIFY(alWhy->dialog());
        QCOMPARE(alWhy->dialog()->windowTitle(), QStringLiteral("Why: Arudha Lagna"));
        QVERIFY(alWhy->dialog()->textLabel()->text().endsWith(
            QStringLiteral("the Arudha Lagna is ") + Q(velmora::SignNameOf(shown.analysis.Chart.ArudhaLagnaSign)) +
            "."));
        alWhy->dialog()->close();
        QTest::keyClick(alWhy, Qt::Key_Space);
        QVERIFY(alWhy->dialog());
        alWhy->dialog()->close();
    }

    void theSettingsMenuChoosesAndRemembersTheScheme() {
        velmora::testing::InputWindowFixture f;
        velmora::MainWindow& input = f.window;
        auto* seven = input.findChild<QAction*>(QStringLiteral("mnuKarakas7"));
        auto* eight = input.findChild<QAction*>(QStringLiteral("mnuKarakas8"));
        QVERIFY(seven && eight);
        QVERIFY(eight->isChecked());  // the default
        seven->trigger();
        QCOMPARE(f.store.Value(QString::fromLatin1(velmora::ui::kKarakaSchemeKey)), std::optional<QString>("7"));
        f.typeBirth(velmora::testing::DelhiBirth("ravi kumar"));
        input.Analyze();
        QVERIFY(f.messages.Notices.isEmpty());
        velmora::ui::ResultWindow* result = input.resultWindow();
        QVERIFY(result);
        result->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(6);
        QCOMPARE(result->jaiminiTab()->karakaTable()->rowCount(), 7);
        QVERIFY(result->jaiminiTab()->schemeLabel()->text().contains(QStringLiteral("7 chara karakas")));

        // Another window reads the choice; anything else stored counts as 8.
        velmora::testing::InputWindowFixture next(&f.store);
        QVERIFY(next.action("mnuKarakas7")->isChecked());
        f.store.SetValue(QString::fromLatin1(velmora::ui::kKarakaSchemeKey), QStringLiteral("9"));
        next.window.SetSettings(&f.store);
        QVERIFY(next.action("mnuKarakas8")->isChecked());
    }
};

QTEST_MAIN(JaiminiTabTest)
#include "jaimini_tab_test.moc"
