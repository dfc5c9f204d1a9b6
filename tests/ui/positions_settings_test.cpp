// The Settings menu's positions engine: the choices, where they are
// remembered, and what the result window shows for each engine.

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "ui/main_window.h"
#include "ui/links.h"
#include "ui/result_window.h"
#include "ui/window_fixture.h"

using velmora::core::EngineSettings;
using velmora::core::EphemerisMode;
using velmora::ui::MemorySettingsStore;
using velmora::ui::QtSettingsStore;
namespace astro = velmora::astro;

namespace {

using Fixture = velmora::testing::InputWindowFixture;

// A birth in New Delhi on an afternoon in September 1975.
const velmora::testing::FormTexts kSeptember1975 = [] {
    velmora::testing::FormTexts birth = velmora::testing::DelhiBirth("ravi");
    birth.MonthIndex = 8;
    birth.Day = "27";
    birth.Year = "1975";
    birth.Hour = "14";
    birth.Minute = "40";
    return birth;
}();

// A control of the positions page, which is built when first shown or, as
// here, asked for.
QLabel* Label(velmora::ui::ResultWindow* window, const QString& name) {
    return window->planetsPage()->findChild<QLabel*>(name);
}

// "12 Tau 03" as degrees from the start of Aries.
double Longitude(const QString& position) {
    const QStringList parts = position.split(QLatin1Char(' '));
    static const QStringList signs{"Ari", "Tau", "Gem", "Can", "Leo", "Vir", "Lib", "Sco", "Sag", "Cap", "Aqu", "Pis"};
    return signs.indexOf(parts.value(1)) * 30 + parts.value(0).toInt() + parts.value(2).toInt() / 60.0;
}

// "−0.42°" / "+0.42°" as a number.
double Degrees(QString text) {
    text.replace(QChar(0x2212), QLatin1Char('-')).remove(QChar(0x00B0));
    return text.toDouble();
}

QStringList CheckedNames(const QList<QAction*>& actions) {
    QStringList names;
    for (const QAction* a : actions)
        if (a->isChecked()) names << a->objectName();
    return names;
}

}  // namespace

class PositionsSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void theMenuOffersEachChoiceOnceAndStartsAtTheFormulas() {
        Fixture f;
        QMenu* positions = f.get<QMenu>("mnuPositions");
        QVERIFY(positions);
        QVERIFY(f.get<QMenu>("mnuSettings")->actions().contains(positions->menuAction()));
        QStringList names;
        for (const QAction* a : positions->actions())
            if (!a->isSeparator()) names << a->objectName();
        QCOMPARE(names, (QStringList{"mnuFormulas", "mnuPrecise", "mnuAyanamsa_lahiri", "mnuAyanamsa_raman",
                                     "mnuAyanamsa_krishnamurti", "mnuAyanamsa_fagan_bradley", "mnuAyanamsa_yukteshwar",
                                     "mnuAyanamsa_true_chitra", "mnuNodeMean", "mnuNodeTrue"}));
        QCOMPARE(f.action("mnuAyanamsa_fagan_bradley")->text(), QStringLiteral("Fagan/Bradley"));
        QCOMPARE(CheckedNames(positions->actions()), (QStringList{"mnuFormulas", "mnuAyanamsa_lahiri", "mnuNodeMean"}));
        QCOMPARE(f.window.engineSettings(), velmora::core::EngineSettings{});
        // The formulas have their own correction and node.
        QVERIFY(!f.action("mnuAyanamsa_raman")->isEnabled());
        QVERIFY(!f.action("mnuNodeTrue")->isEnabled());

