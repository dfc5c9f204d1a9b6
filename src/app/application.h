#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "app/single_instance.h"
#include "ui/links.h"
#include "ui/platform.h"
#include "ui/update_reminder.h"

namespace velmora {

class MainWindow;

inline constexpr const char* kAlreadyRunningMessage = "Application is already running";

// Which of the two overlapping promotional labels comes to the front for a
// random number r in [0, 1): n = floor(6 r) + 1, odd brings the co-brand
// label, even the full-brand label.
enum class PromotionChoice { CoBrand, FullBrand };
PromotionChoice PickPromotionLabel(double r);

// The running program: the start-up sequence, the windows and ShutDown. The
// platform services come in from outside, so tests substitute them.
class Application final : public QObject {
    Q_OBJECT
public:
    struct Services {
        InstanceGuard& Guard;
        const ui::Clock& Clock;
        ui::ReminderStore& Reminders;
        ui::MessageService& Messages;
        ui::UrlOpener& Opener;
        std::function<double()> Random;  // uniform in [0, 1); empty: seeded from the clock
    };

    explicit Application(Services services);
    ~Application() override;

    // Start-up: refuses a second copy (the notice, then false), seeds the
    // random numbers, runs the update reminder, shows the input window and
    // brings one promotional label to the front. A birth file, when given,
    // is then opened into the form as File > Open Birth does (a refused one
    // says why and leaves the form empty).
    bool Start(const QString& birthFile = QString());

    // Closes every window of the program, hidden ones included, then ends
    // the event loop.
    void ShutDown();

    MainWindow* mainWindow() const { return mainWindow_.get(); }
    ui::Links& links() { return links_; }
    PromotionChoice promotionShown() const { return promotion_; }

private:
    Services services_;
    ui::Links links_;
    ui::QtSettingsStore settings_;  // the user's remembered choices: engine, chart style
    std::unique_ptr<MainWindow> mainWindow_;
    PromotionChoice promotion_ = PromotionChoice::CoBrand;
    bool shuttingDown_ = false;
};

}  // namespace velmora
