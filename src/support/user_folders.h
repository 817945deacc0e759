// What each platform adds to the choice of folders in app_folders.cpp: whether the process may
// write a folder, and how the per-user folders are made. One implementation a platform.
#pragma once

#include <filesystem>
#include <string>

#include "support/result.h"

namespace koyomi {

// True when the process may create files in `folder`.
bool MayWriteFolder(const std::filesystem::path& folder);

// Creates `folder` and every missing folder above it, private to the user where the platform
// asks for that; an existing folder is fine, anything else in its place is not. "folder:
// reason" when one cannot be made, naming the folder asked for.
Status MakeUserFolders(const std::filesystem::path& folder);

// A path as UTF-8 for what the user reads, whatever the system's code page.
inline std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A UTF-8 name as a path; a plain char string would pass through the ANSI code page on
// Windows.
inline std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace koyomi
