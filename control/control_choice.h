// Which back end the control library serves: the local data service, or JV-Link under Wine.
// The control's own settings hold the saved choice and the Wine prefix; the environment
// variables JVLINK_BACKEND ("service" or "wine") and WINEPREFIX override them.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "acquisition/control_failure.h"
#include "acquisition/jv_link.h"
#include "control/service/standin_jvlink.h"
#include "control/service/standin_paths.h"
#include "control/wine/registered_control.h"
#include "support/result.h"

namespace koyomi {

inline constexpr std::string_view kBackendVariable = "JVLINK_BACKEND";

enum class ControlBackend { Service, Wine };

struct ControlChoice {
    ControlBackend backend = ControlBackend::Service;
    std::filesystem::path wine_prefix;      // the prefix in force (Wine only)
    bool backend_from_environment = false;  // JVLINK_BACKEND chose, not the saved choice
};

// The choice in force: JVLINK_BACKEND over the saved back end (default: the local data
// service); WINEPREFIX over the saved prefix over ~/.wine, Wine's own default. An unknown
// JVLINK_BACKEND value fails.
Result<ControlChoice> ChooseControl(const StandInPaths& paths);

// The Wine prefix in force for a saved one: WINEPREFIX, else `saved_prefix`, else ~/.wine.
std::filesystem::path WinePrefixInForce(const std::filesystem::path& saved_prefix);

// Shows the control's settings dialog for `settings_file` and returns what JVSetUIProperties
// returns. `open_control_dialog` is given only for JV-Link under Wine: it opens the control's
// own settings dialog and returns that JVSetUIProperties result.
using ControlSettingsDialog = std::function<int(const std::filesystem::path& settings_file,
                                                const std::function<int()>& open_control_dialog)>;

// A control behind the control library's settings dialog: JVSetUIProperties shows that dialog,
// whose button reaches the control's own JVSetUIProperties; every other call goes straight
// through. Without a dialog JVSetUIProperties is the control's own.
class ControlWithSettingsDialog final : public JVLink {
  public:
    ControlWithSettingsDialog(std::unique_ptr<JVLink> control, std::filesystem::path settings_file,
                              ControlSettingsDialog dialog);

    int JVInit(const std::u16string& sid) override { return control_->JVInit(sid); }
    int JVSetUIProperties() override;
    int JVOpen(const std::u16string& dataspec, const std::u16string& fromtime, int option,
               int& readcount, int& downloadcount, std::u16string& lastfiletimestamp) override {
        return control_->JVOpen(dataspec, fromtime, option, readcount, downloadcount,
                                lastfiletimestamp);
    }
    int JVStatus() override { return control_->JVStatus(); }
    int JVRead(std::u16string& buff, int& size, std::u16string& filename) override {
        return control_->JVRead(buff, size, filename);
    }
    int JVClose() override { return control_->JVClose(); }
    void SetWaiter(JVLinkWaiter* waiter) override { control_->SetWaiter(waiter); }

  private:
    std::unique_ptr<JVLink> control_;
    std::filesystem::path settings_file_;
    ControlSettingsDialog dialog_;
};

// Creating the control: the object, or the failure and which of the known causes it was.
struct ControlCreation {
    std::unique_ptr<JVLink> link;
    ControlFailure failure;  // when there is no link
};

// Creates the control of the choice in force for a library in `program_folder`, or the local
// data service when `local_service_chosen` (the user chose it during this run). For Wine it
// starts the host that fits the JV-Link registered in the prefix (jvlink-host.exe for the
// 32-bit control, jvlink-host64.exe for the 64-bit one), and fails, naming the prefix, when wine
// is not found, the prefix is not set up, belongs to another user or lacks the 32-bit system
// files the 32-bit host needs, the host cannot start, or JV-Link is not registered in the
// prefix or cannot be created there.
ControlCreation CreateControl(const std::filesystem::path& program_folder,
                              ControlSettingsDialog dialog, bool local_service_chosen);

// Saves the local data service as the chosen back end, keeping the other settings.
Status ChooseLocalDataService(const std::filesystem::path& settings_file);

}  // namespace koyomi
