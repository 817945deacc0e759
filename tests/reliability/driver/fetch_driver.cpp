// A headless program for the crash and fault tests: runs a whole fetch with the real control
// library, the real download session and a console window, or keeps rewriting the settings
// file, so that a test can kill it anywhere or run it under limits.
//
//   koyomi_fetch_driver fetch <program-folder> <control-folder> [options]
//   koyomi_fetch_driver write-settings <program-folder> <rounds, 0 = until killed> [options]
//
// Options: --file-size-limit <bytes> (a full disk: writes past it fail, SIGXFSZ ignored),
// --user <uid> (runs as that user and its same-numbered group, for a folder it may not write).
// The control's data service and folders come from the environment (JVLINK_SERVICE_DIR,
// XDG_CONFIG_HOME, XDG_CACHE_HOME). Exit status: 0 when the fetch ended, 2 bad arguments,
// 3 no control, 4 a fetch that did not end in time, 5 a limit that could not be set.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>

#include "acquisition/download_session.h"
#include "acquisition/jv_link_loader.h"
#include "console_view.h"
#include "settings_writes.h"
#include "support/clock.h"
#include "support/settings_file.h"

namespace {

using namespace koyomi;

constexpr auto kLongestFetch = std::chrono::minutes(3);

int Usage() {
    std::fprintf(stderr,
                 "usage: koyomi_fetch_driver fetch <program-folder> <control-folder> [options]\n"
                 "       koyomi_fetch_driver write-settings <program-folder> <rounds> [options]\n"
                 "options: --file-size-limit <bytes>, --user <uid>\n");
    return 2;
}

// Applies the options after the positional arguments; false when one is wrong or fails.
bool ApplyOptions(int argc, char** argv, int first) {
    for (int i = first; i < argc; i += 2) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc) {
            return false;
        }
        const long long value = std::strtoll(argv[i + 1], nullptr, 10);
        if (option == "--file-size-limit") {
            std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG instead
            const rlimit limit{static_cast<rlim_t>(value), static_cast<rlim_t>(value)};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                std::perror("setrlimit");
                return false;
            }
        } else if (option == "--user") {
            if (::setgid(static_cast<gid_t>(value)) != 0 ||
                ::setuid(static_cast<uid_t>(value)) != 0) {
                std::perror("setuid");
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

SettingsFile SettingsOf(const std::filesystem::path& program_folder) {
    SettingsFile settings(program_folder / "koyomivw");
    settings.Loaded();
    return settings;
}

int Fetch(const std::filesystem::path& program_folder, const std::filesystem::path& control) {
    const SettingsFile settings = SettingsOf(program_folder);
    driver::ConsoleView view;
    JVLinkCreation created = CreateJVLinkObject(kJVLinkProgId, control);
    if (!created.link) {
        std::printf("no-control %s\n", created.reason.c_str());
        return 3;
    }
    const SystemClock clock;
    DownloadSession session(*created.link, view, clock, settings, program_folder);
    session.InitControl("Ver.1.02");
    session.StartFetch(FetchModeFromSettings(settings));
    const auto deadline = std::chrono::steady_clock::now() + kLongestFetch;
    while (session.IsOpen()) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::printf("timeout\n");
            return 4;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (view.TimerEnabled()) {
            session.PollDownload();
        }
    }
    std::printf("done\n");
    std::fflush(stdout);
    return 0;
}

int WriteSettings(const std::filesystem::path& program_folder, long rounds) {
    const SettingsFile settings = SettingsOf(program_folder);
    for (long round = 1; rounds == 0 || round <= rounds; ++round) {
        const Status top = settings.WriteInteger("locate", "top", static_cast<int>(round));
        const Status last_time =
            settings.WriteString("JvDataGet", "LastTime", reliability::LastTimeOfRound(round));
        if (!top || !last_time) {
            std::printf("write-failed %s\n", (!top ? top : last_time).Reason().c_str());
            return 1;
        }
    }
    std::printf("done\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        return Usage();
    }
    const std::string_view mode = argv[1];
    if (!ApplyOptions(argc, argv, 4)) {
        return mode == "fetch" || mode == "write-settings" ? 5 : Usage();
    }
    if (mode == "fetch") {
        return Fetch(argv[2], argv[3]);
    }
    if (mode == "write-settings") {
        return WriteSettings(argv[2], std::strtol(argv[3], nullptr, 10));
    }
    return Usage();
}
