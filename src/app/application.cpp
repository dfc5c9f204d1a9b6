#include "app/application.h"

#include "app/birth_argument.h"

#include <QApplication>
#include <QDateTime>
#include <QRandomGenerator>
#include <QWidget>
#include <cmath>

#include "ui/main_window.h"
#include "ui/result_window.h"
#include "ui/about_window.h"
#include "ui/window_widgets.h"

// The icon lives in the window library's resources, which a static library
// must register itself.
static void RegisterResources() { Q_INIT_RESOURCE(resources); }

namespace velmora {

PromotionChoice PickPromotionLabel(double r) {
    const int n = static_cast<int>(std::floor(6 * r)) + 1;
    return n % 2 == 1 ? PromotionChoice::CoBrand : PromotionChoice::FullBrand;
}

Application::Application(Services services) : services_(std::move(services)), links_(services_.Opener) {
    RegisterResources();
}

Application::~Application() = default;

bool Application::Start(const QString& birthFile) {
    if (!services_.Guard.Claim()) {
        services_.Messages.ShowNotice(nullptr, AlreadyRunningNotice(birthFile), core::MessageIcon::Information);
        ShutDown();
        return false;
    }

    if (!services_.Random) {
        auto generator =
            std::make_shared<QRandomGenerator>(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch() & 0xffffffffu));
        services_.Random = [generator] { return generator->generateDouble(); };
    }
    QApplication::setWindowIcon(ui::ProgramIcon());

    ui::UpdateReminder(services_.Clock, services_.Reminders, services_.Messages, links_);

    mainWindow_ = std::make_unique<MainWindow>(services_.Messages, links_);
    mainWindow_->SetSettings(&settings_);
    mainWindow_->SetClock(&services_.Clock);
    connect(mainWindow_.get(), &MainWindow::shutDownRequested, this, &Application::ShutDown);
    connect(mainWindow_.get(), &MainWindow::aboutRequested, this,
            [this](QWidget* owner) { ui::ShowAbout(links_, owner); });
    mainWindow_->show();

    promotion_ = PickPromotionLabel(services_.Random());
    mainWindow_->BringPromotionLabelToFront(promotion_ == PromotionChoice::CoBrand
                                                ? MainWindow::PromotionLabel::CoBrand
                                                : MainWindow::PromotionLabel::FullBrand);
    if (!birthFile.isEmpty()) mainWindow_->OpenBirthFile(birthFile);
    return true;
}

void Application::ShutDown() {
    if (shuttingDown_) return;  // closing the windows below comes back here
    shuttingDown_ = true;
    for (QWidget* window : QApplication::topLevelWidgets()) window->close();
    QCoreApplication::exit(0);
}

}  // namespace velmora
