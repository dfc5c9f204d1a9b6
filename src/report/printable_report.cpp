#include "report/printable_report.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include "core/display.h"
#include "core/jaimini_texts.h"
#include "core/period_texts.h"
#include "core/place_zone.h"
#include "core/zones.h"
#include "core/text_formats.h"
#include "model/version.h"
#include "core/parashari_texts.h"
#include "report/parashari_parts.h"
#include "report/chart_pictures.h"
#include "report/qt_text.h"
#include "report/whole_file.h"

namespace velmora::report {

namespace {

QString Q(std::string_view text) { return ToQString(text); }
QString Lines(std::string_view text) { return Q(core::WithNewlines(text)); }
QString Sign(int sign) { return Q(SignNameOf(sign)); }

// Where the chart picture lives among the document's resources.
const QUrl kChartResource(QStringLiteral("velmora-report:birth-chart"));
constexpr int kChartPixels = 1400;

const QColor kAccent(96, 96, 16);
const QColor kRule(160, 160, 128);
const QColor kHeaderGround(236, 234, 214);

// The five character texts among the profile fields.
constexpr int kCharacterFirst = static_cast<int>(core::ProfileField::Looks);
constexpr int kCharacterCount = 5;

class ReportWriter {
public:
    explicit ReportWriter(QTextDocument& document) : document_(document), cursor_(&document) {
        QFont base = QGuiApplication::font();
        base.setPointSizeF(10);
        document_.setDefaultFont(base);
        // The paper's margins are the printer's; the document adds none.
        document_.setDocumentMargin(0);
        plain_.setFontPointSize(10);
        plain_.setForeground(Qt::black);
        bold_ = plain_;
        bold_.setFontWeight(QFont::Bold);
    }

    void Title(const QString& text, const QString& under) {
        QTextBlockFormat block;
        block.setBottomMargin(2);
        QTextCharFormat format = bold_;
        format.setFontPointSize(18);
        format.setForeground(kAccent);
        Block(block, format, true);
        cursor_.insertText(text);
        QTextCharFormat small = plain_;
        small.setFontPointSize(9);
        small.setForeground(QColor(96, 96, 96));
        Block(QTextBlockFormat(), small);
        cursor_.insertText(under);
    }

    // A section's heading; it starts a part unless the part goes on from
    // the heading before.
    void Heading(const QString& text, bool startsPart = true) {
        QTextBlockFormat block;
        block.setTopMargin(14);
        block.setBottomMargin(4);
        QTextCharFormat format = bold_;
        format.setFontPointSize(13);
        format.setForeground(kAccent);
        Block(block, format, startsPart);
        cursor_.insertText(text);
    }

    void SubHeading(const QString& text, bool startsPart) {
        QTextBlockFormat block;
        block.setTopMargin(8);
        block.setBottomMargin(2);
        QTextCharFormat format = bold_;
        format.setForeground(kAccent);
        Block(block, format, startsPart);
        cursor_.insertText(text);
    }

    void Paragraph(const QString& text, const QTextCharFormat& format) {
        QTextBlockFormat block;
        block.setBottomMargin(3);
        Block(block, format);
        InsertLines(text, format);
    }
    void Paragraph(const QString& text) { Paragraph(text, plain_); }

    // A table; with a header the first row is bold and shaded, and repeats
    // on a new page.
    void Table(const QList<QStringList>& rows, bool header, const QList<int>& boldColumns = {}) {
        if (rows.isEmpty()) return;
        Block(QTextBlockFormat(), plain_);
        QTextTableFormat format;
        format.setBorder(0.5);
        format.setBorderBrush(kRule);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellPadding(3);
        format.setCellSpacing(0);
        format.setHeaderRowCount(header ? 1 : 0);
        format.setLeftMargin(0);
        const int columns = static_cast<int>(rows.first().size());
        QTextTable* table = cursor_.insertTable(static_cast<int>(rows.size()), columns, format);
        for (int row = 0; row < rows.size(); ++row) {
            for (int col = 0; col < columns && col < rows[row].size(); ++col) {
                QTextTableCell cell = table->cellAt(row, col);
                const bool heading = header && row == 0;
                if (heading) {
                    QTextCharFormat shaded = cell.format();
                    shaded.setBackground(kHeaderGround);
                    cell.setFormat(shaded);
                }
                QTextCursor at = cell.firstCursorPosition();
                at.insertText(rows[row][col], heading || boldColumns.contains(col) ? bold_ : plain_);
            }
        }
        cursor_.movePosition(QTextCursor::End);
    }

