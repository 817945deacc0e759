// The stand-in for JV-Link on this platform: serves the files of a local data service folder
// with JV-Link's results, downloads them into a cache on a worker thread, and can be told to
// fail (faults.ini in the service folder). Used through the plugin libjvlink.so, and directly
// by tests and tools.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/jv_link.h"
#include "control/service/fault_plan.h"
#include "control/service/standin_paths.h"

namespace koyomi {

// Shows the settings dialog for the given settings file: 0 when done (also when cancelled or
// when no dialog can be shown), -100 when the settings could not be saved.
using SettingsDialogRunner = std::function<int(const std::filesystem::path& settings_file)>;

class DownloadWorker;

class StandInJVLink final : public JVLink {
  public:
    // Without a dialog runner JVSetUIProperties shows nothing and returns 0.
    explicit StandInJVLink(StandInPaths paths, SettingsDialogRunner dialog = {});
    ~StandInJVLink() override;
    StandInJVLink(const StandInJVLink&) = delete;
    StandInJVLink& operator=(const StandInJVLink&) = delete;

    int JVInit(const std::u16string& sid) override;
    int JVSetUIProperties() override;
    int JVOpen(const std::u16string& dataspec, const std::u16string& fromtime, int option,
               int& readcount, int& downloadcount, std::u16string& lastfiletimestamp) override;
    int JVStatus() override;
    int JVRead(std::u16string& buff, int& size, std::u16string& filename) override;
    int JVClose() override;

  private:
    struct Request;

    std::filesystem::path CurrentServiceFolder() const;
    // Makes the current file's records available; 0 when they are, else JVRead's result.
    int LoadCurrentFile();

    StandInPaths paths_;
    SettingsDialogRunner dialog_;
    bool initialised_ = false;
    FaultPlan faults_;  // read at JVInit and JVOpen, from the service folder then in force
    std::unique_ptr<Request> request_;
};

}  // namespace koyomi
