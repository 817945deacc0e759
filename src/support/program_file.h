// The running program's file and folder. Year files, the settings file and the help file
// live beside the program file, so a copy of the program in another folder or under another
// name keeps its own.
#pragma once

#include <filesystem>

namespace koyomi {

// The running executable, as the system reports it (/proc/self/exe, GetModuleFileNameW); empty
// when the system cannot tell.
std::filesystem::path ProgramFilePath();

// The folder of a program file, without a trailing separator (`program_folder_`).
std::filesystem::path ProgramFolderOf(const std::filesystem::path& program_file);

// The running program's folder.
inline std::filesystem::path program_folder_() {
    return ProgramFolderOf(ProgramFilePath());
}

}  // namespace koyomi
