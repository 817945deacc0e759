#include "control/service/standin_settings.h"

#include <algorithm>

#include "control/service/ini_sections.h"
#include "control/service/text_file.h"

namespace koyomi {

StandInSettings LoadStandInSettings(const std::filesystem::path& file) {
    StandInSettings settings;
    const Result<std::string> text = ReadSmallTextFile(file);
    if (!text) {
        return settings;
    }
    const IniSections sections = ParseIniText(*text);
    if (const auto folder = IniValue(sections, "service", "folder")) {
        settings.service_folder = *folder;
    }
    if (const auto ms = IniInteger(sections, "download", "ms_per_file")) {
        settings.ms_per_file = std::clamp(*ms, 0, kLongestMsPerFile);
    }
    if (const auto backend = IniValue(sections, "control", "backend");
        backend && (*backend == kServiceBackendName || *backend == kWineBackendName)) {
        settings.backend = *backend;
    }
    if (const auto prefix = IniValue(sections, "wine", "prefix")) {
        settings.wine_prefix = *prefix;
    }
    return settings;
}

Status SaveStandInSettings(const std::filesystem::path& file, const StandInSettings& settings) {
    // One line a key: a line break in a folder name would cut it.
    const auto one_line = [](std::string text) {
        text.erase(
            std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }),
            text.end());
        return text;
    };
    std::string text = "[service]\nfolder=" + one_line(settings.service_folder.string()) +
                       "\n\n[download]\nms_per_file=" +
                       std::to_string(std::clamp(settings.ms_per_file, 0, kLongestMsPerFile)) +
                       "\n";
    if (!settings.backend.empty()) {
        text += "\n[control]\nbackend=" + one_line(settings.backend) + "\n";
    }
    if (!settings.wine_prefix.empty()) {
        text += "\n[wine]\nprefix=" + one_line(settings.wine_prefix.string()) + "\n";
    }
    return WriteFileAtomically(file, text);
}

}  // namespace koyomi
