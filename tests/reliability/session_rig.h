// A fetch run in this process through the real download session and the stand-in control on
// a copy of the sample service, with a window that records what it is asked to show and keeps
// "LastTime" in a real settings file.
#pragma once

#include <chrono>
#include <functional>
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

namespace koyomi::reliability {

// Passes every call on and counts it.
class CountingLink final : public JvLink {
  public:
    explicit CountingLink(JvLink& link) : link_(link) {}

    int init_calls = 0;
    int open_calls = 0;
    int read_calls = 0;
    int close_calls = 0;
    int set_ui_calls = 0;

    int JVInit(const std::u16string& sid) override {
        ++init_calls;
        return link_.JVInit(sid);
    }
    int JVSetUIProperties() override {
        ++set_ui_calls;
        return link_.JVSetUIProperties();
    }
    int JVOpen(const std::u16string& dataspec, const std::u16string& fromtime, int option,
               int& readcount, int& downloadcount, std::u16string& lastfiletimestamp) override {
        ++open_calls;
        return link_.JVOpen(dataspec, fromtime, option, readcount, downloadcount,
                            lastfiletimestamp);
    }
    int JVStatus() override { return link_.JVStatus(); }
    int JVRead(std::u16string& buff, int& size, std::u16string& filename) override {
        ++read_calls;
        return link_.JVRead(buff, size, filename);
    }
    int JVClose() override {
        ++close_calls;
        return link_.JVClose();
    }

  private:
    JvLink& link_;
};

// Records the boxes and beeps (texts in UTF-8).
class RecordingView final : public DownloadView {
  public:
    std::vector<std::string> boxes;  // information and plain boxes, in order
    int beeps = 0;
    bool timer_enabled = false;
    FetchMode data_kind = FetchMode::Setup;
    std::function<void()> on_pending_events;  // what happens while the read loop yields

    void SetStatusText(const std::string& text) override { status = text; }
    void ShowInformation(const std::string& text) override { boxes.push_back(text); }
    void ShowPlainMessage(const std::string& text) override { boxes.push_back("plain " + text); }
    void Beep() override { ++beeps; }
    void SetBusyCursor(bool) override {}
    void SetStatusTimerEnabled(bool enabled) override { timer_enabled = enabled; }
    void ProcessPendingEvents() override {
        if (on_pending_events) {
            on_pending_events();
        }
    }
    void SetProgress(int, int) override {}
    void ShowOutcome(const FetchOutcome& outcome) override {
        if (outcome.switch_to_normal) {
            data_kind = FetchMode::Normal;
        }
    }

    std::string status;  // the status line as it stands
};

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
    CountingLink link{standin};
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
