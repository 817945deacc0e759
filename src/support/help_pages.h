// The help and the home page that ship beside the program, and their opening. The help is
// the compiled help file "koyomivw.chm" when the program folder holds one, else the same
// pages as HTML in the folder "koyomivw-help"; the home page is an HTML page of ours in
// "koyomivw-home" (the program has no web site). Both open with the desktop's applications.
#pragma once

#include <filesystem>
#include <string>

#include "support/open_url.h"

namespace koyomi {

inline constexpr char kHelpFileName[] = "koyomivw.chm";
inline constexpr char kHtmlHelpFolderName[] = "koyomivw-help";
inline constexpr char kHomePageFolderName[] = "koyomivw-home";

// <program folder>/koyomivw-help/index.html, the table of contents of the HTML help.
std::filesystem::path HtmlHelpContentsPath(const std::filesystem::path& program_folder);

// <program folder>/koyomivw-home/index.html.
std::filesystem::path HomePagePath(const std::filesystem::path& program_folder);

// A "file://" URL of an absolute path: every byte of its UTF-8 form but letters, digits,
// "-._~", "/" and a Windows drive ("file:///C:/...") percent-encoded, so blanks, "#", "%" and
// non-ASCII names survive any opener.
std::string FileUrl(const std::filesystem::path& absolute_path);

// The home page's URL, what the about box opens.
std::string HomePageUrl(const std::filesystem::path& program_folder);

// Opens the help at its table of contents: `help_file` (the compiled help) with the desktop's
// application for it when it exists, else the HTML table of contents beside it as a web page.
// Fails when nothing could be started.
Status OpenHelpContents(DesktopLauncher& launcher, const std::filesystem::path& help_file);

}  // namespace koyomi
