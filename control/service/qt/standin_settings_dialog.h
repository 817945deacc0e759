// The control's settings dialog (JVSetUIProperties): which back end serves, the local data
// service's folder, with a folder chooser, and download time per file, and the Wine prefix
// with the host that fits the JV-Link registered there. Under Wine it also opens JV-Link's own
// settings dialog.
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <optional>

#include "control/service/standin_settings.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace koyomi {

class StandInSettingsDialog : public QDialog {
  public:
    // `open_control_dialog`, given only when JV-Link under Wine serves, is what the button
    // "JV-Link の設定..." calls; without it there is no such button.
    StandInSettingsDialog(const StandInSettings& settings, std::function<int()> open_control_dialog,
                          QWidget* parent);

    // The settings as shown, the others as loaded.
    StandInSettings Settings() const;
    // The result of the control's own dialog, the last time the button opened it.
    std::optional<int> ControlDialogResult() const { return control_dialog_result_; }

  private:
    // Names the host for the prefix in force and why.
    void ShowWineHost();

    StandInSettings settings_;
    std::function<int()> open_control_dialog_;
    std::optional<int> control_dialog_result_;
    QRadioButton* service_backend_ = nullptr;
    QRadioButton* wine_backend_ = nullptr;
    QLineEdit* wine_prefix_ = nullptr;
    QLabel* wine_host_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QSpinBox* ms_per_file_ = nullptr;
};

// Shows the dialog modally over the active window when a QApplication exists (otherwise shows
// nothing and returns 0). OK saves the settings file. Returns -100 when it could not be saved
// (the reason is shown first), else the result of the control's own dialog when the button
// opened it, else 0 (also on Cancel).
int RunStandInSettingsDialog(const std::filesystem::path& settings_file,
                             const std::function<int()>& open_control_dialog);

}  // namespace koyomi
