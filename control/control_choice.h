// Which back end the control library serves: the local data service, or JV-Link under Wine.
// The control's own settings hold the saved choice and the Wine prefix; the environment
// variables JVLINK_BACKEND ("service" or "wine") and WINEPREFIX override them.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "acquisition/jv_link.h"
#include "control/service/standin_jvlink.h"
#include "control/service/standin_paths.h"
#include "support/result.h"

namespace koyomi {

inline constexpr std::string_view kBackendVariable = "JVLINK_BACKEND";
inline constexpr std::string_view kHostProgramName = "jvlink-host.exe";

enum class ControlBackend { kService, kWine };

struct ControlChoice {
    ControlBackend backend = ControlBackend::kService;
    std::filesystem::path wine_prefix;  // the prefix in force (Wine only)
};

// The choice in force: JVLINK_BACKEND over the saved back end (default: the local data
// service); WINEPREFIX over the saved prefix over ~/.wine, Wine's own default. An unknown
// JVLINK_BACKEND value fails.
Result<ControlChoice> ChooseControl(const StandInPaths& paths);

// Creates the control of the choice in force for a library in `program_folder`. For Wine it
// fails, with a reason naming the prefix, when wine is not found, the host cannot start or
// JV-Link is not registered in the prefix.
Result<std::unique_ptr<JvLink>> CreateControl(const std::filesystem::path& program_folder,
                                              SettingsDialogRunner dialog);

// Saves the local data service as the chosen back end, keeping the other settings.
Status ChooseLocalDataService(const std::filesystem::path& settings_file);

}  // namespace koyomi
