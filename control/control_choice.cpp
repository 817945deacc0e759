#include "control/control_choice.h"

#include <cstdlib>
#include <string>
#include <utility>

#include "control/service/standin_settings.h"
#include "control/wine/host_process.h"
#include "control/wine/wine_jvlink.h"

namespace koyomi {
namespace {

std::string Variable(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    return value != nullptr ? value : "";
}

std::filesystem::path DefaultPrefix() {
    const std::string home = Variable("HOME");
    return home.empty() ? std::filesystem::path() : std::filesystem::path(home) / ".wine";
}

}  // namespace

Result<ControlChoice> ChooseControl(const StandInPaths& paths) {
    const StandInSettings saved = LoadStandInSettings(paths.settings_file);
    std::string backend = Variable(kBackendVariable);
    if (!backend.empty() && backend != kServiceBackendName && backend != kWineBackendName) {
        return Fail(std::string(kBackendVariable) + "=" + backend + ": expected " +
                    std::string(kServiceBackendName) + " or " + std::string(kWineBackendName));
    }
    ControlChoice choice;
    choice.backend_from_environment = !backend.empty();
    if (backend.empty()) {
        backend = saved.backend;
    }
    choice.backend = backend == kWineBackendName ? ControlBackend::Wine : ControlBackend::Service;
    choice.wine_prefix = WinePrefixInForce(saved.wine_prefix);
    return choice;
}

std::filesystem::path WinePrefixInForce(const std::filesystem::path& saved_prefix) {
    const std::string prefix = Variable("WINEPREFIX");
    return !prefix.empty()         ? std::filesystem::path(prefix)
           : !saved_prefix.empty() ? saved_prefix
                                   : DefaultPrefix();
}

ControlWithSettingsDialog::ControlWithSettingsDialog(std::unique_ptr<JVLink> control,
                                                     std::filesystem::path settings_file,
                                                     ControlSettingsDialog dialog)
    : control_(std::move(control)),
      settings_file_(std::move(settings_file)),
      dialog_(std::move(dialog)) {}

int ControlWithSettingsDialog::JVSetUIProperties() {
    if (!dialog_) {
        return control_->JVSetUIProperties();
    }
    return dialog_(settings_file_, [this] { return control_->JVSetUIProperties(); });
}

ControlCreation CreateControl(const std::filesystem::path& program_folder,
                              ControlSettingsDialog dialog, bool local_service_chosen) {
    ControlCreation creation;
    Result<StandInPaths> found_paths = StandInPathsFromEnvironment(program_folder);
    if (!found_paths) {
        creation.failure.reason = found_paths.Reason();
        return creation;
    }
    StandInPaths paths = std::move(found_paths).Value();
    const Result<ControlChoice> choice = ChooseControl(paths);
    if (!choice) {
        creation.failure.reason = choice.Reason();
        return creation;
    }
    if (local_service_chosen || choice->backend == ControlBackend::Service) {
        SettingsDialogRunner runner;
        if (dialog) {
            runner = [dialog](const std::filesystem::path& settings_file) {
                return dialog(settings_file, {});
            };
        }
        creation.link = std::make_unique<StandInJVLink>(std::move(paths), std::move(runner));
        return creation;
    }

    creation.failure.wine_prefix = choice->wine_prefix;
    creation.failure.backend_from_environment = choice->backend_from_environment;
    const auto fail = [&creation](ControlFailureKind kind, std::string reason) {
        creation.failure.kind = kind;
        creation.failure.reason = std::move(reason);
        return std::move(creation);
    };
    const Result<std::filesystem::path> wine = FindWineProgram();
    if (!wine) {
        return fail(ControlFailureKind::WineNotFound, wine.Reason());
    }
    if (!IsWinePrefix(choice->wine_prefix)) {
        return fail(ControlFailureKind::NoPrefix,
                    "no Wine prefix at " + choice->wine_prefix.string());
    }
    // The 64-bit host needs none of the prefix's 32-bit system files.
    const HostChoice host_choice = ChooseHost(choice->wine_prefix);
    if (const PrefixCheck checked = CheckWinePrefix(choice->wine_prefix);
        checked.fault == PrefixFault::OwnedByAnotherUser ||
        (checked.fault == PrefixFault::IncompleteSyswow64 &&
         host_choice.program == kHostProgramName)) {
        return fail(checked.fault == PrefixFault::OwnedByAnotherUser
                        ? ControlFailureKind::PrefixOfAnotherUser
                        : ControlFailureKind::IncompleteSyswow64,
                    checked.reason);
    }
    HostCommand command{*wine, program_folder / host_choice.program, choice->wine_prefix};
    const HostTimeouts timeouts;
    Result<std::unique_ptr<HostProcess>> host = HostProcess::Launch(command, timeouts.startup);
    if (!host) {
        return fail(host_choice.program == kHost64ProgramName
                        ? ControlFailureKind::Host64DidNotStart
                        : ControlFailureKind::HostDidNotStart,
                    host.Reason());
    }
    if (const Status created = (*host)->ControlCreated(); !created) {
        return fail((*host)->ProgIdNotRegistered() ? ControlFailureKind::NotRegistered
                                                   : ControlFailureKind::ControlNotCreated,
                    created.Reason());
    }
    creation.link = std::make_unique<ControlWithSettingsDialog>(
        WineJVLink::Adopt(std::move(command), timeouts, std::move(host).Value()),
        paths.settings_file, std::move(dialog));
    return creation;
}

Status ChooseLocalDataService(const std::filesystem::path& settings_file) {
    StandInSettings settings = LoadStandInSettings(settings_file);
    settings.backend = kServiceBackendName;
    return SaveStandInSettings(settings_file, settings);
}

}  // namespace koyomi
