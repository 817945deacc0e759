#include "support/help_pages.h"

#include <system_error>

namespace koyomi {

namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::filesystem::path HtmlHelpContentsPath(const std::filesystem::path& program_folder) {
    return program_folder / kHtmlHelpFolderName / "index.html";
}

std::filesystem::path HomePagePath(const std::filesystem::path& program_folder) {
    return program_folder / kHomePageFolderName / "index.html";
}

std::string FileUrl(const std::filesystem::path& absolute_path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    // UTF-8 whatever the code page; a Windows path gets its drive ("C:") unencoded after the
    // third slash, as file URLs write it.
    const std::u8string path = absolute_path.generic_u8string();
    const std::size_t drive = absolute_path.root_name().u8string().size();
    std::string url = path.starts_with(u8'/') ? "file://" : "file:///";
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char byte = static_cast<char>(path[i]);
        const auto c = static_cast<unsigned char>(byte);
        if (IsUnreserved(c) || i < drive) {
            url += byte;
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 0x0F];
        }
    }
    return url;
}

std::string HomePageUrl(const std::filesystem::path& program_folder) {
    return FileUrl(HomePagePath(program_folder));
}

Status OpenHelpContents(DesktopLauncher& launcher, const std::filesystem::path& help_file) {
    std::error_code error;
    if (std::filesystem::is_regular_file(help_file, error)) {
        return launcher.OpenWithUriHandler(FileUrl(help_file));
    }
    return OpenUrl(launcher, FileUrl(HtmlHelpContentsPath(help_file.parent_path())));
}

}  // namespace koyomi
