#include "testing/temp_folder.h"

#include <system_error>

#include "testing/unique_folder.h"

namespace koyomi::testing {

namespace fs = std::filesystem;

namespace {

// A test may have taken the owner's rights away somewhere inside; they come back so that
// everything can go.
void RestoreOwnerRights(const fs::path& folder) {
    std::error_code error;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, error);
    for (auto entry = fs::recursive_directory_iterator(
             folder, fs::directory_options::skip_permission_denied, error);
         !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        if (entry->is_directory(error) && !entry->is_symlink(error)) {
            fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
    }
}

}  // namespace

TempFolder::TempFolder(std::string_view name, Place place)
    : path_(MakeUniqueFolder(BaseOf(place), name)) {}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
    if (error) {
        RestoreOwnerRights(path_);
        fs::remove_all(path_, error);
    }
}

void TempFolder::Clear() const {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(path_, error)) {
        fs::remove_all(entry.path(), error);
    }
}

}  // namespace koyomi::testing
