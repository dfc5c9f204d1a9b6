// The tool's Jaimini output: --karakas, the JSON keys (one birth and batch
// lines alike) and the text report's section.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "cli/tool_arguments.h"
#include "cli/tool_runner.h"

namespace {

using velmora::testing::ToolRun;

ToolRun Tool(const QStringList& arguments, const QByteArray& input = {}) {
    return velmora::testing::RunTool(arguments, input);
}

// New Delhi, 5 January 1980, 09:05: Capricorn rises, Venus is the AK.
QStringList Delhi() { return velmora::testing::ToolArgumentsWithoutPlace(velmora::testing::DelhiBirth("asha rao")); }

QJsonObject Json(const QByteArray& text) { return QJsonDocument::fromJson(text).object(); }

QStringList KarakaNames(const QJsonObject& o) {
    QStringList names;
    for (const QJsonValue& k : o["charaKarakas"].toObject()["karakas"].toArray())
        names << k.toObject()["karaka"].toString();
    return names;
}

}  // namespace

TEST(CliJaimini, KarakasSevenOrEightAndNothingElse) {
    const ToolRun eight = Tool(Delhi() + QStringList{"--json"});
    ASSERT_EQ(eight.exitCode, 0) << eight.err.toStdString();
    const QJsonObject o8 = Json(eight.out);
    EXPECT_EQ(o8["charaKarakas"].toObject()["scheme"].toInt(), 8);
    EXPECT_EQ(KarakaNames(o8), (QStringList{"AK", "AmK", "BK", "MK", "PiK", "PK", "GK", "DK"}));

    const ToolRun seven = Tool(Delhi() + QStringList{"--json", "--karakas", "7"});
    ASSERT_EQ(seven.exitCode, 0) << seven.err.toStdString();
    const QJsonObject o7 = Json(seven.out);
    EXPECT_EQ(o7["charaKarakas"].toObject()["scheme"].toInt(), 7);
    EXPECT_EQ(KarakaNames(o7), (QStringList{"AK", "AmK", "BK", "MK", "PK", "GK", "DK"}));
    for (const QJsonValue& k : o7["charaKarakas"].toObject()["karakas"].toArray())
        EXPECT_NE(k.toObject()["body"].toString(), QStringLiteral("Rahu"));
    // Only the karakas change with the scheme.
    EXPECT_EQ(o7["charaDasha"], o8["charaDasha"]);
    EXPECT_EQ(o7["argala"].toArray()[1], o8["argala"].toArray()[1]);  // from the AL

    for (const char* bad : {"6", "9", "eight", "", "7.0"}) {
        const ToolRun refused = Tool(Delhi() + QStringList{"--karakas", QString::fromLatin1(bad)});
        EXPECT_EQ(refused.exitCode, 64) << bad;
        EXPECT_TRUE(refused.err.contains(QStringLiteral("--karakas expects 7 or 8"))) << refused.err.toStdString();
        EXPECT_TRUE(refused.out.isEmpty());
    }
    const ToolRun help = Tool({"--help"});
    EXPECT_TRUE(help.out.contains("--karakas <7|8>")) << help.out.toStdString();
}

TEST(CliJaimini, TheKeysOfOneBirthAndOfBatchLines) {
    const QJsonObject o = Json(Tool(Delhi() + QStringList{"--json"}).out);
    EXPECT_EQ(o["karakamsa"].toObject()["signName"].toString(), QStringLiteral("Cancer"));
    EXPECT_EQ(o["rashiDrishti"].toArray().size(), 12);
    EXPECT_EQ(o["rashiDrishti"].toArray()[0].toObject()["aspects"].toArray(), (QJsonArray{5, 8, 11}));
    const QJsonArray argala = o["argala"].toArray();
    ASSERT_EQ(argala.size(), 3);
    EXPECT_EQ(argala[0].toObject()["from"].toString(), QStringLiteral("Asc"));
    EXPECT_EQ(argala[1].toObject()["sign"].toInt(), o["arudhaLagna"].toObject()["sign"].toInt());
    EXPECT_EQ(o["grahaArudhas"].toArray().size(), 9);
    const QJsonObject chara = o["charaDasha"].toObject();
    EXPECT_EQ(chara["direction"].toString(), QStringLiteral("backward"));  // from Capricorn
    const QJsonArray periods = chara["periods"].toArray();
    ASSERT_EQ(periods.size(), 12);
    EXPECT_EQ(periods[0].toObject()["start"].toString(), QStringLiteral("1980-01-05"));
    for (int p = 1; p < 12; ++p) EXPECT_EQ(periods[p].toObject()["start"], periods[p - 1].toObject()["end"]);
    const QJsonObject explain = o["explain"].toObject();
    EXPECT_EQ(explain.keys(),
              (QStringList{"arudhaLagna", "arudhaPadas", "charaDasha", "charaKarakas", "karakamsa"}));  // sorted
    EXPECT_EQ(explain["arudhaPadas"].toObject().size(), 12);
    EXPECT_TRUE(explain["arudhaLagna"].toArray().last().toString().endsWith(QStringLiteral("Arudha Lagna is Taurus.")));

    // A batch line is the same writer's: the same keys, the scheme given.
    const ToolRun batch = Tool({"--batch", "-", "--karakas", "7"},
                               "name,date,time,zone,dst,lat,lon,city,state,country\n"
                               "asha,1980-01-05,09:05,34,,28:36N,77:12E,,,\n");
    ASSERT_EQ(batch.exitCode, 0) << batch.err.toStdString();
    const QJsonObject line = Json(batch.out.split('\n').first());
    EXPECT_EQ(line["charaKarakas"].toObject()["scheme"].toInt(), 7);
    for (const char* key : {"karakamsa", "rashiDrishti", "argala", "grahaArudhas", "charaDasha"})
        EXPECT_EQ(line[key], o[key]) << key;
    const QJsonObject lineExplain = line["explain"].toObject();
    for (const char* key : {"arudhaLagna", "arudhaPadas", "charaDasha"})
        EXPECT_EQ(lineExplain[key], explain[key]) << key;
    EXPECT_NE(lineExplain["charaKarakas"], explain["charaKarakas"]);  // seven, not eight
}

TEST(CliJaimini, TheTextReportHasTheSectionAndTheArudhaLagnasDerivation) {
    const ToolRun run = Tool(Delhi() + QStringList{"--karakas", "7"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString text = QString::fromUtf8(run.out);
    const qsizetype why = text.indexOf(QStringLiteral("Why The Arudha Lagna Is Taurus"));
    ASSERT_GE(why, 0);
    EXPECT_TRUE(text.mid(why).contains(QStringLiteral("so the Arudha Lagna is Taurus.")));
    EXPECT_TRUE(text.contains(QStringLiteral("Chara Karakas: 7 chara karakas (no Pitrikaraka)")));
    EXPECT_FALSE(text.contains(QStringLiteral("Pitrikaraka  ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Karakamsa: Cancer")));
    for (const char* heading : {"\nArgala\n", "\nGraha Arudhas\n", "\nChara Dasha\n"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(heading))) << heading;
    EXPECT_TRUE(text.contains(QStringLiteral("Capricorn     4 years  1980-01-05 to 1984-01-05")));
}
