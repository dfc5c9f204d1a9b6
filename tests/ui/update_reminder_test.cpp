#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ui/recording_platform.h"
#include "ui/links.h"
#include "ui/update_reminder.h"

using namespace velmora;
using namespace velmora::ui;

namespace {

using testing::FixedClock;
using testing::MemoryReminderStore;

// A person who takes a while to answer: the clock moves on while the
// question is on the screen.
class SlowAnswer final : public MessageService {
public:
    explicit SlowAnswer(FixedClock& clock) : clock_(clock) {}
    void ShowNotice(QWidget*, const QString&, core::MessageIcon) override {}
    bool AskYesNo(QWidget*, const QString&, core::MessageIcon) override {
        askedAt = clock_.Now();
        clock_.Set(askedAt.addSecs(25 * 60));
        return false;
    }
    UnsavedAnswer AskUnsaved(QWidget*, const QString&) override { return UnsavedAnswer::Cancel; }
    QDateTime askedAt;

private:
    FixedClock& clock_;
};

// Collects what is written to standard error while it lives.
class CapturedStandardError {
public:
    CapturedStandardError() {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        if (file_.open()) ::dup2(file_.handle(), STDERR_FILENO);
    }
    ~CapturedStandardError() { Restore(); }
    QString Text() {
        Restore();
        file_.seek(0);
        return QString::fromLocal8Bit(file_.readAll());
    }

private:
    void Restore() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }
    QTemporaryFile file_;
    int saved_ = -1;
};

// Runs as another user (effective id only) while it lives; 0 changes nothing.
class EffectiveUser {
public:
    explicit EffectiveUser(uid_t uid) : switched_(uid != 0 && ::seteuid(uid) == 0) {}
    ~EffectiveUser() {
        if (switched_ && ::seteuid(0) != 0) std::abort();  // the rest of the run would be wrong
    }
    bool Switched() const { return switched_; }

private:
    bool switched_;
};

// Sets environment variables for one test and puts the old values back.
class EnvironmentChange {
public:
    void Set(const char* name, const QByteArray& value) {
        Remember(name);
        qputenv(name, value);
    }
    void Unset(const char* name) {
        Remember(name);
        qunsetenv(name);
    }
    ~EnvironmentChange() {
        for (const auto& [name, value] : saved_) {
            if (value)
                qputenv(name.constData(), *value);
            else
                qunsetenv(name.constData());
        }
    }

private:
    void Remember(const char* name) {
        saved_.append(
            {QByteArray(name), qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
    }
    QList<QPair<QByteArray, std::optional<QByteArray>>> saved_;
};

}  // namespace

class UpdateReminderTest : public QObject {
    Q_OBJECT

    FixedClock clock;
    MemoryReminderStore store;
    testing::RecordingMessages messages;
    testing::RecordingOpener opener;

    void Run() {
        Links links(opener);
        UpdateReminder(clock, store, messages, links);
    }

private slots:
    void init() {
        clock.Set(QDateTime(QDate(2026, 3, 20), QTime(9, 30)));
        store = MemoryReminderStore{};
        messages = testing::RecordingMessages{};
        opener = testing::RecordingOpener{};
    }

    void firstStartStoresTheMomentAndAsksNothing() {
        Run();
        QVERIFY(messages.Questions.isEmpty());
        QCOMPARE(*store.Value, clock.Now().toString(Qt::ISODate));
    }

    void fourteenDaysIsQuietFifteenAsks_data() {
        QTest::addColumn<int>("days");
        QTest::addColumn<bool>("asks");
        QTest::newRow("14 days later") << 14 << false;
        QTest::newRow("15 days later") << 15 << true;
        QTest::newRow("clock set back 14 days") << -14 << false;
        QTest::newRow("clock set back 15 days") << -15 << true;
        QTest::newRow("same day") << 0 << false;
    }
    void fourteenDaysIsQuietFifteenAsks() {
        QFETCH(int, days);
        QFETCH(bool, asks);
        // Late on the stored day and early on the day of the start: calendar
        // days count, not 24-hour spans.
        const QDateTime stored(clock.Now().date().addDays(-days), QTime(23, 50));
        clock.Set(QDateTime(clock.Now().date(), QTime(0, 10)));
        store.Value = stored.toString(Qt::ISODate);
        Run();
        QCOMPARE(messages.Questions.size(), asks ? 1 : 0);
        if (asks) {
            QCOMPARE(messages.Questions[0].Text, QStringLiteral("There maybe an update to this software available\r"
                                                                "Do you want to check for an update?"));
            QCOMPARE(messages.Questions[0].Icon, core::MessageIcon::Information);
            QCOMPARE(*store.Value, clock.Now().toString(Qt::ISODate));
        } else {
            QCOMPARE(store.Writes, 0);
            QCOMPARE(*store.Value, stored.toString(Qt::ISODate));
        }
    }

    void yesOpensTheDownloadPageNoOpensNothing() {
        store.Value = clock.Now().addDays(-30).toString(Qt::ISODate);
        messages.Answer = true;
        Run();
        QCOMPARE(opener.Opened, QList<QUrl>{Links::DownloadPageUrl()});
        QCOMPARE(*store.Value, clock.Now().toString(Qt::ISODate));

        opener.Opened.clear();
        store.Value = clock.Now().addDays(-30).toString(Qt::ISODate);
        messages.Answer = false;
        Run();
        QVERIFY(opener.Opened.isEmpty());
        QCOMPARE(*store.Value, clock.Now().toString(Qt::ISODate));
        // Answered: no question for the next fourteen days.
        clock.Set(clock.Now().addDays(14));
        Run();
        QCOMPARE(messages.Questions.size(), 2);
    }

