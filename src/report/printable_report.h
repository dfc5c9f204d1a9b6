#pragma once

#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <memory>

#include "core/pipeline.h"
#include "report/chart_painting.h"

class QPagedPaintDevice;
class QTextDocument;

namespace velmora::report {

// The printable report of one analysis: the birth details with the place,
// zone and clock offset; the birth chart in the chosen style; the ten
// positions with their retrograde marks and navamsa signs; the Arudha Lagna;
// the twelve padas; the maha dashas; the readings in their styles; and the
// sign profile with its five character texts. The window prints it and
// exports it as PDF, and the tool writes it with --pdf.

// The paper of the user's locale: Letter where US measures are in use, A4
// elsewhere.
QPageSize ReportPaper();
// That paper upright, with margins of 15 mm.
QPageLayout ReportPageLayout();

// The birth chart (bodies and padas) in a style, as a square picture `side`
// pixels wide: dark lines and text on white.
QImage BirthChartImage(const core::BirthAnalysis& analysis, ChartStyle chartStyle, int side);

// The report's text and pictures, not yet laid out on pages. Each section,
// and each reading and character text, starts a block that PrintReport keeps
// on one page with the rest of its part where that fits.
std::unique_ptr<QTextDocument> ReportDocument(const core::BirthAnalysis& analysis, ChartStyle chartStyle);
// The QTextBlock::userState of a block that starts such a part.
inline constexpr int kReportPartStart = 1;

// Lays a report document out on the device's pages, measured in the
// device's dots: a part that fits on a page is moved whole to the next page
// rather than broken, and the chart is kReportChartMillimetres wide whatever
// the device's resolution. The device must outlive the document's layout.
inline constexpr double kReportChartMillimetres = 90;
void LayOutOnPages(QTextDocument& document, QPagedPaintDevice& device);

// The report laid out on the device's pages and painted there.
void PrintReport(const core::BirthAnalysis& analysis, ChartStyle chartStyle, QPagedPaintDevice& device);

// The report as a PDF document on ReportPageLayout's paper.
QByteArray ReportPdf(const core::BirthAnalysis& analysis, ChartStyle chartStyle);

// Writes ReportPdf to path whole or not at all; error says why not.
bool WriteReportPdf(const core::BirthAnalysis& analysis, ChartStyle chartStyle, const QString& path,
                    QString* error = nullptr);

}  // namespace velmora::report
