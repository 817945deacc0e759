// A main window for the download session that records what it is asked to show.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/download_view.h"
#include "support/settings_file.h"

namespace koyomi::testing {

// Records every call as one line of text (texts are UTF-8): "status …", "box …", "plain …",
// "beep", "cursor busy", "cursor default", "timer on", "timer off". How each fetch stands is kept
// in `outcomes`; each one is also an event "make list", preceded by "check normal" when it switches
// the data kind and by "last time …" when the settings file's "LastTime" has changed since the last
// event.
class RecordingView : public DownloadView {
  public:
    explicit RecordingView(const SettingsFile* settings_file = nullptr) : settings(settings_file) {}

    const SettingsFile* settings;  // where the session keeps "LastTime"; may be null
    std::vector<std::string> events;
    std::vector<FetchEnd> outcomes;
    FetchMode data_kind = FetchMode::Setup;
    bool timer_enabled = false;
    bool busy = false;
    int pending_event_turns = 0;
    std::vector<std::pair<int, int>> progress;
    std::function<void()> on_pending_events;  // what the user does while events run

    void SetStatusText(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    void ShowPlainMessage(const std::string& text) override;
    void Beep() override;
    void SetFetchBusy(bool on) override;
    void SetDownloadPollEnabled(bool enabled) override;
    void ProcessPendingEvents() override;
    void RefreshAfterFetch(FetchEnd end) override;
    void SetFetchProgress(int done, int total) override;

    // "LastTime" as the settings file holds it; empty without settings.
    std::string LastTime() const;

    // The events that are texts the user sees (status line and boxes), in order.
    std::vector<std::string> Shown() const;
    // The boxes in order: an information box as its text, a plain one as "plain " and its text.
    std::vector<std::string> Boxes() const;
    // The status line as it stands: the last text set, or empty.
    std::string Status() const;
    int Count(const std::string& event) const;

  private:
    std::string last_time_seen_;
};

}  // namespace koyomi::testing
