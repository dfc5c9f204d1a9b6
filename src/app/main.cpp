// Program start: --help and --version first (they need no display), then one
// copy only, the update reminder and the input window.

#include <QApplication>
#include <cstdio>
#include <string_view>

#include "app/application.h"
#include "app/birth_argument.h"
#include "app/single_instance.h"
#include "model/version.h"
#include "ui/platform.h"
#include "ui/update_reminder.h"

namespace {

constexpr const char* kHelpText =
    "usage: velmora-arudha-lagna [-h | --help] [--version] [Qt options] [FILE.vbirth]\n"
    "\n"
    "Opens the Velmora Arudha Lagna windows: enter a birth, see its Arudha Lagna\n"
    "chart, the planetary positions and the readings. The same analysis without\n"
    "windows: velmora-arudha-lagna-cli --help.\n"
    "\n"
    "  FILE.vbirth    a birth file to open into the form (one at most); when a\n"
    "                 copy of the program already runs, it says so and ends\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "Standard Qt options such as -platform or -style are passed on to Qt.\n";

enum class EarlyAction { None, Help, Version };

// Looks for --help and --version before any Qt object exists: QApplication
// would need a display first, and these two must work without one. Other
// arguments belong to Qt; "--" ends the options.
EarlyAction FindEarlyAction(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") break;
        if (argument == "--help" || argument == "-h") return EarlyAction::Help;
        if (argument == "--version") return EarlyAction::Version;
    }
    return EarlyAction::None;
}

}  // namespace

int main(int argc, char* argv[]) {
    switch (FindEarlyAction(argc, argv)) {
        case EarlyAction::Help:
            std::fputs(kHelpText, stdout);
            return 0;
        case EarlyAction::Version:
            std::printf("velmora-arudha-lagna %.*s\n", static_cast<int>(velmora::kProgramVersion.size()),
                        velmora::kProgramVersion.data());
            return 0;
        case EarlyAction::None:
            break;
    }

    QApplication qtApplication(argc, argv);
    // What Qt leaves of the arguments: at most one birth file.
    const velmora::StartArguments arguments = velmora::ReadStartArguments(QApplication::arguments());
    if (!arguments.Error.isEmpty()) {
        std::fprintf(stderr, "velmora-arudha-lagna: %s\n", qPrintable(arguments.Error));
        return 2;
    }
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("Velmora Arudha Lagna"));
    QApplication::setDesktopFileName(QStringLiteral("velmora-arudha-lagna"));

    velmora::LockFileInstanceGuard guard;
    velmora::ui::SystemClock clock;
    velmora::ui::SettingsReminderStore reminders;
    velmora::ui::QtMessageService messages;
    velmora::ui::DesktopUrlOpener opener;

    velmora::Application program({guard, clock, reminders, messages, opener, {}});
    if (!program.Start(arguments.BirthFile)) return 0;
    return qtApplication.exec();
}
