// The program's start before any window: the folders it works in, whether JV-Link can be
// created, and what the user is asked when it cannot. Every box goes through the presenter, so
// any window system's entry point makes the same decisions.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "acquisition/jv_link.h"
#include "acquisition/jv_link_loader.h"
#include "support/app_folders.h"
#include "support/message_dialog.h"

namespace koyomi {

struct Startup {
    AppFolders folders;
    std::unique_ptr<JVLink> control;  // the control the window hosts; none: the program ends
    int exit_code = 0;                // the program's exit code when it ends here
};

// Chooses and prepares the folders (a box and exit code 1 when one cannot be made), then
// proves that JV-Link can be created from the library in the program's folder. When JV-Link
// under Wine cannot start, the user is offered the local data service instead; when there is
// still no control, the box tells the user to install JV-Link and the program ends with 0.
// When JV-Link in this process (Windows) cannot be created, that box itself asks whether to
// try the bundled sample data (the local data service) instead; "いいえ" is its default.
Startup StartProgram(const std::filesystem::path& program_file, const FolderEnvironment& env,
                     MessagePresenter& presenter);

// How the start-up reaches the control: CreateJVLinkObject and UseLocalDataService for the
// program's folder, or a test's own.
struct ControlLoader {
    std::function<JVLinkCreation()> create;
    std::function<Status()> use_local_data_service;
};

// StartProgram with the control reached through `loader`.
Startup StartProgram(const std::filesystem::path& program_file, const FolderEnvironment& env,
                     MessagePresenter& presenter, const ControlLoader& loader);

}  // namespace koyomi
