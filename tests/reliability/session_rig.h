// A fetch run in this process through the real download session and the stand-in control on
// a copy of the sample service, with a window that records what it is asked to show and keeps
// "LastTime" in a real settings file.
#pragma once

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/download_session.h"
#include "acquisition/download_view.h"
#include "acquisition/jv_link.h"
#include "control/service/standin_jvlink.h"
#include "reliability_support.h"
#include "support/clock.h"
#include "support/settings_file.h"
#include "support/sjis_text.h"
#include "testing/recording_view.h"
#include "testing/scripted_jv_link.h"

namespace koyomi::reliability {

using testing::RecordingView;
using testing::ScriptedJVLink;

// The opening box every fetch shows first.
inline std::string OpeningBox() {
    return "年間スケジュールデータ取込を開始します。データ作成が終了するまで本ソフトを操作"
           "したり他のアプリケーションを操作することは極力避けてください。";
}

class SessionRig {
  public:
    // `faults`: the text of the service's faults.ini (downloads are made instant).
    explicit SessionRig(std::string_view faults = {}) {
        CopySampleService(service, faults);
        std::filesystem::create_directories(program);
        settings.Loaded();
    }

    TempFolder root;
    fs::path service = root / "service";
    fs::path program = root / "program";
    StandInJVLink standin{Paths()};
    ScriptedJVLink link{standin};  // counts the calls
    SettingsFile settings{program / "koyomivw"};
    RecordingView view;
    FixedClock clock{LocalDateTime{2026, 12, 20, 10, 0, 0}};
    DownloadSession session{link, view, clock, settings, program};

    // The fetch command, then the timer until the session has ended (at most a minute).
    void Fetch() {
        session.StartFetch(view.data_kind);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (session.IsOpen()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the fetch never ended";
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (view.timer_enabled) {
                session.PollDownload();
            }
        }
    }

    std::string LastTime() const { return settings.ReadString("JvDataGet", "LastTime", ""); }

  private:
    StandInPaths Paths() const {
        StandInPaths paths;
        paths.service_override = service;
        paths.settings_file = root / "config" / "settings.ini";
        paths.cache_root = root / "cache";
        paths.bundled_service = root / "bundled";
        return paths;
    }
};

}  // namespace koyomi::reliability
