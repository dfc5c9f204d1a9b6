#include <QUrlQuery>
#include <QtTest>

#include "ui/recording_platform.h"
#include "ui/links.h"

using namespace velmora;
using namespace velmora::ui;

class LinksTest : public QObject {
    Q_OBJECT

private slots:
    void eachOperationOpensItsOwnAddress() {
        testing::RecordingOpener opener;
        Links links(opener);
        links.OpenOnlineHelp();
        links.OpenHomePage();
        links.OpenDownloadPage();
        links.OpenDonationPage();
        links.OpenCoBrandPage();
        links.OpenFullBrandPage();
        const QStringList expected{
            "https://arudha.velmora.example/help.html",     "https://www.velmora.example/",
            "https://arudha.velmora.example/download.html", "https://help.velmora.example/donate.html",
            "https://help.velmora.example/co-brand.html",   "https://help.velmora.example/fully-branded.html"};
        QCOMPARE(opener.Opened.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) QCOMPARE(opener.Opened[i].toString(), expected[i]);
        for (const QUrl& url : opener.Opened) QVERIFY(url.host().endsWith(QStringLiteral(".example")));
    }

    void coordinateSearchTextCannotChangeThePage_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << QStringLiteral("Pune Maharashtra India Latitude Longitude");
        QTest::newRow("ampersand and hash") << QStringLiteral("A&B #1 x=y Latitude Longitude");
        QTest::newRow("address-like") << QStringLiteral("https://evil.test/?q=1 ; rm -rf ~ Latitude Longitude");
        QTest::newRow("quotes and percent") << QStringLiteral("\"Sao\" 100% 'X' + Latitude Longitude");
        QTest::newRow("unicode") << QStringLiteral("S\u00e3o Paulo \u0928\u0908 Latitude Longitude");
    }
    void coordinateSearchTextCannotChangeThePage() {
        QFETCH(QString, text);
        testing::RecordingOpener opener;
        Links links(opener);
        links.OpenCoordinateSearch(text);
        QCOMPARE(opener.Opened.size(), 1);
        const QUrl url = opener.Opened.front();
        QVERIFY(url.isValid());
        QCOMPARE(url.scheme(), QStringLiteral("https"));
        QCOMPARE(url.host(), QStringLiteral("www.openstreetmap.org"));
        QCOMPARE(url.path(), QStringLiteral("/search"));
        QVERIFY(!url.hasFragment());
        const QUrlQuery query(url);
        QCOMPARE(query.queryItems(QUrl::FullyDecoded).size(), 1);
        QCOMPARE(query.queryItemValue(QStringLiteral("query"), QUrl::FullyDecoded), text);
    }
};

QTEST_MAIN(LinksTest)
#include "links_test.moc"
