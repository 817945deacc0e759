#include "acquisition/jv_link_loader.h"

#include <objbase.h>
#include <winerror.h>

#include <cstdio>
#include <utility>

#include "acquisition/win32/control_bitness.h"
#include "control/service/standin_jvlink.h"
#include "control/service/standin_paths.h"
#include "control/service/standin_settings.h"
#include "control/windows/com_jvlink.h"
#include "control/windows/settings_dialog.h"
#include "support/app_folders.h"
#include "support/sjis_text.h"
#include "support/win32/windows_error.h"

namespace koyomi {
namespace {

// JV-Link in this process together with the apartment it lives in: each object holds one
// reference to COM on the thread that made it, given back only after the object is gone.
// JVSetUIProperties shows JV Link 設定, whose button reaches JV-Link's own; without a settings
// file it is JV-Link's own straight away.
class ApartmentJVLink final : public JVLink {
  public:
    ApartmentJVLink(std::unique_ptr<ComJVLink> control, std::filesystem::path settings_file)
        : control_(std::move(control)), settings_file_(std::move(settings_file)) {}
    ~ApartmentJVLink() override {
        control_.reset();
        CoUninitialize();
    }
    ApartmentJVLink(const ApartmentJVLink&) = delete;
    ApartmentJVLink& operator=(const ApartmentJVLink&) = delete;

    int JVInit(const std::u16string& sid) override { return control_->JVInit(sid); }
    int JVSetUIProperties() override {
        if (settings_file_.empty()) {
            return control_->JVSetUIProperties();
        }
        return RunWindowsSettingsDialog(
            settings_file_, [this] { return Result<int>(control_->JVSetUIProperties()); });
    }
    int JVOpen(const std::u16string& dataspec, const std::u16string& fromtime, int option,
               int& readcount, int& downloadcount, std::u16string& lastfiletimestamp) override {
        return control_->JVOpen(dataspec, fromtime, option, readcount, downloadcount,
                                lastfiletimestamp);
    }
    int JVStatus() override { return control_->JVStatus(); }
    int JVRead(std::u16string& buff, int& size, std::u16string& filename) override {
        return control_->JVRead(buff, size, filename);
    }
    int JVClose() override { return control_->JVClose(); }
    void SetWaiter(JVLinkWaiter* waiter) override { control_->SetWaiter(waiter); }

  private:
    std::unique_ptr<ComJVLink> control_;
    std::filesystem::path settings_file_;
};

// The step, the HRESULT as COM's documents spell it, and the system's words for it.
std::string HresultReason(const std::string& step, HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    return step + " (" + code + "): " + WindowsErrorReason(static_cast<DWORD>(hr));
}

JVLinkCreation CreateInProcess(std::string_view prog_id, std::filesystem::path settings_file) {
    JVLinkCreation creation;
    const auto fail = [&creation](ControlFailureKind kind, std::string reason) {
        creation.reason = reason;
        creation.failure.kind = kind;
        creation.failure.reason = std::move(reason);
        return std::move(creation);
    };
    // The control's windows and downloads need a single-threaded apartment; a thread that is
    // already in the other kind cannot host it.
    const HRESULT entered = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(entered)) {
        return fail(ControlFailureKind::InstalledNotCreated,
                    HresultReason("CoInitializeEx", entered));
    }
    ComJVLinkCreation made = ComJVLink::Create(Utf8ToUtf16(prog_id));
    if (!made.link) {
        CoUninitialize();
        const bool unregistered =
            made.failure == REGDB_E_CLASSNOTREG || made.failure == CO_E_CLASSSTRING;
        if (unregistered && prog_id == kJVLinkProgId) {
            creation.failure.advice = OtherBitnessAdvice(ReadOtherRegistryView).value_or("");
        }
        return fail(unregistered ? ControlFailureKind::NotInstalled
                                 : ControlFailureKind::InstalledNotCreated,
                    HresultReason(Utf16ToUtf8(made.step), made.failure));
    }
    creation.link =
        std::make_unique<ApartmentJVLink>(std::move(made.link), std::move(settings_file));
    return creation;
}

// JV Link 設定 while the local data service serves: JV-Link's own settings are reached through
// a JV-Link made for that alone, when it is installed.
int LocalServiceSettingsDialog(const std::filesystem::path& settings_file) {
    return RunWindowsSettingsDialog(settings_file, []() -> Result<int> {
        const JVLinkCreation made = CreateInProcess(kJVLinkProgId, {});
        if (!made.link) {
            return Fail(made.reason);
        }
        return made.link->JVSetUIProperties();
    });
}

// A copy that keeps its year files and settings beside itself keeps the local data service's
// settings and downloads there too, so that a portable copy leaves nothing in the profile.
Result<StandInPaths> StandInPathsOfCopy(const std::filesystem::path& program_folder) {
    if (KeepsDataBesideProgram(program_folder)) {
        return StandInPathsBesideProgram(StandInEnvironmentOfProcess(), program_folder);
    }
    return StandInPathsFromEnvironment(program_folder);
}

}  // namespace

JVLinkCreation CreateJVLinkObject(std::string_view prog_id,
                                  const std::filesystem::path& program_folder) {
    // The local data service, once chosen, serves instead of JV-Link until JV Link 設定 chooses
    // JV-Link again. Without a settings folder there is no saved choice.
    Result<StandInPaths> paths = StandInPathsOfCopy(program_folder);
    if (!paths) {
        return CreateInProcess(prog_id, {});
    }
    if (prog_id == kJVLinkProgId &&
        LoadStandInSettings(paths->settings_file).backend == kServiceBackendName) {
        JVLinkCreation creation;
        creation.link =
            std::make_unique<StandInJVLink>(std::move(paths).Value(), LocalServiceSettingsDialog);
        return creation;
    }
    return CreateInProcess(prog_id, paths->settings_file);
}

Status UseLocalDataService(const std::filesystem::path& program_folder) {
    const Result<StandInPaths> paths = StandInPathsOfCopy(program_folder);
    if (!paths) {
        return Fail(paths.Reason());
    }
    StandInSettings settings = LoadStandInSettings(paths->settings_file);
    settings.backend = kServiceBackendName;
    return SaveStandInSettings(paths->settings_file, settings);
}

}  // namespace koyomi