        // One choice per group.
        f.action("mnuPrecise")->trigger();
        QVERIFY(f.action("mnuAyanamsa_raman")->isEnabled());
        f.action("mnuAyanamsa_raman")->trigger();
        f.action("mnuAyanamsa_krishnamurti")->trigger();
        f.action("mnuNodeTrue")->trigger();
        QCOMPARE(CheckedNames(positions->actions()),
                 (QStringList{"mnuPrecise", "mnuAyanamsa_krishnamurti", "mnuNodeTrue"}));
        QCOMPARE(f.window.engineSettings(),
                 (velmora::core::EngineSettings{velmora::core::EphemerisMode::Precise, astro::Ayanamsa::Krishnamurti,
                                                astro::NodeKind::True}));
    }

    void theChoicesAreRememberedInTheStore() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString ini = dir.filePath(QStringLiteral("settings.ini"));
        {
            QtSettingsStore store(ini);
            Fixture f;
            f.window.SetSettings(&store);
            f.action("mnuPrecise")->trigger();
            f.action("mnuAyanamsa_true_chitra")->trigger();
            f.action("mnuNodeTrue")->trigger();
            QCOMPARE(store.Value(QStringLiteral("Positions/Mode")), std::optional<QString>(QStringLiteral("precise")));
            QCOMPARE(store.Value(QStringLiteral("Positions/Ayanamsa")),
                     std::optional<QString>(QStringLiteral("true-chitra")));
            QCOMPARE(store.Value(QStringLiteral("Positions/Node")), std::optional<QString>(QStringLiteral("true")));
        }
        // The next run reads them back from the file.
        QtSettingsStore reopened(ini);
        Fixture g;
        g.window.SetSettings(&reopened);
        QCOMPARE(g.window.engineSettings(),
                 (velmora::core::EngineSettings{velmora::core::EphemerisMode::Precise, astro::Ayanamsa::TrueChitra,
                                                astro::NodeKind::True}));
        QVERIFY(g.action("mnuAyanamsa_true_chitra")->isChecked());
        QVERIFY(g.action("mnuNodeTrue")->isChecked());
        QVERIFY(!g.action("mnuFormulas")->isChecked());

        // Back to the formulas: the store follows, the precise choices are kept.
        g.action("mnuFormulas")->trigger();
        QCOMPARE(reopened.Value(QStringLiteral("Positions/Mode")), std::optional<QString>(QStringLiteral("formulas")));
        QCOMPARE(reopened.Value(QStringLiteral("Positions/Ayanamsa")),
                 std::optional<QString>(QStringLiteral("true-chitra")));
    }

    void unknownStoredValuesFallBackToTheDefaults() {
        MemorySettingsStore store;
        store.SetValue(QStringLiteral("Positions/Mode"), QStringLiteral("astral"));
        store.SetValue(QStringLiteral("Positions/Ayanamsa"), QStringLiteral("RAMAN"));  // keys read in any case
        store.SetValue(QStringLiteral("Positions/Node"), QStringLiteral(""));
        Fixture f;
        f.window.SetSettings(&store);
        QCOMPARE(f.window.engineSettings(),
                 (velmora::core::EngineSettings{velmora::core::EphemerisMode::Formulas, astro::Ayanamsa::Raman,
                                                astro::NodeKind::Mean}));
        QVERIFY(f.action("mnuFormulas")->isChecked());
        QVERIFY(f.action("mnuAyanamsa_raman")->isChecked());
        QVERIFY(f.action("mnuNodeMean")->isChecked());
    }

    void aFormulasRunShowsNoComparison() {
        Fixture f;
        f.typeBirth(kSeptember1975);
        auto* result = f.analyze();
        QVERIFY(result);
        QVERIFY(f.messages.Notices.isEmpty());
        QCOMPARE(Label(result, QStringLiteral("lblEngine"))->text(), QStringLiteral("Formulas"));
        for (int i = 0; i < 10; ++i) {
            QVERIFY(!Label(result, QStringLiteral("planet_%1").arg(i))->text().isEmpty());
            for (const char* name : {"lblFormula_%1", "lblDifference_%1"})
                QVERIFY2(Label(result, QString::fromLatin1(name).arg(i))->isHidden(), name);
            // "sign differs" shows in formula mode only where the precise
            // ephemeris places the body in another sign, and says where.
            const QLabel* differs = Label(result, QStringLiteral("lblSignDiffers_%1").arg(i));
            QCOMPARE(!differs->isHidden(), differs->toolTip().contains(QStringLiteral("precise ephemeris places")));
        }
    }

    void aPreciseRunShowsTheFormulasBesideEachPosition() {
        MemorySettingsStore store;
        Fixture f;
        f.window.SetSettings(&store);
        f.typeBirth(kSeptember1975);

        // The same birth with the formulas first, for what they give.
        QStringList formulaPositions;
        {
            auto* result = f.analyze();
            QVERIFY(result);
            for (int i = 0; i < 10; ++i) formulaPositions << Label(result, QStringLiteral("planet_%1").arg(i))->text();
            result->findChild<QAction*>(QStringLiteral("mnuBack"))->trigger();
        }

        f.action("mnuPrecise")->trigger();
        auto* result = f.analyze();
        QVERIFY(result);
        QVERIFY(f.messages.Notices.isEmpty());
        QCOMPARE(Label(result, QStringLiteral("lblEngine"))->text(),
                 QString::fromUtf8("Precise \u00b7 Lahiri \u00b7 mean node"));
        int signDifferences = 0;
        for (int i = 0; i < 10; ++i) {
            const QString precise = Label(result, QStringLiteral("planet_%1").arg(i))->text();
            QLabel* formula = Label(result, QStringLiteral("lblFormula_%1").arg(i));
            QLabel* difference = Label(result, QStringLiteral("lblDifference_%1").arg(i));
            QLabel* differs = Label(result, QStringLiteral("lblSignDiffers_%1").arg(i));
            QVERIFY(!formula->isHidden());
            QVERIFY(!difference->isHidden());
            // Exactly what the formulas run showed for the body.
            QCOMPARE(formula->text(), QStringLiteral("formula ") + formulaPositions[i]);
            // Formula minus precise, within the minutes the texts drop.
            double shownGap = Longitude(formulaPositions[i]) - Longitude(precise);
            if (shownGap > 180) shownGap -= 360;
            if (shownGap < -180) shownGap += 360;
            QVERIFY2(std::abs(Degrees(difference->text()) - shownGap) < 1.0 / 60 + 0.006,
                     qPrintable(precise + QLatin1Char(' ') + formula->text() + QLatin1Char(' ') + difference->text()));
            // The mark follows the signs the two texts name.
            const bool otherSign =
                precise.section(QLatin1Char(' '), 1, 1) != formulaPositions[i].section(QLatin1Char(' '), 1, 1);
            QCOMPARE(!differs->isHidden(), otherSign);
            if (otherSign) {
                ++signDifferences;
                QVERIFY(differs->font().bold());
                QCOMPARE(differs->text(), QStringLiteral("sign differs"));
            }
        }
        // The two engines agree on most signs.
        QVERIFY(signDifferences <= 3);

        // A different ayanamsa and node are named too.
        result->findChild<QAction*>(QStringLiteral("mnuBack"))->trigger();
        f.action("mnuAyanamsa_raman")->trigger();
        f.action("mnuNodeTrue")->trigger();
        result = f.analyze();
        QVERIFY(result);
        QCOMPARE(Label(result, QStringLiteral("lblEngine"))->text(),
                 QString::fromUtf8("Precise \u00b7 Raman \u00b7 true node"));
    }
};

QTEST_MAIN(PositionsSettingsTest)
#include "positions_settings_test.moc"
