#include "control/service/standin_settings.h"

#include <algorithm>

#include "control/service/ini_sections.h"
#include "control/service/text_file.h"

namespace koyomi {

StandInSettings LoadStandInSettings(const std::filesystem::path& file) {
    StandInSettings settings;
    std::string text;
    if (!ReadSmallTextFile(file, text)) {
        return settings;
    }
    const IniSections sections = ParseIniText(text);
    if (const auto folder = IniValue(sections, "service", "folder")) {
        settings.service_folder = *folder;
    }
    if (const auto ms = IniInteger(sections, "download", "ms_per_file")) {
        settings.ms_per_file = std::clamp(*ms, 0, kLongestMsPerFile);
    }
    return settings;
}

bool SaveStandInSettings(const std::filesystem::path& file, const StandInSettings& settings,
                         std::string& reason) {
    std::string folder = settings.service_folder.string();
    // One line a key: a line break in the folder name would cut it.
    folder.erase(
        std::remove_if(folder.begin(), folder.end(), [](char c) { return c == '\r' || c == '\n'; }),
        folder.end());
    const std::string text =
        "[service]\nfolder=" + folder + "\n\n[download]\nms_per_file=" +
        std::to_string(std::clamp(settings.ms_per_file, 0, kLongestMsPerFile)) + "\n";
    return WriteFileAtomically(file, text, reason);
}

}  // namespace koyomi
