#include "control/service/fault_plan.h"

#include <algorithm>

#include "control/service/ini_sections.h"
#include "control/service/text_file.h"

namespace koyomi {
namespace {

std::optional<Fault> FaultOf(const IniSections& sections, std::string_view operation) {
    const std::optional<int> result = IniInteger(sections, operation, "result");
    if (!result) {
        return std::nullopt;
    }
    Fault fault;
    fault.result = *result;
    fault.after = std::max(0, IniInteger(sections, operation, "after").value_or(0));
    return fault;
}

}  // namespace

FaultPlan ParseFaultPlan(std::string_view text) {
    const IniSections sections = ParseIniText(text);
    FaultPlan plan;
    plan.jv_init = FaultOf(sections, "JVInit");
    plan.jv_set_ui_properties = FaultOf(sections, "JVSetUIProperties");
    plan.jv_open = FaultOf(sections, "JVOpen");
    plan.jv_status = FaultOf(sections, "JVStatus");
    plan.jv_read = FaultOf(sections, "JVRead");
    plan.jv_close = FaultOf(sections, "JVClose");
    for (const char* operation :
         {"JVInit", "JVSetUIProperties", "JVOpen", "JVStatus", "JVRead", "JVClose"}) {
        if (const std::optional<int> ms = IniInteger(sections, operation, "dialog_ms");
            ms && *ms >= 0) {
            plan.dialog_ms.emplace(operation, *ms);
        }
    }
    if (const std::optional<int> ms = IniInteger(sections, "download", "ms_per_file");
        ms && *ms >= 0) {
        plan.ms_per_file = *ms;
    }
    return plan;
}

FaultPlan LoadFaultPlan(const std::filesystem::path& service_folder) {
    const Result<std::string> text = ReadSmallTextFile(service_folder / kFaultsFileName);
    if (!text) {
        return {};
    }
    return ParseFaultPlan(*text);
}

}  // namespace koyomi
