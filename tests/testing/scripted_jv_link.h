// A JV-Link that answers from a script and remembers what it was asked; or, put in front of
// a real control, one that only remembers.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/jv_link.h"

namespace koyomi::testing {

struct YsRecord;

// One scripted JVRead: its result, and above 0 the text it hands over.
struct ReadStep {
    int result = 0;
    std::u16string buffer;
};

// A record (code page 932) delivered with CR LF; the result is its length in bytes.
ReadStep Record(std::string_view sjis);
ReadStep Record(const YsRecord& record);
// A bare result code.
ReadStep Code(int result);

class ScriptedJVLink : public JVLink {
  public:
    ScriptedJVLink() = default;
    // Every call goes on to `control`, which answers it; the script is not used.
    explicit ScriptedJVLink(JVLink& control) : control_(&control) {}

    // The script.
    int init_result = 0;
    int set_ui_result = 0;
    int open_result = 0;
    int read_count = 0;
    int download_count = 0;
    std::u16string last_file_timestamp;
    std::deque<int> status_results;                        // the last one repeats; 0 without any
    std::deque<ReadStep> read_steps;                       // 0 once they run out
    std::u16string file_name = u"YSCH20260105093000.jvd";  // of every read that delivers
    int close_result = 0;
    std::function<void()> on_read;  // runs inside JVRead, before it answers
    // Calls that wait, by operation name ("JVOpen", "JVRead", ...): the next call of that
    // operation turns the waiter once for each entry, which says whether the control's window is
    // up, before it answers; a waiter that gives up makes it answer kJVLinkNotAnswering.
    std::map<std::string, std::vector<bool>> waits;

    // What it was asked and what it answered.
    std::vector<std::u16string> init_sids;
    int set_ui_calls = 0;
    int open_calls = 0;
    std::u16string open_dataspec;
    std::u16string open_fromtime;
    int open_option = 0;
    int status_calls = 0;
    int read_calls = 0;
    std::vector<int> read_sizes;
    std::vector<std::u16string> delivered;  // the texts of the reads that answered above 0
    bool read_to_end = false;               // the last read answered 0
    int close_calls = 0;
    JVLinkWaiter* waiter = nullptr;     // the last one set
    std::vector<std::string> given_up;  // the operations whose wait the waiter ended

    int JVInit(const std::u16string& sid) override;
    int JVSetUIProperties() override;
    int JVOpen(const std::u16string& dataspec, const std::u16string& fromtime, int option,
               int& readcount, int& downloadcount, std::u16string& lastfiletimestamp) override;
    int JVStatus() override;
    int JVRead(std::u16string& buff, int& size, std::u16string& filename) override;
    int JVClose() override;
    void SetWaiter(JVLinkWaiter* new_waiter) override;

  private:
    int ScriptedRead(std::u16string& buff, std::u16string& filename);
    // Runs the scripted wait of `operation`; false when the waiter gave it up.
    bool Wait(const std::string& operation);

    JVLink* control_ = nullptr;
};

}  // namespace koyomi::testing
