#include "support/app_folders.h"

#include <system_error>

#include "support/user_folders.h"

namespace koyomi {
namespace fs = std::filesystem;

AppFolders FoldersBesideProgram(const fs::path& program_file) {
    AppFolders folders;
    folders.program_folder = program_file.parent_path();
    folders.data_folder = folders.program_folder;
    folders.settings_file =
        folders.program_folder / program_file.filename().replace_extension(".ini");
    folders.documents_folder = folders.program_folder;
    folders.beside_program = true;
    return folders;
}

bool IsInstalledCopy(const fs::path& program_folder) {
    std::error_code error;
    return !program_folder.empty() &&
           fs::is_regular_file(program_folder / kInstalledMarkerName, error);
}

bool KeepsDataBesideProgram(const fs::path& program_folder) {
    return !IsInstalledCopy(program_folder) && !program_folder.empty() &&
           MayWriteFolder(program_folder);
}

AppFolders ChooseAppFolders(const fs::path& program_file, const FolderEnvironment& env) {
    if (KeepsDataBesideProgram(program_file.parent_path())) {
        return FoldersBesideProgram(program_file);
    }
    return PerUserFolders(program_file, env);
}

std::string FoldersText(const AppFolders& folders) {
    return "プログラム: " + PathText(folders.program_folder) +
           "\nデータ: " + PathText(folders.data_folder) +
           "\n設定ファイル: " + PathText(folders.settings_file) +
           "\nPDFの保存先: " + PathText(folders.documents_folder);
}

Status PrepareAppFolders(const AppFolders& folders) {
    if (folders.beside_program) {
        return {};
    }
    if (Status made = MakeUserFolders(folders.data_folder); !made) {
        return made;
    }
    return MakeUserFolders(folders.settings_file.parent_path());
}

}  // namespace koyomi