    void Image(const QImage& image, double width) {
        document_.addResource(QTextDocument::ImageResource, kChartResource, image);
        QTextBlockFormat block;
        block.setAlignment(Qt::AlignLeft);
        Block(block, plain_);
        QTextImageFormat format;
        format.setName(kChartResource.toString());
        format.setWidth(width);
        format.setHeight(width);
        cursor_.insertImage(format);
    }

    // The readings as the result window shows them: each heading bold in
    // its colour, each sentence plain. Each reading after the first starts
    // a part.
    void Readings(const std::vector<core::TextRun>& runs) {
        bool first = true;
        Block(QTextBlockFormat(), plain_);
        for (const core::TextRun& run : runs) {
            QTextCharFormat format = run.Bold ? bold_ : plain_;
            format.setForeground(QColor::fromRgb(static_cast<QRgb>(run.Color)));
            if (run.Bold) {
                if (!cursor_.block().text().isEmpty()) cursor_.insertBlock();
                if (!first) cursor_.block().setUserState(kReportPartStart);
                first = false;
            }
            InsertLines(Lines(run.Text), format);
        }
    }

private:
    // A new block at the end with these formats; the document's first
    // block is used rather than left empty.
    void Block(const QTextBlockFormat& block, const QTextCharFormat& format, bool startsPart = false) {
        if (started_) {
            cursor_.insertBlock(block, format);
        } else {
            cursor_.setBlockFormat(block);
            cursor_.setBlockCharFormat(format);
            started_ = true;
        }
        cursor_.setCharFormat(format);
        if (startsPart) cursor_.block().setUserState(kReportPartStart);
    }

    void InsertLines(const QString& text, const QTextCharFormat& format) {
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) cursor_.insertBlock();
            cursor_.insertText(lines[i], format);
        }
    }

    QTextDocument& document_;
    QTextCursor cursor_;
    QTextCharFormat plain_;
    QTextCharFormat bold_;
    bool started_ = false;
};

QString ZoneText(const core::BirthAnalysis& a) {
    const core::Birth& birth = a.Birth;
    if (birth.ExactUtcOffsetMinutes)
        return QStringLiteral("UTC%1 (exact offset)").arg(Q(core::OffsetText(*birth.ExactUtcOffsetMinutes)));
    QString text;
    if (birth.ZoneRow >= 0 && birth.ZoneRow < core::kZoneCount)
        text = Q(core::ZoneTable()[static_cast<std::size_t>(birth.ZoneRow)].Text);
    if (birth.DaylightSaving) text += QStringLiteral(", daylight saving time");
    return text;
}

QString StyleName(ChartStyle chartStyle) {
    return chartStyle == ChartStyle::NorthIndian ? QStringLiteral("North Indian") : QStringLiteral("South Indian");
}

template <std::size_t N>
QList<QStringList> Rows(const QStringList& header, const std::vector<std::array<std::string, N>>& rows) {
    QList<QStringList> table{header};
    for (const auto& row : rows) {
        QStringList cells;
        for (const std::string& cell : row) cells << Q(cell);
        table.append(cells);
    }
    return table;
}

