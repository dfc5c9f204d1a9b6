#include "ui/platform.h"
#include "report/qt_text.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QSettings>

#include <memory>

namespace velmora::ui {

namespace {

QMessageBox::Icon BoxIcon(core::MessageIcon icon) {
    return icon == core::MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information;
}

// A carriage return alone breaks the line, as it does in the program's
// message texts.
QString Displayed(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QChar(13), QChar(10));
    return shown;
}

QString Title() { return report::ToQString(core::kApplicationTitle); }

}  // namespace

void QtMessageService::ShowNotice(QWidget* parent, const QString& text, core::MessageIcon icon) {
    QMessageBox box(BoxIcon(icon), Title(), Displayed(text), QMessageBox::Ok, parent);
    box.exec();
}

bool QtMessageService::AskYesNo(QWidget* parent, const QString& text, core::MessageIcon icon) {
    QMessageBox box(BoxIcon(icon), Title(), Displayed(text), QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

MessageService::UnsavedAnswer QtMessageService::AskUnsaved(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, Title(), Displayed(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Save:
            return UnsavedAnswer::Save;
        case QMessageBox::Discard:
            return UnsavedAnswer::Discard;
        default:
            return UnsavedAnswer::Cancel;
    }
}

void DesktopUrlOpener::Open(const QUrl& url) {
    // Whatever the outcome (no browser, no network), the user sees nothing.
    QDesktopServices::openUrl(url);
}

namespace {

std::unique_ptr<QSettings> OpenSettings(const QString& iniFilePath) {
    if (!iniFilePath.isEmpty()) return std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat);
    return std::make_unique<QSettings>(QStringLiteral("Velmora"), QStringLiteral("Velmora Arudha Lagna"));
}

}  // namespace

std::optional<QString> QtSettingsStore::Value(const QString& key) const {
    const auto settings = OpenSettings(iniFilePath_);
    const QVariant value = settings->value(key);
    if (!value.isValid()) return std::nullopt;
    return value.toString();
}

bool QtSettingsStore::SetValue(const QString& key, const QString& value) {
    const auto settings = OpenSettings(iniFilePath_);
    settings->setValue(key, value);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

}  // namespace velmora::ui
