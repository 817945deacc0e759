#include "app/startup.h"

#include <optional>
#include <string>
#include <utility>

#include "acquisition/control_failure.h"
#include "acquisition/jv_link_loader.h"
#include "support/program_file.h"

namespace koyomi {
namespace {

// When JV-Link under Wine could not be started: says why, in which prefix, and offers the
// local data service instead. True when the user took it; the library then serves it.
bool TakeLocalDataService(const ControlFailure& failure,
                          const std::filesystem::path& program_folder,
                          MessagePresenter& presenter) {
    const std::optional<std::string> offer = LocalServiceOfferText(failure);
    if (!offer) {
        return false;
    }
    MessageDialog question;
    question.text = *offer;
    question.kind = MessageKind::Confirmation;
    question.buttons = {MessageButton::Yes, MessageButton::No};
    if (question.Execute(presenter) != DialogResult::Yes) {
        return false;
    }
    if (const Status used = UseLocalDataService(program_folder); !used) {
        // The choice could not be saved; this run still uses the local data service.
        MessageDialog warning;
        warning.text =
            "ローカルのデータフォルダの選択を保存できません。\n" + Describe(used.Error());
        warning.kind = MessageKind::Warning;
        warning.Execute(presenter);
    }
    return true;
}

}  // namespace

Startup StartProgram(const std::filesystem::path& program_file, const FolderEnvironment& env,
                     MessagePresenter& presenter) {
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
    const std::filesystem::path folder = ProgramFolderOf(program_file);
    JVLinkCreation created = CreateJVLinkObject(kJVLinkProgId, folder);
    if (!created.link && TakeLocalDataService(created.failure, folder, presenter)) {
        created = CreateJVLinkObject(kJVLinkProgId, folder);
    }
    started.control = std::move(created.link);
    if (!started.control) {
        ShowInformation(presenter, ControlMissingText(created.failure), true);
    }
    return started;
}

}  // namespace koyomi