// Jaimini's tools: the derivation of the Arudha Lagna, the karakas with
// their scheme, the karakamsa, argala, the graha arudhas and the chara dasha.
void JaiminiSection(ReportWriter& w, const core::BirthAnalysis& a) {
    if (!a.Jaimini) return;
    const analysis::JaiminiTools& tools = *a.Jaimini;
    if (a.Why) {
        w.Heading(QStringLiteral("Why the Arudha Lagna is %1").arg(Sign(a.Chart.ArudhaLagnaSign)));
        w.Paragraph(Q(a.Why->ArudhaLagna().Text));
    }
    w.Heading(QStringLiteral("Chara Karakas"));
    w.Paragraph(Q(core::KarakaSchemeText(tools.Karakas.Scheme)) +
                QStringLiteral("; the karakamsa (the navamsa of the AK) is %1.").arg(Sign(tools.Karakamsa)));
    w.Table(Rows({QStringLiteral("Karaka"), QStringLiteral("Name"), QStringLiteral("Body"),
                  QStringLiteral("Degree in sign")},
                 core::KarakaRows(tools.Karakas)),
            true, {0});
    w.Heading(QStringLiteral("Argala"));
    w.Table(Rows({QStringLiteral("From"), QStringLiteral("Sign"), QStringLiteral("House"), QStringLiteral("Bodies"),
                  QStringLiteral("Obstruction"), QStringLiteral("Obstructing"), QStringLiteral("State")},
                 core::ArgalaRows(tools)),
            true, {0});
    w.Heading(QStringLiteral("Graha Arudhas"));
    w.Table(Rows({QStringLiteral("Body"), QStringLiteral("Own sign"), QStringLiteral("Arudha"), QString()},
                 core::GrahaArudhaRows(tools)),
            true, {0});
    w.Heading(QStringLiteral("Chara Dasha"));
    w.Paragraph(Q(core::CharaDirectionText(tools.CharaDasha)));
    w.Table(Rows({QStringLiteral("Period"), QStringLiteral("Years"), QStringLiteral("From"), QStringLiteral("To")},
                 core::CharaPeriodRows(tools.CharaDasha)),
            true, {0});
}

// Scales the chart picture so it is kReportChartMillimetres wide on the device.
// The layout measures images in the screen's dots, whatever the device's
// resolution, so the width is measured once laid out and corrected.
void FitChart(QTextDocument& document, const QPaintDevice& device) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            if (format.name() != kChartResource.toString()) continue;
            layout->documentSize();  // lays the document out
            const QTextLine line = block.layout()->lineAt(0);
            const double shown = line.isValid() ? line.naturalTextWidth() : 0;
            if (shown <= 0) return;
            const double wanted = kReportChartMillimetres / 25.4 * device.logicalDpiX();
            const double scale = wanted / shown;
            format.setWidth(format.width() * scale);
            format.setHeight(format.height() * scale);
            QTextCursor image(&document);
            image.setPosition(fragment.position());
            image.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            image.setCharFormat(format);
            return;
        }
    }
}

// The top and bottom of the part that starts at `start`: its blocks up to
// the next part's start, tables whole.
std::pair<double, double> PartExtent(QTextDocument& document, const QTextBlock& start) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    layout->documentSize();  // lays out what the last change moved
    const double top = layout->blockBoundingRect(start).top();
    double bottom = top;
    for (QTextBlock block = start; block.isValid(); block = block.next()) {
        if (block != start && block.userState() == kReportPartStart) break;
        QTextFrame* frame = document.frameAt(block.position());
        const bool inTable = frame && frame != document.rootFrame();
        // The empty blocks between parts are spacing, not content.
        if (block.text().isEmpty() && !inTable) continue;
        bottom = std::max(bottom, layout->blockBoundingRect(block).bottom());
        if (inTable) bottom = std::max(bottom, layout->frameBoundingRect(frame).bottom());
    }
    return {top, bottom};
}

// Moves each part that a page end would break to the start of the next
// page, where it then fits; a part longer than a page stays where it is.
// (QTextDocument takes no "page-break-inside: avoid"; the layout itself
// only moves single lines, pictures and table rows.)
void KeepPartsWhole(QTextDocument& document) {
    const double pageHeight = document.pageSize().height();
    const auto broken = [&](const std::pair<double, double>& extent) {
        return static_cast<long>(extent.first / pageHeight) != static_cast<long>((extent.second - 0.5) / pageHeight);
    };
    for (QTextBlock start = document.begin(); start.isValid(); start = start.next()) {
        if (start.userState() != kReportPartStart || !broken(PartExtent(document, start))) continue;
        QTextCursor cursor(start);
        QTextBlockFormat format;
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.mergeBlockFormat(format);
        if (broken(PartExtent(document, start))) {
            format.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
            cursor.mergeBlockFormat(format);
        }
    }
}

