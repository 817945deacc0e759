// The main window as the download session sees it, on a console: every text it would show
// becomes one line on standard output (UTF-8) and the timer is a flag the driver's loop polls.
#pragma once

#include <cstdio>
#include <string>

#include "acquisition/download_view.h"

namespace koyomi::driver {

class ConsoleView final : public DownloadView {
  public:
    bool TimerEnabled() const { return timer_enabled_; }

    void SetStatusText(const std::string& text) override { Line("status", text); }
    void ShowInformation(const std::string& text) override { Line("box", text); }
    void ShowPlainMessage(const std::string& text) override { Line("plain", text); }
    void Beep() override { Line("beep", ""); }
    void SetFetchBusy(bool) override {}
    void SetDownloadPollEnabled(bool enabled) override { timer_enabled_ = enabled; }
    void ProcessPendingEvents() override {}
    void RefreshAfterFetch(FetchEnd) override { Line("list", ""); }
    void SetFetchProgress(int, int) override {}

  private:
    // One line per event, written at once, so a parent that kills this process still sees
    // every line written before.
    // A line break inside a message is written as the two characters "\n".
    static void Line(const char* kind, const std::string& text) {
        std::string escaped;
        for (char c : text) {
            escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
        }
        std::printf("%s%s%s\n", kind, escaped.empty() ? "" : " ", escaped.c_str());
        std::fflush(stdout);
    }

    bool timer_enabled_ = false;
};

}  // namespace koyomi::driver
