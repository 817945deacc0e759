// JV Link 設定 on Windows: which control serves (JV-Link or the local data service), the local
// data service's folder and download time per file, and a button to JV-Link's own settings.
#pragma once

#include <filesystem>
#include <functional>

#include "support/result.h"

namespace koyomi {

// Opens JV-Link's own settings dialog and gives its JVSetUIProperties result, or why JV-Link
// could not be created for it.
using ControlDialogOpener = std::function<Result<int>()>;

// Shows the dialog modally over the active window. OK saves the settings file; a new choice of
// control takes effect at the next start. Returns what JVSetUIProperties returns: -100 when the
// settings could not be saved (the reason is shown first), else the result of JV-Link's own
// dialog when the button opened it, else 0 (also on Cancel).
int RunWindowsSettingsDialog(const std::filesystem::path& settings_file,
                             const ControlDialogOpener& open_control_dialog);

}  // namespace koyomi
