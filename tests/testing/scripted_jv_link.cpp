#include "testing/scripted_jv_link.h"

#include "support/sjis_text.h"
#include "testing/ys_record.h"

namespace koyomi::testing {

ReadStep Record(std::string_view sjis) {
    return {static_cast<int>(sjis.size() + 2), SjisToUtf16(sjis) + u"\r\n"};
}

ReadStep Record(const YsRecord& record) {
    return Record(record.Line());
}

ReadStep Code(int result) {
    return {result, {}};
}

bool ScriptedJVLink::Wait(const std::string& operation) {
    const auto found = waits.find(operation);
    if (found == waits.end()) {
        return true;
    }
    const std::vector<bool> turns = found->second;
    waits.erase(found);
    for (const bool window_up : turns) {
        if (waiter != nullptr && !waiter->KeepWaiting(window_up)) {
            given_up.push_back(operation);
            return false;
        }
    }
    return true;
}

void ScriptedJVLink::SetWaiter(JVLinkWaiter* new_waiter) {
    waiter = new_waiter;
    if (control_ != nullptr) {
        control_->SetWaiter(new_waiter);
    }
}

int ScriptedJVLink::JVInit(const std::u16string& sid) {
    init_sids.push_back(sid);
    if (!Wait("JVInit")) {
        return kJVLinkNotAnswering;
    }
    return control_ != nullptr ? control_->JVInit(sid) : init_result;
}

int ScriptedJVLink::JVSetUIProperties() {
    ++set_ui_calls;
    if (!Wait("JVSetUIProperties")) {
        return kJVLinkNotAnswering;
    }
    return control_ != nullptr ? control_->JVSetUIProperties() : set_ui_result;
}

int ScriptedJVLink::JVOpen(const std::u16string& dataspec, const std::u16string& fromtime,
                           int option, int& readcount, int& downloadcount,
                           std::u16string& lastfiletimestamp) {
    ++open_calls;
    open_dataspec = dataspec;
    open_fromtime = fromtime;
    open_option = option;
    if (!Wait("JVOpen")) {
        return kJVLinkNotAnswering;
    }
    if (control_ != nullptr) {
        return control_->JVOpen(dataspec, fromtime, option, readcount, downloadcount,
                                lastfiletimestamp);
    }
    readcount = read_count;
    downloadcount = download_count;
    lastfiletimestamp = last_file_timestamp;
    return open_result;
}

int ScriptedJVLink::JVStatus() {
    ++status_calls;
    if (!Wait("JVStatus")) {
        return kJVLinkNotAnswering;
    }
    if (control_ != nullptr) {
        return control_->JVStatus();
    }
    if (status_results.empty()) {
        return 0;
    }
    const int result = status_results.front();
    if (status_results.size() > 1) {
        status_results.pop_front();
    }
    return result;
}

int ScriptedJVLink::JVRead(std::u16string& buff, int& size, std::u16string& filename) {
    ++read_calls;
    read_sizes.push_back(size);
    if (on_read) {
        on_read();
    }
    if (!Wait("JVRead")) {
        read_to_end = false;
        return kJVLinkNotAnswering;
    }
    const int result =
        control_ != nullptr ? control_->JVRead(buff, size, filename) : ScriptedRead(buff, filename);
    if (result > 0) {
        delivered.push_back(buff);
    }
    read_to_end = result == 0;
    return result;
}

int ScriptedJVLink::ScriptedRead(std::u16string& buff, std::u16string& filename) {
    if (read_steps.empty()) {
        return 0;
    }
    const ReadStep step = read_steps.front();
    read_steps.pop_front();
    if (step.result > 0) {
        buff = step.buffer;
        filename = file_name;
    }
    return step.result;
}

int ScriptedJVLink::JVClose() {
    ++close_calls;
    if (!Wait("JVClose")) {
        return kJVLinkNotAnswering;
    }
    return control_ != nullptr ? control_->JVClose() : close_result;
}

}  // namespace koyomi::testing
