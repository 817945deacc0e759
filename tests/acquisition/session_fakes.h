// A scripted JV-Link and a recording main window for the download session tests.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/download_view.h"
#include "acquisition/jv_link.h"
#include "support/settings_file.h"
#include "support/sjis_text.h"

namespace koyomi::testing {

// One step of a scripted JVRead: a record (code page 932, CR LF added) or a bare result code.
struct ReadStep {
    int result = 0;
    std::string record;
};

inline ReadStep Record(std::string sjis) {
    return {static_cast<int>(sjis.size() + 2), std::move(sjis)};
}
inline ReadStep Code(int result) {
    return {result, {}};
}

// Answers every call from its script and remembers what it was called with.
class ScriptedJVLink : public JvLink {
  public:
    int init_result = 0;
    int set_ui_result = 0;
    int open_result = 0;
    int read_count = 0;
    int download_count = 0;
    std::u16string last_file_timestamp;
    std::deque<int> status_results;   // the last one repeats
    std::deque<ReadStep> read_steps;  // 0 once they run out
    int close_result = 0;

    std::vector<std::u16string> init_sids;
    int set_ui_calls = 0;
    int open_calls = 0;
    std::u16string open_dataspec;
    std::u16string open_fromtime;
    int open_option = 0;
    int status_calls = 0;
    int read_calls = 0;
    std::vector<int> read_sizes;
    int close_calls = 0;
    std::function<void()> on_read;  // runs inside JVRead, before it answers

    int JVInit(const std::u16string& sid) override {
        init_sids.push_back(sid);
        return init_result;
    }
    int JVSetUIProperties() override {
        ++set_ui_calls;
        return set_ui_result;
    }
    int JVOpen(const std::u16string& dataspec, const std::u16string& fromtime, int option,
               int& readcount, int& downloadcount, std::u16string& lastfiletimestamp) override {
        ++open_calls;
        open_dataspec = dataspec;
        open_fromtime = fromtime;
        open_option = option;
        readcount = read_count;
        downloadcount = download_count;
        lastfiletimestamp = last_file_timestamp;
        return open_result;
    }
    int JVStatus() override {
        ++status_calls;
        if (status_results.empty()) {
            return 0;
        }
        const int result = status_results.front();
        if (status_results.size() > 1) {
            status_results.pop_front();
        }
        return result;
    }
    int JVRead(std::u16string& buff, int& size, std::u16string& filename) override {
        ++read_calls;
        read_sizes.push_back(size);
        if (on_read) {
            on_read();
        }
        if (read_steps.empty()) {
            return 0;
        }
        const ReadStep step = read_steps.front();
        read_steps.pop_front();
        if (step.result > 0) {
            buff = SjisToUtf16(step.record) + u"\r\n";
            filename = u"YSCH20260105093000.jvd";
        }
        return step.result;
    }
    int JVClose() override {
        ++close_calls;
        return close_result;
    }
};

// Records every call as one line of text (texts are UTF-8). Outcomes are kept whole; each one
// is also an event "make list", preceded by "check normal" when it switches the data kind and
// by "last time …" when the settings file's "LastTime" has changed since the last event.
class RecordingView : public DownloadView {
  public:
    explicit RecordingView(const SettingsFile* settings_file = nullptr) : settings(settings_file) {}

    const SettingsFile* settings;  // where the session keeps "LastTime"; may be null
    std::vector<std::string> events;
    std::vector<FetchOutcome> outcomes;
    FetchMode data_kind = FetchMode::Setup;
    bool timer_enabled = false;
    bool busy = false;
    int pending_event_turns = 0;
    std::vector<std::pair<int, int>> progress;
    std::function<void()> on_pending_events;  // what the user does while events run

    void SetStatusText(const std::string& text) override { events.push_back("status " + text); }
    void ShowInformation(const std::string& text) override { events.push_back("box " + text); }
    void ShowPlainMessage(const std::string& text) override { events.push_back("plain " + text); }
    void Beep() override { events.push_back("beep"); }
    void SetBusyCursor(bool on) override {
        busy = on;
        events.push_back(on ? "cursor busy" : "cursor default");
    }
    void SetStatusTimerEnabled(bool enabled) override {
        timer_enabled = enabled;
        events.push_back(enabled ? "timer on" : "timer off");
    }
    void ProcessPendingEvents() override {
        ++pending_event_turns;
        if (on_pending_events) {
            on_pending_events();
        }
    }
    void ShowOutcome(const FetchOutcome& outcome) override {
        outcomes.push_back(outcome);
        const std::string now = LastTime();
        if (now != last_time_seen_) {
            last_time_seen_ = now;
            events.push_back("last time " + now);
        }
        if (outcome.switch_to_normal) {
            data_kind = FetchMode::Normal;
            events.push_back("check normal");
        }
        events.push_back("make list");
    }

    // "LastTime" as the settings file holds it; empty without settings.
    std::string LastTime() const {
        return settings == nullptr ? std::string()
                                   : settings->ReadString("JvDataGet", "LastTime", "");
    }
    void SetProgress(int done, int total) override { progress.emplace_back(done, total); }

    // The events that are texts the user sees (status line and boxes), in order.
    std::vector<std::string> Shown() const {
        std::vector<std::string> shown;
        for (const std::string& event : events) {
            if (event.starts_with("status ") || event.starts_with("box ") ||
                event.starts_with("plain ")) {
                shown.push_back(event);
            }
        }
        return shown;
    }
    int Count(const std::string& event) const {
        int count = 0;
        for (const std::string& e : events) {
            count += e == event ? 1 : 0;
        }
        return count;
    }

  private:
    std::string last_time_seen_;
};

}  // namespace koyomi::testing
