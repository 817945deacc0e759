// The main window as the download session sees it, on a console: every text it would show
// becomes one line on standard output (UTF-8), the timer is a flag the driver's loop polls,
// and "LastTime" goes to the real settings file through SettingsFile.
#pragma once

#include <cstdio>
#include <string>

#include "acquisition/download_view.h"
#include "support/settings_file.h"
#include "support/sjis_text.h"

namespace koyomi::driver {

class ConsoleView final : public DownloadView {
  public:
    explicit ConsoleView(const SettingsFile& settings) : settings_(settings) {
        data_kind_ = TrimBlanks(settings_.ReadString("JvDataGet", "LastTime", "")).empty()
                         ? DataKind::Setup
                         : DataKind::Normal;
    }

    bool TimerEnabled() const { return timer_enabled_; }

    void SetStatusText(const std::string& text) override { Line("status", SjisToUtf8(text)); }
    void ShowInformation(const std::string& text) override { Line("box", SjisToUtf8(text)); }
    void ShowPlainMessage(const std::string& text) override { Line("plain", SjisToUtf8(text)); }
    void Beep() override { Line("beep", ""); }
    void SetBusyCursor(bool) override {}
    void SetStatusTimerEnabled(bool enabled) override { timer_enabled_ = enabled; }
    void ProcessPendingEvents() override {}
    DataKind CheckedDataKind() const override { return data_kind_; }
    void CheckDataKind(DataKind kind) override { data_kind_ = kind; }
    void MakeDataList() override { Line("list", ""); }
    bool WriteLastTime(const std::string& value, std::string& reason) override {
        const ProfileWriteResult written = settings_.WriteString("JvDataGet", "LastTime", value);
        if (!written) {
            reason = written.path.string() + ": " + written.reason;
            return false;
        }
        Line("last-time", SjisToUtf8(value));
        return true;
    }
    void SetProgress(int, int) override {}

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

    const SettingsFile& settings_;
    DataKind data_kind_ = DataKind::Setup;
    bool timer_enabled_ = false;
};

}  // namespace koyomi::driver
