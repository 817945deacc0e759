// The entry of libjvlink.so: the factory that "creating JVDTLab.JVLink" asks for, the reason
// and cause when it could not create the control, and the switch back to the local data
// service.
#include <dlfcn.h>

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "control/control_choice.h"
#include "control/service/standin_paths.h"

#include "control/settings_dialog_module.h"

#define KOYOMI_EXPORT extern "C" __attribute__((visibility("default")))

KOYOMI_EXPORT koyomi::JVLink* koyomi_jvlink_create_v1();
KOYOMI_EXPORT const char* koyomi_jvlink_failure_v1();
KOYOMI_EXPORT const koyomi::ControlFailureDetailV1* koyomi_jvlink_failure_detail_v1();
KOYOMI_EXPORT int koyomi_jvlink_use_local_service_v1();

namespace {

// Why the last koyomi_jvlink_create_v1 gave nothing, in UTF-8.
std::string& LastFailure() {
    static std::string failure;
    return failure;
}

// Its cause, and the prefix it happened in, as the detail export hands them out.
koyomi::ControlFailure& LastFailureCause() {
    static koyomi::ControlFailure failure;
    return failure;
}

// The user chose the local data service during this run: it serves from now on, even where
// JVLINK_BACKEND says otherwise. The library is never unloaded, so this lasts the run.
bool& LocalServiceChosen() {
    static bool chosen = false;
    return chosen;
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

// The settings dialog from libjvlink-settings.so beside this library, loaded on first use and
// kept; without the module the dialog shows nothing and returns 0.
int RunSettingsDialog(const std::filesystem::path& settings_file,
                      const std::function<int()>& open_control_dialog) {
    using Entry = int (*)(const char*, int (*)(void*), void*);
    static Entry entry = [] {
        const std::filesystem::path module = LibraryFolder() / kSettingsDialogModuleFileName;
        void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        return handle == nullptr ? nullptr
                                 : reinterpret_cast<Entry>(dlsym(handle, kSettingsDialogEntryName));
    }();
    if (entry == nullptr) {
        return 0;
    }
    const auto open_control = [](void* context) {
        return (*static_cast<const std::function<int()>*>(context))();
    };
    return entry(settings_file.string().c_str(), open_control_dialog ? +open_control : nullptr,
                 const_cast<std::function<int()>*>(&open_control_dialog));
}

}  // namespace

koyomi::JVLink* koyomi_jvlink_create_v1() {
    // Nothing may escape through the C boundary.
    try {
        LastFailure().clear();
        LastFailureCause() = {};
        koyomi::ControlSettingsDialog dialog = RunSettingsDialog;
        koyomi::ControlCreation creation =
            koyomi::CreateControl(LibraryFolder(), std::move(dialog), LocalServiceChosen());
        if (!creation.link) {
            LastFailure() = creation.failure.reason;
            LastFailureCause() = std::move(creation.failure);
            return nullptr;
        }
        return creation.link.release();
    } catch (...) {
        LastFailure() = "the control could not be created";
        LastFailureCause() = {};
        return nullptr;
    }
}

const char* koyomi_jvlink_failure_v1() {
    return LastFailure().c_str();
}

const koyomi::ControlFailureDetailV1* koyomi_jvlink_failure_detail_v1() {
    static std::string prefix;
    static koyomi::ControlFailureDetailV1 detail{};
    const koyomi::ControlFailure& failure = LastFailureCause();
    prefix = failure.wine_prefix.string();
    detail.kind = static_cast<int>(failure.kind);
    detail.wine_prefix = prefix.c_str();
    detail.backend_from_environment = failure.backend_from_environment ? 1 : 0;
    return &detail;
}

int koyomi_jvlink_use_local_service_v1() {
    // This run uses the local data service even when the choice cannot be saved.
    LocalServiceChosen() = true;
    try {
        const koyomi::Result<koyomi::StandInPaths> paths =
            koyomi::StandInPathsFromEnvironment(LibraryFolder());
        if (!paths) {
            LastFailure() = paths.Reason();
            return -100;
        }
        const koyomi::Status saved = koyomi::ChooseLocalDataService(paths->settings_file);
        if (!saved) {
            LastFailure() = saved.Reason();
            return -100;
        }
        return 0;
    } catch (...) {
        LastFailure() = "the choice could not be saved";
        return -100;
    }
}
