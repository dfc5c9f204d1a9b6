#include <QTemporaryDir>
#include <QtTest>

#include "ui/recording_platform.h"
#include "ui/links.h"
#include "ui/update_reminder.h"

using namespace velmora;
using namespace velmora::ui;

namespace {

class FixedClock final : public Clock {
public:
    QDateTime Now() const override { return now; }
    QDateTime now;
};

class MemoryStore final : public ReminderStore {
public:
    std::optional<QString> LastReminder() const override { return value; }
    void SetLastReminder(const QString& moment) override {
        value = moment;
        ++writes;
    }
    std::optional<QString> value;
    int writes = 0;
};

}  // namespace

class UpdateReminderTest : public QObject {
    Q_OBJECT

    FixedClock clock;
    MemoryStore store;
    testing::RecordingMessages messages;
    testing::RecordingOpener opener;

    void Run() {
        Links links(opener);
        UpdateReminder(clock, store, messages, links);
    }

private slots:
    void init() {
        clock.now = QDateTime(QDate(2026, 3, 20), QTime(9, 30));
        store = MemoryStore{};
        messages = testing::RecordingMessages{};
        opener = testing::RecordingOpener{};
    }

    void firstStartStoresTheMomentAndAsksNothing() {
        Run();
        QVERIFY(messages.Questions.isEmpty());
        QCOMPARE(*store.value, clock.now.toString(Qt::ISODate));
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
        const QDateTime stored(clock.now.date().addDays(-days), QTime(23, 50));
        clock.now = QDateTime(clock.now.date(), QTime(0, 10));
        store.value = stored.toString(Qt::ISODate);
        Run();
        QCOMPARE(messages.Questions.size(), asks ? 1 : 0);
        if (asks) {
            QCOMPARE(messages.Questions[0].Text, QStringLiteral("There maybe an update to this software available\r"
                                                               "Do you want to check for an update?"));
            QCOMPARE(messages.Questions[0].Icon, MessageIcon::Information);
            QCOMPARE(*store.value, clock.now.toString(Qt::ISODate));
        } else {
            QCOMPARE(store.writes, 0);
            QCOMPARE(*store.value, stored.toString(Qt::ISODate));
        }
    }

    void yesOpensTheDownloadPageNoOpensNothing() {
        store.value = clock.now.addDays(-30).toString(Qt::ISODate);
        messages.Answer = true;
        Run();
        QCOMPARE(opener.Opened, QList<QUrl>{Links::DownloadPageUrl()});
        QCOMPARE(*store.value, clock.now.toString(Qt::ISODate));

        opener.Opened.clear();
        store.value = clock.now.addDays(-30).toString(Qt::ISODate);
        messages.Answer = false;
        Run();
        QVERIFY(opener.Opened.isEmpty());
        QCOMPARE(*store.value, clock.now.toString(Qt::ISODate));
        // Answered: no question for the next fourteen days.
        clock.now = clock.now.addDays(14);
        Run();
        QCOMPARE(messages.Questions.size(), 2);
    }

    void aStoredValueThatIsNoDateDoesNothing() {
        store.value = QStringLiteral("last Tuesday");
        Run();
        QVERIFY(messages.Questions.isEmpty());
        QCOMPARE(store.writes, 0);
        QCOMPARE(*store.value, QStringLiteral("last Tuesday"));
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
};

QTEST_MAIN(UpdateReminderTest)
#include "update_reminder_test.moc"
