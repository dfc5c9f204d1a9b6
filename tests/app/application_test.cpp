#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/application.h"
#include "app/birth_argument.h"
#include "ui/main_window.h"
#include "ui/result_window.h"
#include "ui/window_fixture.h"

using namespace velmora;

namespace {

class FakeGuard final : public InstanceGuard {
public:
    explicit FakeGuard(bool free) : free_(free) {}
    bool Claim() override { return free_; }

private:
    bool free_;
};

// Runs the event loop until the program ends it; fails after a few seconds.
int RunUntilExit(const std::function<void()>& action) {
    QTimer::singleShot(0, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(10000);
    return QCoreApplication::exec();
}

}  // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

    testing::FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(12, 0))};
    testing::MemoryReminderStore store;
    testing::RecordingMessages messages;
    testing::RecordingOpener opener;

    std::unique_ptr<Application> Make(InstanceGuard& guard, double r = 0.0) {
        return std::make_unique<Application>(
            Application::Services{guard, clock, store, messages, opener, [r] { return r; }});
    }

    // Starts the program and runs one analysis of the sample birth, typed
    // without its place: the city box would look in the user's own library.
    static QPointer<ui::ResultWindow> StartAndAnalyze(Application& program) {
        if (!program.Start()) return nullptr;
        testing::FormTexts birth = testing::DelhiBirth();
        birth.City = birth.State = birth.Country = "";
        testing::TypeBirth(*program.mainWindow(), birth);
        program.mainWindow()->Analyze();
        return program.mainWindow()->resultWindow();
    }

