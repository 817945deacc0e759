// Where the program finds its read-only files and where it keeps the ones it writes, decided
// once at start-up. An installed copy keeps its year files, settings and printed pages in the
// user's home; any other copy keeps them beside itself when it may write there.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "support/result.h"

namespace koyomi {

// The file the install step leaves beside the program. It marks an installed copy; a write test
// would not do, since root may write into the package's folders and must not.
inline constexpr std::string_view kInstalledMarkerName = "koyomivw-installed";
// The folder name below $XDG_DATA_HOME and $XDG_CONFIG_HOME, and below the roaming
// application data folder on Windows.
inline constexpr std::string_view kUserFolderName = "koyomivw";

struct AppFolders {
    std::filesystem::path program_folder;    // the program and its read-only files
    std::filesystem::path data_folder;       // year files
    std::filesystem::path settings_file;     // the settings file
    std::filesystem::path documents_folder;  // printed PDFs
    bool beside_program = true;              // every writable thing is beside the program
};

// What the per-user folders are made of: on Linux the home folder and the XDG variables
// (relative or empty values count as unset, as the XDG rules say), on Windows the known
// folders. Each platform reads its own fields only.
struct FolderEnvironment {
    std::filesystem::path home;
    std::filesystem::path xdg_data_home;
    std::filesystem::path xdg_config_home;
    std::filesystem::path xdg_documents_dir;   // the variable, used when user-dirs.dirs has none
    std::filesystem::path roaming_app_data{};  // FOLDERID_RoamingAppData
    std::filesystem::path documents{};         // FOLDERID_Documents
};

// From the process: on Linux its environment, the home folder from the password database when
// $HOME is unset; on Windows the known folders of the user.
FolderEnvironment FolderEnvironmentOfProcess();

// Everything beside the program, as the build folder and a portable copy keep it.
AppFolders FoldersBesideProgram(const std::filesystem::path& program_file);

// The per-user folders. Linux: $XDG_DATA_HOME/koyomivw (else ~/.local/share/koyomivw), the
// settings file in $XDG_CONFIG_HOME/koyomivw/ (else ~/.config/koyomivw/), PDFs to the documents
// folder of user-dirs.dirs (else the home folder). Windows: year files and settings in
// koyomivw\ of the roaming application data folder, PDFs to the documents folder. A folder
// that cannot be known stays empty.
AppFolders PerUserFolders(const std::filesystem::path& program_file, const FolderEnvironment& env);

// True when the install step's marker lies in `program_folder`.
bool IsInstalledCopy(const std::filesystem::path& program_folder);

// Whether a copy in `program_folder` keeps what it writes beside itself: not when it is
// installed, nor when the process may not write there.
bool KeepsDataBesideProgram(const std::filesystem::path& program_folder);

// The choice made at start-up: per-user folders for an installed copy and for a copy whose
// folder the process may not write; everything beside the program otherwise.
AppFolders ChooseAppFolders(const std::filesystem::path& program_file,
                            const FolderEnvironment& env);

// The folders in use, a line each, for the about box (UTF-8).
std::string FoldersText(const AppFolders& folders);

// Creates the data folder and the settings file's folder (on Linux 0700, as the XDG rules ask)
// when they are missing; "folder: reason" when one cannot be made. Nothing else is touched.
Status PrepareAppFolders(const AppFolders& folders);

}  // namespace koyomi
