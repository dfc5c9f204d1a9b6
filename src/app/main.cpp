// Program start: one copy only, the update reminder, then the input window.

#include <QApplication>

#include "app/application.h"
#include "app/single_instance.h"
#include "ui/platform.h"
#include "ui/update_reminder.h"

int main(int argc, char* argv[]) {
    QApplication qtApplication(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("Velmora Arudha Lagna"));
    QApplication::setDesktopFileName(QStringLiteral("velmora-arudha-lagna"));

    velmora::LockFileInstanceGuard guard;
    velmora::ui::SystemClock clock;
    velmora::ui::SettingsReminderStore reminders;
    velmora::ui::QtMessageService messages;
    velmora::ui::DesktopUrlOpener opener;

    velmora::Application program({guard, clock, reminders, messages, opener, {}});
    if (!program.Start()) return 0;
    return qtApplication.exec();
}
