// The printable report: what it holds, how it falls on pages, and the
// result window's Print, Export PDF and Save Chart Image.

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include "astro/time_conversion.h"
#include "core/text_formats.h"
#include "core/form_builders.h"
#include "core/atlas.h"
#include "core/birth_file.h"
#include "core/period_texts.h"
#include "core/place_zone.h"
#include "core/pipeline.h"
#include "ui/links.h"
#include "ui/main_window.h"
#include "report/printable_report.h"
#include "ui/result_window.h"
#include "ui/window_fixture.h"

using velmora::core::BirthAnalysis;
using velmora::core::FormInput;
using velmora::core::MessageIcon;
using velmora::report::ChartStyle;
using velmora::testing::RecordingMessages;
using velmora::testing::RecordingOpener;
using velmora::testing::ScriptedFileDialogs;
using velmora::ui::Links;

namespace {

using velmora::testing::Q;

// Asha's birth at Kathmandu: an atlas place with an exact offset, Jupiter
// retrograde, readings and a profile.
velmora::core::BirthAnalysis Analysis() {
    velmora::core::FormInput form = velmora::testing::DelhiForm("ASHA RAO");
    form.Year = "1990";
    const std::optional<velmora::core::Place> kathmandu = velmora::core::Atlas::Instance().Find("Kathmandu, Nepal");
    if (kathmandu) velmora::core::ApplyPlace(form, *kathmandu);
    const velmora::core::AnalysisOutcome outcome = velmora::core::RunAnalysis(form);
    return outcome.Result;
}

// The chart picture the document holds, and how wide it is shown.
struct ShownImage {
    QImage Image;
    QTextBlock Block;
    double Width = 0;
};

ShownImage ChartIn(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) continue;
            const QTextImageFormat image = format.toImageFormat();
            return {document.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>(), block,
                    image.width()};
        }
    }
    return {};
}

