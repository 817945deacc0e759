// Faults the stand-in control is told to produce, from an optional "faults.ini" in the service
// folder, so that every error path of a fetch can be shown and tested:
//   [JVInit] result=-101             [JVSetUIProperties] result=-100
//   [JVOpen] result=-504             [JVClose] result=-1
//   [JVStatus] after=2 result=-502   (once two files are downloaded)
//   [JVRead] after=100 result=-403   (once 100 records are delivered)
//   [download] ms_per_file=0
// and, for the test control under Wine only (the stand-in shows no window of its own), a
// window of the control shown once, at the operation's first call, before it answers:
//   [JVOpen] dialog_ms=1500          (alone or with result/after)
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace koyomi {

inline constexpr std::string_view kFaultsFileName = "faults.ini";

struct Fault {
    int result = 0;
    int after = 0;  // JVStatus: files downloaded; JVRead: records delivered
};

struct FaultPlan {
    std::optional<Fault> jv_init;
    std::optional<Fault> jv_set_ui_properties;
    std::optional<Fault> jv_open;
    std::optional<Fault> jv_status;
    std::optional<Fault> jv_read;
    std::optional<Fault> jv_close;
    std::optional<int> ms_per_file;                     // overrides the control's own setting
    std::map<std::string, int, std::less<>> dialog_ms;  // by operation name: how long it is up
};

// A section without a valid "result" gives no fault of that operation.
FaultPlan ParseFaultPlan(std::string_view text);

// The plan of `service_folder`'s faults.ini; an empty plan when there is none or it cannot be
// read.
FaultPlan LoadFaultPlan(const std::filesystem::path& service_folder);

}  // namespace koyomi
