#include "app/startup.h"

#include <optional>
#include <string>
#include <utility>

#include "acquisition/control_failure.h"
#include "support/program_file.h"

namespace koyomi {
namespace {

enum class Offer { None, Declined, Taken };

// When JV-Link could not be created, offers the local data service instead: for JV-Link under
// Wine with why and in which prefix; for JV-Link in this process as the presence box itself,
// whose Enter ends the program. When taken, the local data service serves from now on.
Offer TakeLocalDataService(const ControlFailure& failure, const ControlLoader& loader,
                           MessagePresenter& presenter) {
    MessageDialog question;
    question.buttons = {MessageButton::Yes, MessageButton::No};
    if (const std::optional<std::string> offer = LocalServiceOfferText(failure)) {
        question.text = *offer;
        question.kind = MessageKind::Confirmation;
    } else if (const std::optional<std::string> presence = SampleDataOfferText(failure)) {
        question.text = *presence;
        question.beep = true;
        question.default_button = MessageButton::No;
    } else {
        return Offer::None;
    }
    if (question.Execute(presenter) != DialogResult::Yes) {
        return Offer::Declined;
    }
    if (const Status used = loader.use_local_data_service(); !used) {
        // The choice could not be saved; this run still uses the local data service.
        MessageDialog warning;
        warning.text =
            "ローカルのデータフォルダの選択を保存できません。\n" + Describe(used.Error());
        warning.kind = MessageKind::Warning;
        warning.Execute(presenter);
    }
    return Offer::Taken;
}

}  // namespace

Startup StartProgram(const std::filesystem::path& program_file, const FolderEnvironment& env,
                     MessagePresenter& presenter) {
    const std::filesystem::path folder = ProgramFolderOf(program_file);
    const ControlLoader loader{[folder] { return CreateJVLinkObject(kJVLinkProgId, folder); },
                               [folder] { return UseLocalDataService(folder); }};
    return StartProgram(program_file, env, presenter, loader);
}

Startup StartProgram(const std::filesystem::path& program_file, const FolderEnvironment& env,
                     MessagePresenter& presenter, const ControlLoader& loader) {
    Startup started;
    started.folders = ChooseAppFolders(program_file, env);
    if (const Status made = PrepareAppFolders(started.folders); !made) {
        // Nothing has been written yet, and nothing is written anywhere else instead.
        MessageDialog error;
        error.text = "データフォルダを作成できません。\n" + Describe(made.Error());
        error.kind = MessageKind::Error;
        error.Execute(presenter);
        started.exit_code = 1;
        return started;
    }

    // The object that proves the control can be created is the one the window keeps: under
    // Wine each object is a host process of its own, and starting one takes a while.
    JVLinkCreation created = loader.create();
    Offer offer = Offer::None;
    if (!created.link) {
        offer = TakeLocalDataService(created.failure, loader, presenter);
        if (offer == Offer::Taken) {
            created = loader.create();
        }
    }
    started.control = std::move(created.link);
    // The presence box with its question, declined, has already said what to install.
    const bool told = offer == Offer::Declined && SampleDataOfferText(created.failure);
    if (!started.control && !told) {
        ShowInformation(presenter, ControlMissingText(created.failure), true);
    }
    return started;
}

}  // namespace koyomi