QPalette ChartPalette() {
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, QColor(24, 24, 24));
    palette.setColor(QPalette::Highlight, QColor(96, 96, 16));
    return palette;
}

}  // namespace

QPageSize ReportPaper() {
    return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                        : QPageSize::A4);
}

QPageLayout ReportPageLayout() {
    return QPageLayout(ReportPaper(), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

QImage BirthChartImage(const core::BirthAnalysis& analysis, ChartStyle chartStyle, int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(QGuiApplication::font());
    PaintChart(painter, QRectF(0, 0, side, side), chartStyle, BirthPicture(analysis), ChartPalette());
    painter.end();
    return image;
}

std::unique_ptr<QTextDocument> ReportDocument(const core::BirthAnalysis& a, ChartStyle chartStyle) {
    auto document = std::make_unique<QTextDocument>();
    const core::DisplayTexts& shown = a.Display;
    const core::BirthDetails& d = shown.Details;
    ReportWriter w(*document);
    document->setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("Arudha Lagna of %1").arg(Q(d.Name)));

    w.Title(QStringLiteral("Arudha Lagna of %1").arg(Q(d.Name)),
            QStringLiteral("%1 v%2").arg(Q(kProgramName), Q(kProgramShortVersion)));

    w.Heading(QStringLiteral("Birth Details"));
    QList<QStringList> details{
        {QStringLiteral("Name"), Q(d.Name)},
        {QStringLiteral("Date of birth"), Q(d.DateOfBirth)},
        {QStringLiteral("Time of birth"), Q(d.TimeOfBirth)},
        {QStringLiteral("Latitude"), Q(d.Latitude) + (a.Birth.Latitude.Negative ? " S" : " N")},
        {QStringLiteral("Longitude"), Q(d.Longitude) + (a.Birth.Longitude.Negative ? " W" : " E")},
        {QStringLiteral("City"), Q(d.City)},
        {QStringLiteral("State"), Q(d.State)},
        {QStringLiteral("Country"), Q(d.Country)},
        {QStringLiteral("Zone"), ZoneText(a)}};
    if (a.Birth.PlaceClock) details.append({QStringLiteral("Place"), Q(a.Birth.PlaceClock->Note)});
    details.append({QStringLiteral("Positions from"), Q(core::EngineDescription(a.Birth.Settings))});
    w.Table(details, false, {0});

    w.Heading(QStringLiteral("Birth Chart (%1)").arg(StyleName(chartStyle)));
    w.Image(BirthChartImage(a, chartStyle, kChartPixels), 400);
    w.Paragraph(QStringLiteral("Bodies in their signs; AL is the Arudha Lagna, A2 to A11 and UL the other padas."));

    w.Heading(QStringLiteral("Vedic Planetary Position"));
    QList<QStringList> positions{{QStringLiteral("Body"), QStringLiteral("Shown as"), QStringLiteral("Position"),
                                  QStringLiteral("Sign"), QStringLiteral("Navamsa")}};
    for (std::size_t i = 0; i < kBodyCount; ++i) {
        positions.append({Q(core::kPositionCaptions[i]), Q(shown.BodyNames[i]).trimmed(), Q(shown.Positions[i]),
                          Sign(a.Chart.BodySign[i]), Sign(a.Navamsa[i])});
    }
    w.Table(positions, true);
    w.Paragraph(QStringLiteral("(R) marks a retrograde planet."));

    w.Heading(QStringLiteral("Arudha Lagna"));
    QTextCharFormat large;
    large.setFontWeight(QFont::Bold);
    large.setFontPointSize(14);
    w.Paragraph(QStringLiteral("Your Arudha Lagna is %1").arg(Sign(a.Chart.ArudhaLagnaSign)), large);
    w.Paragraph(QStringLiteral("The ascendant is %1; its lord %2 stands in %3.")
                    .arg(Sign(a.Chart.AscendantSign), Q(kBodyNames[a.Chart.AscendantLord]), Sign(a.Chart.LordSign)));

    w.Heading(QStringLiteral("Arudha Padas"));
    QList<QStringList> padas{{QStringLiteral("Pada"), QStringLiteral("House"), QStringLiteral("House sign"),
                              QStringLiteral("Lord"), QStringLiteral("Lord's sign"), QStringLiteral("Pada sign")}};
    for (const analysis::Pada& pada : a.Padas) {
        padas.append({Q(pada.Label), QString::number(pada.House), Sign(pada.HouseSign), Q(pada.LordName),
                      Sign(pada.LordSign), Sign(pada.PadaSign)});
    }
    w.Table(padas, true, {0});

    w.Heading(QStringLiteral("Vimshottari Maha Dashas"));
    w.Paragraph(Q(core::DashaBalanceText(a.Dasha)));
    QList<QStringList> dashas{{QStringLiteral("Maha dasha"), QStringLiteral("From"), QStringLiteral("To")}};
    for (const analysis::MahaDasha& maha : a.Dasha.Periods)
        dashas.append({Q(maha.LordName), Q(core::DateText(maha.StartDate)), Q(core::DateText(maha.EndDate))});
    w.Table(dashas, true, {0});
    for (const core::ReadingDasha& reading : ReadingDashas(a)) w.Paragraph(Q(reading.Text));
    w.Paragraph(Q(core::DashaYearText(a.Dasha.Year)));

    w.Heading(QStringLiteral("More About Your Arudha Lagna"));
    if (shown.Readings.empty()) {
        w.Paragraph(QStringLiteral("No reading applies to this chart."));
    } else {
        w.Readings(shown.Readings);
    }

    w.Heading(QStringLiteral("Arudha Lagna Details"));
    if (!shown.ProfileShown) {
        w.Paragraph(QStringLiteral("No sign profile for this chart."));
    } else {
        QList<QStringList> fields;
        for (int i = 0; i < core::kProfileFieldCount; ++i) {
            if (i >= kCharacterFirst && i < kCharacterFirst + kCharacterCount) continue;
            const auto field = static_cast<std::size_t>(i);
            fields.append({Q(core::kProfileCaptions[field]), Lines(shown.Profile[field])});
        }
        w.Table(fields, false, {0});
        for (int k = 0; k < kCharacterCount; ++k) {
            const auto field = static_cast<std::size_t>(kCharacterFirst) + static_cast<std::size_t>(k);
            w.SubHeading(Q(core::kProfileCaptions[field]), true);
            w.Paragraph(Lines(shown.Profile[field]));
        }
    }
    for (const ReportPart& part : ParashariParts(a)) {
        w.Heading(part.Heading);
        w.Table(part.Rows, true, {0});
        for (const QString& note : part.Notes) w.Paragraph(note);
    }
    JaiminiSection(w, a);
    return document;
}

void LayOutOnPages(QTextDocument& document, QPagedPaintDevice& device) {
    // One page is the device's printable area in its own dots, so print()
    // paints these very pages without scaling.
    document.documentLayout()->setPaintDevice(&device);
    document.setPageSize(QSizeF(device.width(), device.height()));
    FitChart(document, device);
    KeepPartsWhole(document);
}

void PrintReport(const core::BirthAnalysis& analysis, ChartStyle chartStyle, QPagedPaintDevice& device) {
    const std::unique_ptr<QTextDocument> document = ReportDocument(analysis, chartStyle);
    LayOutOnPages(*document, device);
    document->print(&device);
}

QByteArray ReportPdf(const core::BirthAnalysis& analysis, ChartStyle chartStyle) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageLayout(ReportPageLayout());
        writer.setResolution(600);
        writer.setTitle(QStringLiteral("Arudha Lagna of %1").arg(Q(analysis.Display.Details.Name)));
        writer.setCreator(QStringLiteral("%1 %2").arg(Q(kProgramName), Q(kProgramVersion)));
        PrintReport(analysis, chartStyle, writer);
    }
    return bytes;
}

bool WriteReportPdf(const core::BirthAnalysis& analysis, ChartStyle chartStyle, const QString& path, QString* error) {
    return WriteWholeFile(path, ReportPdf(analysis, chartStyle), error);
}

}  // namespace velmora::report
