#include "testing/recording_view.h"

#include <algorithm>

namespace koyomi::testing {

namespace {

constexpr std::string_view kStatus = "status ";
constexpr std::string_view kBox = "box ";
constexpr std::string_view kPlain = "plain ";

}  // namespace

void RecordingView::SetStatusText(const std::string& text) {
    events.push_back(std::string(kStatus) + text);
}

void RecordingView::ShowInformation(const std::string& text) {
    events.push_back(std::string(kBox) + text);
}

void RecordingView::ShowPlainMessage(const std::string& text) {
    events.push_back(std::string(kPlain) + text);
}

void RecordingView::Beep() {
    events.push_back("beep");
}

void RecordingView::SetFetchBusy(bool on) {
    busy = on;
    events.push_back(on ? "cursor busy" : "cursor default");
}

void RecordingView::SetDownloadPollEnabled(bool enabled) {
    timer_enabled = enabled;
    events.push_back(enabled ? "timer on" : "timer off");
}

void RecordingView::ProcessPendingEvents() {
    ++pending_event_turns;
    if (on_pending_events) {
        on_pending_events();
    }
}

void RecordingView::RefreshAfterFetch(FetchEnd end) {
    outcomes.push_back(end);
    const std::string now = LastTime();
    if (now != last_time_seen_) {
        last_time_seen_ = now;
        events.push_back("last time " + now);
    }
    if (end == FetchEnd::Completed) {
        data_kind = FetchMode::Normal;
        events.push_back("check normal");
    }
    events.push_back("make list");
}

void RecordingView::SetFetchProgress(int done, int total) {
    progress.emplace_back(done, total);
}

std::string RecordingView::LastTime() const {
    return settings == nullptr ? std::string() : settings->ReadString("JvDataGet", "LastTime", "");
}

std::vector<std::string> RecordingView::Shown() const {
    std::vector<std::string> shown;
    for (const std::string& event : events) {
        if (event.starts_with(kStatus) || event.starts_with(kBox) || event.starts_with(kPlain)) {
            shown.push_back(event);
        }
    }
    return shown;
}

std::vector<std::string> RecordingView::Boxes() const {
    std::vector<std::string> boxes;
    for (const std::string& event : events) {
        if (event.starts_with(kBox)) {
            boxes.push_back(event.substr(kBox.size()));
        } else if (event.starts_with(kPlain)) {
            boxes.push_back(event);
        }
    }
    return boxes;
}

std::string RecordingView::Status() const {
    const auto last = std::find_if(events.rbegin(), events.rend(), [](const std::string& event) {
        return event.starts_with(kStatus);
    });
    return last == events.rend() ? std::string() : last->substr(kStatus.size());
}

int RecordingView::Count(const std::string& event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
}

}  // namespace koyomi::testing
