#pragma once

#include <QMainWindow>
#include <QPointer>

#include <memory>

#include "core/form_input.h"
#include "core/messages.h"
#include "ui/window_widgets.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velmora {

namespace ui {
class Clock;
class FilteredLineEdit;
class SettingsStore;
class Links;
class MessageService;
class PromotionStrip;
class ResultWindow;
}  // namespace ui

// The input window frmMain: the birth entries, their filters and checks, the
// coordinate look-up and the analysis command. Each analysis shows its
// result in a new result window while this window hides; Back returns here
// with every entry as it was.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    using PromotionLabel = ui::PromotionLabel;

    MainWindow(ui::MessageService& messages, ui::Links& links, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Only the label in front is shown and takes clicks.
    void BringPromotionLabelToFront(PromotionLabel label);

    // The entries as they stand.
    FormInput CurrentForm() const;

    // The result window of the analysis on show, null when there is none.
    ui::ResultWindow* resultWindow() const { return result_; }

    // What the result windows remember their choices in and read "now" from;
    // until set, a store in memory and the system clock.
    void SetSettings(ui::SettingsStore* settings) { settings_ = settings; }
    void SetClock(const ui::Clock* clock) { clock_ = clock; }

public slots:
    // cmdRashi and mnuNext: check, analyse, show the result.
    void Analyze();
    // cmdBrowser: a map search for the coordinates of the entered place.
    void LookUpCoordinates();

signals:
    void shutDownRequested();
    void aboutRequested(QWidget* owner);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QWidget* BuildForm();
    void FillLists();
    void SetTabOrder();
    // Shows a failed check and moves the focus where it says.
    void Reject(const Notice& notice);
    QWidget* FieldWidget(FormField field) const;
    void ReturnFromResult();
    void RequestShutDown();

    ui::MessageService& messages_;
    ui::Links& links_;
    QPointer<ui::ResultWindow> result_;
    bool shuttingDown_ = false;
    ui::SettingsStore* settings_ = nullptr;
    const ui::Clock* clock_ = nullptr;
    std::unique_ptr<ui::SettingsStore> ownSettings_;  // made when first needed

    ui::FilteredLineEdit* txtName_ = nullptr;
    QComboBox* cboMonth_ = nullptr;
    QComboBox* cboDate_ = nullptr;
    QComboBox* cboYear_ = nullptr;
    QComboBox* cboHH_ = nullptr;
    QComboBox* cboMM_ = nullptr;
    QComboBox* cboSS_ = nullptr;
    QComboBox* cmbTimeZone_ = nullptr;
    QCheckBox* chkDST_ = nullptr;
    ui::FilteredLineEdit* txtLatD_ = nullptr;
    ui::FilteredLineEdit* txtLatM_ = nullptr;
    ui::FilteredLineEdit* txtLonD_ = nullptr;
    ui::FilteredLineEdit* txtLonM_ = nullptr;
    QRadioButton* optLat_[2] = {};
    QRadioButton* optLong_[2] = {};
    QLineEdit* txtMCity_ = nullptr;
    QLineEdit* txtMState_ = nullptr;
    QLineEdit* txtMCountry_ = nullptr;
    QPushButton* cmdBrowser_ = nullptr;
    QPushButton* cmdRashi_ = nullptr;
    ui::PromotionStrip* promotion_ = nullptr;
};

}  // namespace velmora
