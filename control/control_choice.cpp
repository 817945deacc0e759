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
    if (backend.empty()) {
        backend = saved.backend;
    }
    ControlChoice choice;
    choice.backend = backend == kWineBackendName ? ControlBackend::kWine : ControlBackend::kService;
    const std::string prefix = Variable("WINEPREFIX");
    choice.wine_prefix = !prefix.empty()              ? std::filesystem::path(prefix)
                         : !saved.wine_prefix.empty() ? saved.wine_prefix
                                                      : DefaultPrefix();
    return choice;
}

Result<std::unique_ptr<JvLink>> CreateControl(const std::filesystem::path& program_folder,
                                              SettingsDialogRunner dialog) {
    StandInPaths paths = StandInPathsFromEnvironment(program_folder);
    const Result<ControlChoice> choice = ChooseControl(paths);
    if (!choice) {
        return Fail(choice.Reason());
    }
    if (choice->backend == ControlBackend::kService) {
        return std::unique_ptr<JvLink>(
            std::make_unique<StandInJVLink>(std::move(paths), std::move(dialog)));
    }
    Result<std::filesystem::path> wine = FindWineProgram();
    if (!wine) {
        return Fail(wine.Reason());
    }
    Result<std::unique_ptr<WineJVLink>> link =
        WineJVLink::Create({*wine, program_folder / kHostProgramName, choice->wine_prefix});
    if (!link) {
        return Fail(link.Reason());
    }
    return std::unique_ptr<JvLink>(std::move(link).Value());
}

Status ChooseLocalDataService(const std::filesystem::path& settings_file) {
    StandInSettings settings = LoadStandInSettings(settings_file);
    settings.backend = kServiceBackendName;
    std::string reason;
    if (!SaveStandInSettings(settings_file, settings, reason)) {
        return Fail(reason);
    }
    return {};
}

}  // namespace koyomi