    void aStoredValueThatIsNoDateDoesNothing() {
        store.Value = QStringLiteral("last Tuesday");
        Run();
        QVERIFY(messages.Questions.isEmpty());
        QCOMPARE(store.Writes, 0);
        QCOMPARE(*store.Value, QStringLiteral("last Tuesday"));
    }

    void settingsStoreKeepsIsoTextUnderSettingsLastReminder() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("reminder.ini"));
        SettingsReminderStore settings(path);
        QVERIFY(!settings.LastReminder());
        Links links(opener);
        UpdateReminder(clock, settings, messages, links);
        QCOMPARE(*settings.LastReminder(), QStringLiteral("2026-03-20T09:30:00"));
        QSettings raw(path, QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("Settings/LastReminder")).toString(), QStringLiteral("2026-03-20T09:30:00"));
    }

    void theMomentKeptIsThatOfTheAnswer() {
        store.Value = clock.Now().addDays(-30).toString(Qt::ISODate);
        SlowAnswer person(clock);
        Links links(opener);
        UpdateReminder(clock, store, person, links);
        QVERIFY(person.askedAt.isValid());
        QCOMPARE(*store.Value, person.askedAt.addSecs(25 * 60).toString(Qt::ISODate));
    }

    void anUnavailableStoreMeansNoReminderAtAll() {
        store.IsAvailable = false;
        Run();  // first start
        store.Value = clock.Now().addDays(-30).toString(Qt::ISODate);
        Run();  // a reminder would be due
        QVERIFY(messages.Questions.isEmpty());
        QCOMPARE(store.Writes, 0);
    }

    // Without HOME and XDG_CONFIG_HOME Qt would put the settings in
    // /.config; the program keeps no settings then.
    void withoutAHomeThereAreNoSettings() {
        const QString rootSettings = QStringLiteral("/.config/Velmora");
        const bool existedBefore = QFileInfo::exists(rootSettings);
        {
            EnvironmentChange env;
            env.Unset("HOME");
            env.Unset("XDG_CONFIG_HOME");
            SettingsReminderStore settings;
            QVERIFY(!settings.Available());
            QVERIFY(!settings.LastReminder());
            Links links(opener);
            UpdateReminder(clock, settings, messages, links);
            QVERIFY(messages.Questions.isEmpty());
            if (!existedBefore) QVERIFY(!QFileInfo::exists(rootSettings));
        }
        {
            EnvironmentChange env;
            env.Unset("HOME");
            env.Set("XDG_CONFIG_HOME", "relative/config");  // not a folder anyone can rely on
            QVERIFY(!SettingsReminderStore().Available());
        }
        {
            EnvironmentChange env;
            env.Unset("HOME");
            env.Set("XDG_CONFIG_HOME", "/somewhere/config");
            QVERIFY(SettingsReminderStore().Available());
        }
        {
            EnvironmentChange env;
            env.Unset("XDG_CONFIG_HOME");
            env.Set("HOME", "/home/someone");
            QVERIFY(SettingsReminderStore().Available());
        }
    }

    // The first start cannot record itself: it says so, and later reminders
    // in the same run see the moment kept in memory.
    void aFirstStartThatCannotBeSavedIsRememberedForTheRun() {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
        blocker.close();
        SettingsReminderStore settings(dir.filePath(QStringLiteral("blocker/reminder.ini")));
        Links links(opener);
        CapturedStandardError err;
        UpdateReminder(clock, settings, messages, links);
        const QString said = err.Text();
        QVERIFY2(said.contains(QStringLiteral("cannot save the settings")), qPrintable(said));
        QCOMPARE(*settings.LastReminder(), clock.Now().toString(Qt::ISODate));
        clock.Set(clock.Now().addSecs(3600));
        UpdateReminder(clock, settings, messages, links);
        QVERIFY(messages.Questions.isEmpty());
    }

    // A due reminder whose answer cannot be saved: asked once, said on
    // standard error, not asked again in the same run. Root writes whatever
    // the file's mode, so as root the store is used as "nobody".
    void aReminderThatCannotBeSavedAsksOncePerRun() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("reminder.ini"));
        {
            QSettings raw(path, QSettings::IniFormat);
            raw.setValue(QStringLiteral("Settings/LastReminder"), clock.Now().addDays(-30).toString(Qt::ISODate));
        }
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0444), 0);
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
        uid_t unprivileged = 0;
        if (::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (!nobody) QSKIP("running as root and there is no user \"nobody\" for whom file modes apply");
            unprivileged = nobody->pw_uid;
        }
        SettingsReminderStore settings(path);
        Links links(opener);
        QString said;
        {
            EffectiveUser user(unprivileged);
            QVERIFY(unprivileged == 0 || user.Switched());
            CapturedStandardError err;
            UpdateReminder(clock, settings, messages, links);
            clock.Set(clock.Now().addSecs(3600));
            UpdateReminder(clock, settings, messages, links);
            said = err.Text();
        }
        QCOMPARE(::geteuid(), ::getuid());
        ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
        QCOMPARE(messages.Questions.size(), 1);
        QVERIFY2(said.contains(QStringLiteral("cannot save the settings")), qPrintable(said));
        QCOMPARE(said.count(QStringLiteral("cannot save the settings")), 1);
    }
};

QTEST_MAIN(UpdateReminderTest)
#include "update_reminder_test.moc"
