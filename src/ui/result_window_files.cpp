// The result window's printed report, PDF and chart picture.

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>

#include "report/printable_report.h"
#include "ui/result_window.h"
#include "report/whole_file.h"
#include "report/qt_text.h"

namespace velmora::ui {

namespace {

// The side of the saved chart picture, in pixels.
constexpr int kChartImagePixels = 1200;

}  // namespace

void ResultWindow::BuildFileCommands(QMenu* file, QAction* before) {
    auto command = [&](const QString& text, const char* name) {
        auto* action = new QAction(text, file);
        action->setObjectName(QString::fromLatin1(name));
        file->insertAction(before, action);
        return action;
    };
    QAction* print = command(QStringLiteral("&Print\u2026"), "mnuPrint");
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, &ResultWindow::PrintReport);
    connect(command(QStringLiteral("Export P&DF\u2026"), "mnuExportPdf"), &QAction::triggered, this,
            &ResultWindow::ExportPdf);
    connect(command(QStringLiteral("Save &Chart Image\u2026"), "mnuSaveChartImage"), &QAction::triggered, this,
            &ResultWindow::SaveChartImage);
    file->insertSeparator(before)->setObjectName(QStringLiteral("mnuFileSep"));
}

// "/home/asha/asha-rao-arudha-lagna.pdf" for ending "-arudha-lagna.pdf".
QString ResultWindow::SuggestedFile(const QString& ending) const {
    QString name = shown_ ? report::ToQString(shown_->Display.Details.Name).trimmed().toLower() : QString();
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    if (name.isEmpty()) name = QStringLiteral("birth");
    return QDir(QDir::homePath()).filePath(name + ending);
}

void ResultWindow::ShowSaveFailure(const QString& path, const QString& error) {
    messages_->ShowNotice(this, QStringLiteral("Cannot save \u201C%1\u201D: %2").arg(QFileInfo(path).fileName(), error),
                          core::MessageIcon::Critical);
}

void ResultWindow::PrintReport() {
    if (!shown_) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(report::ReportPageLayout());
    printer.setDocName(QStringLiteral("Arudha Lagna of %1").arg(report::ToQString(shown_->Display.Details.Name)));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print Report"));
    if (dialog.exec() != QDialog::Accepted) return;
    report::PrintReport(*shown_, chartStyle_, printer);
}

void ResultWindow::ExportPdf() {
    if (!shown_) return;
    const QString path = WithSuffix(
        dialogs_->SaveFileName(this, QStringLiteral("Export PDF"), SuggestedFile(QStringLiteral("-arudha-lagna.pdf")),
                               QStringLiteral("PDF files (*.pdf)")),
        QStringLiteral(".pdf"));
    if (path.isEmpty()) return;
    QString error;
    if (!report::WriteReportPdf(*shown_, chartStyle_, path, &error)) ShowSaveFailure(path, error);
}

void ResultWindow::SaveChartImage() {
    if (!shown_) return;
    const QString path = WithSuffix(
        dialogs_->SaveFileName(this, QStringLiteral("Save Chart Image"), SuggestedFile(QStringLiteral("-chart.png")),
                               QStringLiteral("PNG images (*.png)")),
        QStringLiteral(".png"));
    if (path.isEmpty()) return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    report::BirthChartImage(*shown_, chartStyle_, kChartImagePixels).save(&buffer, "PNG");
    QString error;
    if (!report::WriteWholeFile(path, png, &error)) ShowSaveFailure(path, error);
}

}  // namespace velmora::ui
