// The entry of libjvlink.so: the factory that "creating JVDTLab.JVLink" asks for, the reason
// when it could not create the control, and the switch back to the local data service.
#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "control/control_choice.h"
#include "control/service/standin_paths.h"

#ifdef KOYOMI_STANDIN_SETTINGS_DIALOG
#include "control/service/qt/standin_settings_dialog.h"
#endif

#define KOYOMI_EXPORT extern "C" __attribute__((visibility("default")))

KOYOMI_EXPORT koyomi::JvLink* koyomi_jvlink_create_v1();
KOYOMI_EXPORT const char* koyomi_jvlink_failure_v1();
KOYOMI_EXPORT int koyomi_jvlink_use_local_service_v1();

namespace {

// Why the last koyomi_jvlink_create_v1 gave nothing, in UTF-8.
std::string& LastFailure() {
    static std::string failure;
    return failure;
}

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

koyomi::JvLink* koyomi_jvlink_create_v1() {
    // Nothing may escape through the C boundary.
    try {
        LastFailure().clear();
        koyomi::SettingsDialogRunner dialog;
#ifdef KOYOMI_STANDIN_SETTINGS_DIALOG
        dialog = koyomi::RunStandInSettingsDialog;
#endif
        koyomi::Result<std::unique_ptr<koyomi::JvLink>> link =
            koyomi::CreateControl(LibraryFolder(), std::move(dialog));
        if (!link) {
            LastFailure() = link.Reason();
            return nullptr;
        }
        return std::move(link).Value().release();
    } catch (...) {
        LastFailure() = "the control could not be created";
        return nullptr;
    }
}

const char* koyomi_jvlink_failure_v1() {
    return LastFailure().c_str();
}

int koyomi_jvlink_use_local_service_v1() {
    try {
        const koyomi::StandInPaths paths = koyomi::StandInPathsFromEnvironment(LibraryFolder());
        return koyomi::ChooseLocalDataService(paths.settings_file) ? 0 : -100;
    } catch (...) {
        return -100;
    }
}
