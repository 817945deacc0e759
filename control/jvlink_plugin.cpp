// The entry of libjvlink.so: the factory that "creating JVDTLab.JVLink" asks for.
#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "control/service/standin_jvlink.h"
#include "control/service/standin_paths.h"

#ifdef KOYOMI_STANDIN_SETTINGS_DIALOG
#include "control/service/qt/standin_settings_dialog.h"
#endif

extern "C" __attribute__((visibility("default"))) koyomi::JvLink* koyomi_jvlink_create_v1();

namespace {

// The folder this library was loaded from, which is the program folder.
std::filesystem::path LibraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&koyomi_jvlink_create_v1), &info) != 0 &&
        info.dli_fname != nullptr) {
        std::error_code error;
        std::filesystem::path library = std::filesystem::absolute(info.dli_fname, error);
        if (!error) {
            return library.parent_path();
        }
    }
    return {};
}

}  // namespace

extern "C" koyomi::JvLink* koyomi_jvlink_create_v1() {
    // Nothing may escape through the C boundary.
    try {
        koyomi::SettingsDialogRunner dialog;
#ifdef KOYOMI_STANDIN_SETTINGS_DIALOG
        dialog = koyomi::RunStandInSettingsDialog;
#endif
        return new koyomi::StandInJVLink(koyomi::StandInPathsFromEnvironment(LibraryFolder()),
                                         std::move(dialog));
    } catch (...) {
        return nullptr;
    }
}