private slots:
    void init() {
        store = testing::MemoryReminderStore{};
        messages = testing::RecordingMessages{};
        opener = testing::RecordingOpener{};
    }

    void aSecondCopyShowsTheNoticeAndEnds() {
        FakeGuard taken(false);
        auto program = Make(taken);
        QVERIFY(!program->Start());
        QCOMPARE(messages.Notices.size(), 1);
        QCOMPARE(messages.Notices[0].Text, QStringLiteral("Application is already running"));
        QCOMPARE(messages.Notices[0].Icon, core::MessageIcon::Information);
        QVERIFY(program->mainWindow() == nullptr);
        QVERIFY(!store.Value);  // nothing else of the start-up ran
    }

    void theCommandLineNamesOneBirthFileAtMost() {
        const QString program = QStringLiteral("velmora-arudha-lagna");
        QCOMPARE(ReadStartArguments({program}).BirthFile, QString());
        QCOMPARE(ReadStartArguments({program, QStringLiteral("asha.vbirth")}).BirthFile, QStringLiteral("asha.vbirth"));
        // Options Qt did not take are left alone; after "--" a name may start with "-".
        const StartArguments mixed = ReadStartArguments(
            {program, QStringLiteral("-reverse"), QStringLiteral("asha.vbirth"), QStringLiteral("--")});
        QCOMPARE(mixed.BirthFile, QStringLiteral("asha.vbirth"));
        QVERIFY(mixed.Error.isEmpty());
        QCOMPARE(ReadStartArguments({program, QStringLiteral("--"), QStringLiteral("-x.vbirth")}).BirthFile,
                 QStringLiteral("-x.vbirth"));
        const StartArguments two =
            ReadStartArguments({program, QStringLiteral("a.vbirth"), QStringLiteral("b.vbirth")});
        QVERIFY(two.BirthFile.isEmpty());
        QCOMPARE(two.Error, QStringLiteral("one birth file at a time, not 2 (see --help)"));
    }

    void aBirthFileGivenAtStartOpensIntoTheForm() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("asha.vbirth"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"format": "velmora-birth", "version": 1, "name": "ASHA RAO", "date": "1980-01-05",
                      "time": "09:05", "zoneRow": 34, "daylightSaving": false, "latitude": "28:36N",
                      "longitude": "077:12E", "city": "New Delhi", "state": "Delhi", "country": "India"})");
        file.close();
        FakeGuard free(true);
        auto program = Make(free);
        QVERIFY(program->Start(path));
        MainWindow* window = program->mainWindow();
        QVERIFY(window->isVisible());
        QVERIFY(messages.Notices.isEmpty());
        QCOMPARE(window->birthFilePath(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(window->CurrentForm().Name, std::string("ASHA RAO"));
        QCOMPARE(window->CurrentForm().City, std::string("New Delhi"));
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("asha.vbirth[*]")));

        // A file that cannot be opened: the window, empty, and why.
        FakeGuard again(true);
        auto other = Make(again);
        QVERIFY(other->Start(dir.filePath(QStringLiteral("absent.vbirth"))));
        QVERIFY(other->mainWindow()->isVisible());
        QCOMPARE(messages.Notices.size(), 1);
        QVERIFY(messages.Notices[0].Text.contains(QStringLiteral("absent.vbirth")));
        QVERIFY(other->mainWindow()->birthFilePath().isEmpty());
        QCOMPARE(other->mainWindow()->windowTitle(), QStringLiteral("Velmora Arudha Lagna v1.25"));

        // A second copy given a file says where to open it, and ends.
        FakeGuard taken(false);
        auto second = Make(taken);
        QVERIFY(!second->Start(path));
        QCOMPARE(messages.Notices.size(), 2);
        QVERIFY(messages.Notices[1].Text.startsWith(QStringLiteral("Application is already running.")));
        QVERIFY(messages.Notices[1].Text.contains(QStringLiteral("\u201Casha.vbirth\u201D")));
        QVERIFY(second->mainWindow() == nullptr);
    }

    void startShowsTheInputWindowAfterTheReminder() {
        FakeGuard free(true);
        store.Value = QDateTime(QDate(2026, 11, 1), QTime(8, 0)).toString(Qt::ISODate);
        messages.Answer = true;
        auto program = Make(free);
        QVERIFY(program->Start());
        QCOMPARE(messages.Questions.size(), 1);
        QCOMPARE(opener.Opened, QList<QUrl>{ui::Links::DownloadPageUrl()});
        QVERIFY(program->mainWindow()->isVisible());
        QCOMPARE(program->mainWindow()->objectName(), QStringLiteral("frmMain"));
    }

    void promotionLabelFollowsTheRandomNumber_data() {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 6; ++n) QTest::newRow(qPrintable(QStringLiteral("n=%1").arg(n))) << n;
    }
    void promotionLabelFollowsTheRandomNumber() {
        QFETCH(int, n);
        const double r = (n - 1) / 6.0 + 0.01;
        const PromotionChoice expected = n % 2 == 1 ? PromotionChoice::CoBrand : PromotionChoice::FullBrand;
        QCOMPARE(PickPromotionLabel(r), expected);
        QCOMPARE(PickPromotionLabel((n - 1) / 6.0), expected);  // the lower edge of each sixth

        FakeGuard free(true);
        auto program = Make(free, r);
        QVERIFY(program->Start());
        QCOMPARE(program->promotionShown(), expected);
        auto* coBrand = program->mainWindow()->findChild<QLabel*>(QStringLiteral("lblCobrand"));
        auto* fullBrand = program->mainWindow()->findChild<QLabel*>(QStringLiteral("lblFullBrand"));
        QVERIFY(coBrand && fullBrand);
        QCOMPARE(coBrand->isVisible(), expected == PromotionChoice::CoBrand);
        QCOMPARE(fullBrand->isVisible(), expected == PromotionChoice::FullBrand);
    }

    void exitInTheInputWindowEndsTheProgram() {
        FakeGuard free(true);
        auto program = Make(free);
        QVERIFY(program->Start());
        auto* exit = program->mainWindow()->findChild<QAction*>(QStringLiteral("mnuExit"));
        QVERIFY(exit);
        QCOMPARE(RunUntilExit([exit] { exit->trigger(); }), 0);
        QVERIFY(!program->mainWindow()->isVisible());
    }

    void closingTheResultWindowEndsTheProgramWithTheHiddenInputWindow() {
        FakeGuard free(true);
        auto program = Make(free);
        QPointer<ui::ResultWindow> result = StartAndAnalyze(*program);
        MainWindow* input = program->mainWindow();
        QVERIFY(result);
        QVERIFY(result->isVisible());
        QVERIFY(!input->isVisible());
        QCOMPARE(RunUntilExit([result] { result->close(); }), 0);
        QVERIFY(!result || !result->isVisible());
        QVERIFY(!input->isVisible());
        for (QWidget* window : QApplication::topLevelWidgets()) QVERIFY(!window->isVisible());
    }

    void exitInTheResultWindowEndsTheProgram() {
        FakeGuard free(true);
        auto program = Make(free);
        QPointer<ui::ResultWindow> result = StartAndAnalyze(*program);
        QVERIFY(result);
        auto* exit = result->findChild<QAction*>(QStringLiteral("mnuExit"));
        QVERIFY(exit);
        QCOMPARE(RunUntilExit([exit] { exit->trigger(); }), 0);
        for (QWidget* window : QApplication::topLevelWidgets()) QVERIFY(!window->isVisible());
    }

    void aboutWindowIsModalOverItsOwnerWithItsLinks() {
        FakeGuard free(true);
        auto program = Make(free);
        QVERIFY(program->Start());
        auto* about = program->mainWindow()->findChild<QAction*>(QStringLiteral("mnuAbout"));
        QVERIFY(about);
        // What the modal window shows is read while it is open, then OK
        // closes it; the checks follow once it has returned.
        struct Seen {
            QString name, title, description, business;
            QWidget* owner = nullptr;
            bool icon = false;
        } seen;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            seen.name = modal->objectName();
            seen.title = modal->windowTitle();
            seen.owner = modal->parentWidget();
            seen.icon = !modal->findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().isNull();
            seen.description = modal->findChild<QLabel*>(QStringLiteral("Label1"))->text();
            seen.business = modal->findChild<QLabel*>(QStringLiteral("Label3"))->text();
            QTest::mouseClick(modal->findChild<QLabel*>(QStringLiteral("lblHomePage")), Qt::LeftButton);
            QTest::mouseClick(modal->findChild<QLabel*>(QStringLiteral("lblCoBrand")), Qt::LeftButton);
            QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        });
        about->trigger();  // returns when OK closes the window
        QCOMPARE(seen.name, QStringLiteral("frmAbout"));
        QCOMPARE(seen.title, QStringLiteral("Velmora Arudha Lagna v1.25"));
        QCOMPARE(seen.owner, program->mainWindow());
        // The program's icon comes from the compiled-in resources.
        QVERIFY(seen.icon);
        QVERIFY(!QApplication::windowIcon().isNull());
        QVERIFY(seen.description.startsWith(
            QStringLiteral("Velmora Arudha Lagna calculates your Arudha Lagna based on Vedic Astrology.")));
        QCOMPARE(seen.business, QStringLiteral("Home Business Opportunity. Start your own Internet business and make "
                                               "money online. Get this software fully branded for your website. "));
        QCOMPARE(opener.Opened, (QList<QUrl>{ui::Links::HomePageUrl(), ui::Links::FullBrandPageUrl()}));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(ApplicationTest)
#include "application_test.moc"
