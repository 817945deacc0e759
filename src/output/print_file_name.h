// The file a print job goes to when the machine has no printer: a PDF document in the
// program folder, named after the list title so each list keeps its own file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace koyomi {

// The name used when a title leaves nothing usable.
inline constexpr std::string_view kDefaultPrintFileStem = "koyomivw";

// A title (code page 932) as a file name without extension, in UTF-8: characters that
// separate folders or that file systems and desktops reject (/ \ : * ? " < > | and control
// characters) become "_", surrounding blanks and dots go, and the name is cut to a length
// every file system takes, at a character boundary.
std::string PrintFileStem(std::string_view sjis_title);

// `folder` / PrintFileStem(title) + ".pdf".
std::filesystem::path PrintPdfPath(const std::filesystem::path& folder,
                                   std::string_view sjis_title);

}  // namespace koyomi
