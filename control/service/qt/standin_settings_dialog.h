// The stand-in control's settings dialog (JVSetUIProperties): the data service folder, with a
// folder chooser, and the download time per file.
#pragma once

#include <filesystem>

namespace koyomi {

// Shows the dialog modally over the active window when a QApplication exists (otherwise shows
// nothing and returns 0). OK saves the settings file: 0 when saved, -100 when it could not be
// (the reason is shown first). Cancel returns 0.
int RunStandInSettingsDialog(const std::filesystem::path& settings_file);

}  // namespace koyomi
