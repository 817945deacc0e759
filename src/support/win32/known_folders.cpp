// The per-user folders of Windows: the user's known folders, the same for every copy of the
// program whatever the code page, and folders made with the user's default protection.
#include <shlobj.h>
#include <windows.h>

#include <string>

#include "support/app_folders.h"
#include "support/settings_file.h"
#include "support/user_folders.h"
#include "support/win32/windows_error.h"

namespace koyomi {
namespace fs = std::filesystem;

namespace {

fs::path KnownFolder(const KNOWNFOLDERID& id) {
    wchar_t* found = nullptr;
    fs::path folder;
    if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &found) == S_OK && found != nullptr) {
        folder = fs::path(found);
    }
    CoTaskMemFree(found);
    return folder.is_absolute() ? folder : fs::path();
}

bool IsFolder(const fs::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

FolderEnvironment FolderEnvironmentOfProcess() {
    FolderEnvironment env;
    env.roaming_app_data = KnownFolder(FOLDERID_RoamingAppData);
    env.documents = KnownFolder(FOLDERID_Documents);
    env.home = KnownFolder(FOLDERID_Profile);
    return env;
}

AppFolders PerUserFolders(const fs::path& program_file, const FolderEnvironment& env) {
    AppFolders folders;
    folders.program_folder = program_file.parent_path();
    // An unknown roaming folder stays empty, so that PrepareAppFolders reports it instead of
    // writing into the current folder.
    if (env.roaming_app_data.is_absolute()) {
        folders.data_folder = env.roaming_app_data / kUserFolderName;
        folders.settings_file =
            folders.data_folder / program_file.filename().replace_extension(".ini");
    }
    folders.documents_folder = IsFolder(env.documents) ? env.documents : env.home;
    folders.beside_program = false;
    return folders;
}

bool MayWriteFolder(const fs::path& folder) {
    // Only creating a file tells: the folder's read-only attribute means nothing for folders,
    // and its access list may grant or deny through groups. The probe goes when it is closed.
    const fs::path probe =
        folder / ("koyomivw-write-test-" + std::to_string(GetCurrentProcessId()) + ".tmp");
    HANDLE handle = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(handle);
    return true;
}

Status MakeUserFolders(const fs::path& folder) {
    if (!folder.is_absolute()) {
        return Fail("FOLDERID_RoamingAppData: アプリケーションデータのフォルダが分かりません");
    }
    fs::path partial;
    for (const fs::path& part : folder) {
        partial /= part;
        if (partial == partial.root_path() || partial == partial.root_name()) {
            continue;
        }
        if (CreateDirectoryW(partial.c_str(), nullptr)) {
            continue;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS && IsFolder(partial)) {
            continue;
        }
        std::string reason = PathText(folder) + ": ";
        if (partial != folder) {
            reason += PathText(partial) + ": ";
        }
        return Fail(reason + WindowsErrorReason(error));
    }
    return {};
}

}  // namespace koyomi
