// The documents folder by the XDG user-dirs rules, which the per-user folders of Linux use.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "support/app_folders.h"

namespace koyomi {

// The documents folder the user's user-dirs.dirs names, when it exists; else the home folder.
std::filesystem::path DocumentsFolder(const FolderEnvironment& env);

// The value of `XDG_<name>_DIR` in the text of a user-dirs.dirs file: "$HOME/..." or an absolute
// path in double quotes. Nothing when missing or malformed.
std::optional<std::filesystem::path> UserDirFromText(std::string_view text, std::string_view name,
                                                     const std::filesystem::path& home);

}  // namespace koyomi
