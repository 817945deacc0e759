#include "control/service/standin_settings.h"

#include <algorithm>

#include "control/service/ini_sections.h"
#include "control/service/text_file.h"

namespace koyomi {
namespace {

// Folders are kept as UTF-8 on every system: on Windows the narrow form of a path is the ANSI
// code page, which cannot hold every folder name a user may choose.
std::filesystem::path PathOfText(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string TextOfPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

StandInSettings LoadStandInSettings(const std::filesystem::path& file) {
    StandInSettings settings;
    const Result<std::string> text = ReadSmallTextFile(file);
    if (!text) {
        return settings;
    }
    const IniSections sections = ParseIniText(*text);
    if (const auto folder = IniValue(sections, "service", "folder")) {
        settings.service_folder = PathOfText(*folder);
    }
    if (const auto ms = IniInteger(sections, "download", "ms_per_file")) {
        settings.ms_per_file = std::clamp(*ms, 0, kLongestMsPerFile);
    }
    if (const auto backend = IniValue(sections, "control", "backend");
        backend && (*backend == kServiceBackendName || *backend == kWineBackendName)) {
        settings.backend = *backend;
    }
    if (const auto prefix = IniValue(sections, "wine", "prefix")) {
        settings.wine_prefix = PathOfText(*prefix);
    }
    return settings;
}

Result<int> ParseMsPerFile(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && space(text.back())) {
        text.remove_suffix(1);
    }
    long value = 0;
    bool whole = !text.empty() && text.size() <= 6;
    for (const char c : text) {
        whole = whole && c >= '0' && c <= '9';
        value = value * 10 + (c - '0');
    }
    if (!whole || value > kLongestMsPerFile) {
        return Fail("1ファイルのダウンロード時間は 0 から " + std::to_string(kLongestMsPerFile) +
                    " までのミリ秒で入力してください。");
    }
    return static_cast<int>(value);
}

Status SaveStandInSettings(const std::filesystem::path& file, const StandInSettings& settings) {
    // One line a key: a line break in a folder name would cut it.
    const auto one_line = [](std::string text) {
        text.erase(
            std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }),
            text.end());
        return text;
    };
    std::string text = "[service]\nfolder=" + one_line(TextOfPath(settings.service_folder)) +
                       "\n\n[download]\nms_per_file=" +
                       std::to_string(std::clamp(settings.ms_per_file, 0, kLongestMsPerFile)) +
                       "\n";
    if (!settings.backend.empty()) {
        text += "\n[control]\nbackend=" + one_line(settings.backend) + "\n";
    }
    if (!settings.wine_prefix.empty()) {
        text += "\n[wine]\nprefix=" + one_line(TextOfPath(settings.wine_prefix)) + "\n";
    }
    return WriteFileAtomically(file, text);
}

}  // namespace koyomi
