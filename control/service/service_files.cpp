#include "control/service/service_files.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace koyomi {
namespace {

// The dataspec IDs JV-Link serves for stored data.
constexpr std::array<std::string_view, 12> kKnownDataSpecs = {
    "TOKU", "RACE", "DIFF", "BLOD", "SNAP", "SLOP", "WOOD", "YSCH", "HOSE", "HOYU", "COMM", "MING",
};

bool IsUpperAscii(char c) {
    return c >= 'A' && c <= 'Z';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) {
                   return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

}  // namespace

std::optional<ServiceFile> ParseServiceFileName(std::string_view name) {
    constexpr std::string_view kExtension = ".jvd";
    if (name.size() != 4 + 14 + kExtension.size() ||
        !EqualsIgnoringAsciiCase(name.substr(18), kExtension)) {
        return std::nullopt;
    }
    const std::string_view spec = name.substr(0, 4);
    const std::string_view created = name.substr(4, 14);
    if (!std::all_of(spec.begin(), spec.end(), IsUpperAscii) ||
        !std::all_of(created.begin(), created.end(), IsDigit)) {
        return std::nullopt;
    }
    ServiceFile file;
    file.name = std::string(name);
    file.dataspec = std::string(spec);
    file.created = std::string(created);
    return file;
}

std::optional<std::vector<std::string>> ParseDataSpec(std::u16string_view dataspec) {
    if (dataspec.empty() || dataspec.size() % 4 != 0) {
        return std::nullopt;
    }
    std::vector<std::string> specs;
    for (size_t start = 0; start < dataspec.size(); start += 4) {
        std::string spec;
        for (char16_t unit : dataspec.substr(start, 4)) {
            if (unit > 0x7F) {
                return std::nullopt;
            }
            spec += static_cast<char>(unit);
        }
        if (std::find(kKnownDataSpecs.begin(), kKnownDataSpecs.end(), spec) ==
            kKnownDataSpecs.end()) {
            return std::nullopt;
        }
        if (std::find(specs.begin(), specs.end(), spec) == specs.end()) {
            specs.push_back(spec);
        }
    }
    return specs;
}

bool IsFourteenDigits(std::u16string_view text) {
    return text.size() == 14 &&
           std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

Result<std::vector<ServiceFile>> SelectServiceFiles(const std::filesystem::path& folder,
                                                    const std::vector<std::string>& dataspecs,
                                                    std::string_view after) {
    std::vector<ServiceFile> files;
    std::error_code error;
    // increment(error) rather than ++: a folder that fails mid-listing must not throw.
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::optional<ServiceFile> file = ParseServiceFileName(entry->path().filename().string());
        if (!file || file->created <= after ||
            std::find(dataspecs.begin(), dataspecs.end(), file->dataspec) == dataspecs.end()) {
            continue;
        }
        std::error_code entry_error;
        if (!entry->is_regular_file(entry_error)) {
            continue;  // a folder or a broken link under a data file's name
        }
        file->size = entry->file_size(entry_error);
        if (entry_error) {
            continue;
        }
        files.push_back(std::move(*file));
    }
    if (error) {
        return Fail(error.message(), folder);
    }
    std::sort(files.begin(), files.end(), [](const ServiceFile& a, const ServiceFile& b) {
        return a.created != b.created ? a.created < b.created : a.name < b.name;
    });
    return files;
}

}  // namespace koyomi
