// A stand-in control on a temporary service folder, with its own settings and cache.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/acquisition_test_support.h"
#include "control/service/standin_jvlink.h"
#include "control/service/standin_settings.h"

namespace koyomi::testing {

class StandInTest : public ::testing::Test {
  protected:
    TempFolder root_;
    std::filesystem::path service_ = root_ / "service";

    StandInTest() {
        std::filesystem::create_directories(service_);
        UseSettings(service_, 0);
    }

    StandInPaths Paths() const {
        StandInPaths paths;
        paths.settings_file = root_ / "config" / "settings.ini";
        paths.cache_root = root_ / "cache";
        paths.bundled_service = root_ / "bundled";
        return paths;
    }

    void UseSettings(const std::filesystem::path& folder, int ms_per_file) {
        StandInSettings settings;
        settings.service_folder = folder;
        settings.ms_per_file = ms_per_file;
        const Status saved = SaveStandInSettings(Paths().settings_file, settings);
        ASSERT_TRUE(saved) << Describe(saved.Error());
    }

    void AddServiceFile(const std::string& name, const std::string& content) {
        WriteBytes(service_ / name, content);
    }

    void AddFaults(const std::string& text) { WriteBytes(service_ / "faults.ini", text); }

    // JVInit with a valid software ID.
    static int Init(JVLink& link) { return link.JVInit(u"SA100200/SD300400/KoyomiVw/Ver.1.02"); }

    struct Opened {
        int result = 0;
        int read_count = -9;
        int download_count = -9;
        std::u16string timestamp = u"unset";
    };
    static Opened Open(JVLink& link, const std::u16string& dataspec = u"YSCH",
                       const std::u16string& fromtime = u"20000101000000", int option = 3) {
        Opened opened;
        opened.result = link.JVOpen(dataspec, fromtime, option, opened.read_count,
                                    opened.download_count, opened.timestamp);
        return opened;
    }

    // Polls JVStatus until it reaches `count` or fails; the last value seen.
    static int WaitForDownload(JVLink& link, int count) {
        int status = 0;
        for (int attempt = 0; attempt < 10000; ++attempt) {
            status = link.JVStatus();
            if (status < 0 || status >= count) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return status;
    }

    // Every JVRead result until 0 or an error, a record shown as its text in UTF-8.
    static std::vector<std::string> ReadAll(JVLink& link, int size = 60000) {
        std::vector<std::string> results;
        for (int call = 0; call < 100000; ++call) {
            std::u16string buffer;
            std::u16string file_name;
            const int result = link.JVRead(buffer, size, file_name);
            if (result > 0) {
                results.push_back(Utf16ToUtf8(buffer));
                continue;
            }
            results.push_back(std::to_string(result));
            if (result == 0 || result < -3) {
                break;
            }
        }
        return results;
    }
};

}  // namespace koyomi::testing