// Where each line of a block lies on the laid-out pages.
QList<QRectF> LineRects(QTextDocument& document, const QTextBlock& block) {
    QList<QRectF> rects;
    if (!block.isValid()) return rects;
    const QTextLayout* lines = block.layout();
    const QRectF box = document.documentLayout()->blockBoundingRect(block);
    const QPointF origin = box.topLeft() - lines->boundingRect().topLeft();
    for (int i = 0; i < lines->lineCount(); ++i) rects << lines->lineAt(i).rect().translated(origin);
    return rects;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ReportTest : public QObject {
    Q_OBJECT

private slots:
    void holdsEveryPartOfTheAnalysis() {
        const velmora::core::BirthAnalysis a = Analysis();
        QVERIFY(a.Birth.PlaceClock && a.Birth.ExactUtcOffsetMinutes);
        QVERIFY(!a.Display.Readings.empty());
        QVERIFY(a.Display.ProfileShown);
        const auto document = velmora::report::ReportDocument(a, ChartStyle::SouthIndian);
        const QString text = document->toPlainText();

        for (const QString& part :
             {QStringLiteral("ASHA RAO"), Q(a.Display.Details.DateOfBirth), Q(a.Display.Details.TimeOfBirth),
              QStringLiteral("Kathmandu"), Q(a.Birth.PlaceClock->Note), QStringLiteral("UTC+05:45"),
              Q(velmora::core::EngineDescription(a.Birth.Settings))})
            QVERIFY2(text.contains(part), qPrintable(part));

        // The ten positions, each with the name it is shown under.
        bool retrograde = false;
        for (std::size_t body = 0; body < velmora::kBodyCount; ++body) {
            QVERIFY2(text.contains(Q(a.Display.Positions[body])), qPrintable(Q(a.Display.Positions[body])));
            QVERIFY(text.contains(Q(velmora::core::kPositionCaptions[body])));
            const QString name = Q(a.Display.BodyNames[body]).trimmed();
            QVERIFY2(text.contains(name), qPrintable(name));
            retrograde = retrograde || name.endsWith(QStringLiteral("(R)"));
        }
        QVERIFY(retrograde);

        QVERIFY(text.contains(
            QStringLiteral("Your Arudha Lagna is %1").arg(Q(velmora::SignNameOf(a.Chart.ArudhaLagnaSign)))));
        // The padas table: one cell a line.
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (std::string_view label : velmora::analysis::kPadaLabels)
            QVERIFY2(lines.contains(Q(label)), qPrintable(Q(label)));
        for (const velmora::analysis::MahaDasha& maha : a.Dasha.Periods) {
            QVERIFY(text.contains(Q(maha.LordName)));
            QVERIFY(text.contains(Q(velmora::core::DateText(maha.StartDate))));
            QVERIFY(text.contains(Q(velmora::core::DateText(maha.EndDate))));
        }
        QVERIFY(text.contains(Q(velmora::core::DashaBalanceText(a.Dasha))));

        // The profile's fields, the five character texts among them.
        for (std::size_t field = 0; field < velmora::core::kProfileFieldCount; ++field) {
            QVERIFY2(text.contains(Q(velmora::core::kProfileCaptions[field])),
                     qPrintable(Q(velmora::core::kProfileCaptions[field])));
            const QString value = Q(velmora::core::WithNewlines(a.Display.Profile[field])).trimmed();
            QVERIFY2(text.contains(value), qPrintable(value));
        }
    }

    void readingsKeepTheirWeightAndColour() {
        const velmora::core::BirthAnalysis a = Analysis();
        const auto document = velmora::report::ReportDocument(a, ChartStyle::SouthIndian);
        int headings = 0;
        for (const velmora::core::TextRun& run : a.Display.Readings) {
            const QString line = Q(velmora::core::WithNewlines(run.Text)).trimmed().section(QLatin1Char('\n'), 0, 0);
            if (line.isEmpty()) continue;
            const QTextCursor found = document->find(line);
            QVERIFY2(!found.isNull(), qPrintable(line));
            const QTextCharFormat format = found.charFormat();
            QCOMPARE(format.fontWeight() == QFont::Bold, run.Bold);
            QCOMPARE(format.foreground().color().rgb() & 0xffffff, run.Color);
            headings += run.Bold;
        }
        QVERIFY(headings > 0);
    }

    void theChartIsTheBirthChartInTheChosenStyle() {
        const velmora::core::BirthAnalysis a = Analysis();
        for (ChartStyle style : {ChartStyle::SouthIndian, ChartStyle::NorthIndian}) {
            const auto document = velmora::report::ReportDocument(a, style);
            const ShownImage shown = ChartIn(*document);
            QVERIFY(!shown.Image.isNull());
            QCOMPARE(shown.Image.width(), shown.Image.height());
            QCOMPARE(shown.Image, velmora::report::BirthChartImage(a, style, shown.Image.width()));
        }
        QVERIFY(velmora::report::BirthChartImage(a, ChartStyle::SouthIndian, 300) !=
                velmora::report::BirthChartImage(a, ChartStyle::NorthIndian, 300));
    }

    void pagesBreakBetweenPartsNeverThroughThem() {
        const velmora::core::BirthAnalysis a = Analysis();
        for (QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter, QPageSize::A5}) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            writer.setPageLayout(QPageLayout(QPageSize(paper), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                             QPageLayout::Millimeter));
            writer.setResolution(600);
            const auto document = velmora::report::ReportDocument(a, ChartStyle::NorthIndian);
            velmora::report::LayOutOnPages(*document, writer);
            QAbstractTextDocumentLayout* layout = document->documentLayout();
            const double page = document->pageSize().height();
            QVERIFY(document->pageCount() >= 2);
            const auto pageOf = [&](double y) { return static_cast<int>(y / page); };

            // The chart: its width on paper, on the page of its heading.
            const ShownImage chart = ChartIn(*document);
            const double chartDots = chart.Block.layout()->lineAt(0).naturalTextWidth();
            QVERIFY(qAbs(chartDots / writer.logicalDpiX() * 25.4 - velmora::report::kReportChartMillimetres) < 0.1);
            const QList<QRectF> heading = LineRects(*document, chart.Block.previous());
            const QList<QRectF> image = LineRects(*document, chart.Block);
            QVERIFY(heading.size() == 1 && image.size() == 1);
            QCOMPARE(pageOf(heading[0].top()), pageOf(image[0].bottom() - 1));

            // Every table on one page.
            int tables = 0;
            for (QTextFrame* frame : document->rootFrame()->childFrames()) {
                if (!qobject_cast<QTextTable*>(frame)) continue;
                ++tables;
                const QRectF rect = layout->frameBoundingRect(frame);
                QVERIFY2(pageOf(rect.top()) == pageOf(rect.bottom() - 1), qPrintable(QString::number(tables)));
            }
            // details, positions, padas, dashas, profile; degrees, panchanga, vargas, running;
            // karakas, argala, graha arudhas, chara dasha
            QCOMPARE(tables, 13);
            // No line across a page's end, and no heading last on its page.
            for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
                const QList<QRectF> lines = LineRects(*document, block);
                for (const QRectF& line : lines) QVERIFY(pageOf(line.top()) == pageOf(line.bottom() - 1));
                if (block.userState() != velmora::report::kReportPartStart || lines.isEmpty()) continue;
                const QList<QRectF> next = LineRects(*document, block.next());
                if (!next.isEmpty()) QCOMPARE(pageOf(lines.last().top()), pageOf(next.first().top()));
            }
        }
    }

    void thePdfIsOnTheLocalesPaper() {
        const QByteArray pdf = velmora::report::ReportPdf(Analysis(), ChartStyle::SouthIndian);
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.size() > 20000);
        const QSizeF points = velmora::report::ReportPaper().size(QPageSize::Point);
        const QRegularExpressionMatch box =
            QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
                .match(QString::fromLatin1(pdf));
        QVERIFY(box.hasMatch());
        QCOMPARE(qRound(box.captured(1).toDouble()), qRound(points.width()));
        QCOMPARE(qRound(box.captured(2).toDouble()), qRound(points.height()));
    }

    void theResultWindowExportsTheReportAndTheChart() {
        QTemporaryDir dir;
        RecordingOpener opener;
        Links links(opener);
        RecordingMessages messages;
        ScriptedFileDialogs dialogs;
        velmora::ui::ResultWindow window(links);
        window.SetFileDialogs(&dialogs);
        window.SetMessages(&messages);
        const velmora::core::BirthAnalysis a = Analysis();
        window.ShowResult(a);
        window.SetChartStyle(ChartStyle::NorthIndian);

        dialogs.Answers = {dir.filePath(QStringLiteral("report")), dir.filePath(QStringLiteral("chart.png"))};
        window.findChild<QAction*>(QStringLiteral("mnuExportPdf"))->trigger();
        window.findChild<QAction*>(QStringLiteral("mnuSaveChartImage"))->trigger();
        QVERIFY(messages.Notices.isEmpty());
        QCOMPARE(dialogs.Saved.size(), 2);
        QVERIFY(dialogs.Saved[0].Start.endsWith(QStringLiteral("/asha-rao-arudha-lagna.pdf")));
        QCOMPARE(dialogs.Saved[0].Filter, QStringLiteral("PDF files (*.pdf)"));
        QVERIFY(ReadAll(dir.filePath(QStringLiteral("report.pdf"))).startsWith("%PDF-"));
        const QImage saved(dir.filePath(QStringLiteral("chart.png")));
        QCOMPARE(saved.size(), QSize(1200, 1200));
        QCOMPARE(saved.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 velmora::report::BirthChartImage(a, ChartStyle::NorthIndian, 1200));

        // Into a folder that is not there: a message, nothing written.
        dialogs.Answers = {dir.filePath(QStringLiteral("gone/report.pdf"))};
        window.findChild<QAction*>(QStringLiteral("mnuExportPdf"))->trigger();
        QCOMPARE(messages.Notices.size(), 1);
        QCOMPARE(messages.Notices[0].Icon, velmora::core::MessageIcon::Critical);
        QVERIFY(messages.Notices[0].Text.startsWith(QStringLiteral("Cannot save \u201Creport.pdf\u201D")));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("gone"))));

        // A cancelled dialog writes nothing.
        window.findChild<QAction*>(QStringLiteral("mnuSaveChartImage"))->trigger();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{QStringLiteral("chart.png"), QStringLiteral("report.pdf")}));
    }

    void theInputWindowHandsItsDialogsToTheResultWindow() {
        QTemporaryDir dir;
        velmora::testing::InputWindowFixture f;
        velmora::MainWindow& window = f.window;
        ScriptedFileDialogs& dialogs = f.dialogs;
        const QString birth = dir.filePath(QStringLiteral("asha.vbirth"));
        QFile file(birth);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(velmora::testing::FileTextOf(Analysis().Input).c_str());
        file.close();
        QVERIFY(window.OpenBirthFile(birth));
        window.Analyze();
        QVERIFY(window.resultWindow());
        dialogs.Answers = {dir.filePath(QStringLiteral("asha.pdf"))};
        window.resultWindow()->findChild<QAction*>(QStringLiteral("mnuExportPdf"))->trigger();
        QCOMPARE(dialogs.Saved.size(), 1);
        QVERIFY(f.messages.Notices.isEmpty());
        QVERIFY(ReadAll(dir.filePath(QStringLiteral("asha.pdf"))).startsWith("%PDF-"));
    }
};

QTEST_MAIN(ReportTest)
#include "report_test.moc"
