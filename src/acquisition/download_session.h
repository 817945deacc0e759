// The fetch command of the main window: opens a JV-Link request for the annual schedule, waits
// while JV-Link downloads, stores every "YS" record into the year file of its year, remembers
// the newest data's time stamp ("LastTime" in the settings file) and closes the request. Runs
// on the user-interface thread, driven by the window's events; tells the window what to show
// through DownloadView, the outcome included. While a call of the control waits, the window's
// events run (the control's waiter); a fetch asked meanwhile gets the busy box, and a cancel
// or the window's closing gives the waiting call up.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/download_view.h"
#include "acquisition/jv_link.h"
#include "schedule/year_file_store.h"
#include "support/clock.h"
#include "support/folder_lock.h"
#include "support/result.h"

namespace koyomi {

class SettingsFile;

// The mode the data-kind menu starts with: setup data until a fetch has saved "LastTime".
FetchMode FetchModeFromSettings(const SettingsFile& settings);

class DownloadSession : private JVLinkWaiter {
  public:
    // `link`, `view`, `clock` and `settings` must outlive the session (a window that owns
    // both the control and the session declares the control first). Year files go to
    // `data_folder`; "LastTime" goes to `settings`. The session is the control's waiter
    // until it ends.
    DownloadSession(JVLink& link, DownloadView& view, const Clock& clock,
                    const SettingsFile& settings, std::filesystem::path data_folder);
    // Ends a request still open without touching the view (JVClose, stored files synced);
    // the window calls WindowClosing first.
    ~DownloadSession() override;
    DownloadSession(const DownloadSession&) = delete;
    DownloadSession& operator=(const DownloadSession&) = delete;

    // JVInit with the program's software ID "SA100200/SD300400/KoyomiVw/" + `version_text`
    // (code page 932, e.g. "Ver.1.02"); a failure is shown in a plain box. Returns the result.
    int InitControl(std::string_view version_text);

    // The fetch command, asking for normal or setup data. Refused with a short message while
    // a session is already open.
    void StartFetch(FetchMode mode);

    // The download poll's tick: polls the download; ignored when no download is pending.
    void PollDownload();

    // "JV Link 設定(&S)": JV-Link's settings dialog; touches no session state.
    void OpenControlSettings();

    // The user ends a download or a read that does not finish: JVClose once, the records
    // read so far written, "LastTime" unchanged, the status line says whether everything read
    // could be kept (a failure also gets its box) and the outcome is shown. Safe to call from
    // inside ProcessPendingEvents while the read loop runs. While a call of the fetch waits
    // (JVOpen included), that call is given up first and the fetch then ends the same way.
    void Cancel();

    // The window is closing: an open session ends at once (JVClose, records read so far
    // written, "LastTime" unchanged; a failure to write them gets its box now, while the
    // window is still there) and every later command is ignored. Safe to call from inside
    // ProcessPendingEvents while the read loop runs, or while a call waits (which is then
    // given up).
    void WindowClosing();

    // True from the fetch command until the close step has run and every call of the session
    // that ended has returned.
    bool IsOpen() const { return state_ != State::Idle; }

  private:
    // Starting: the opening box is up, nothing has been asked of the control yet. Unwinding:
    // the request is closed, but a call of the session (a read loop, a poll, a box) has not
    // returned yet; a new fetch is refused until it has, so that it cannot act on the next one.
    enum class State { Idle, Starting, Opening, Downloading, Reading, Unwinding };
    class CallScope;

    // The control's waiter: lets the window's events run and says on the status line when
    // the control waits for the user in a window of its own. False once the fetch or the
    // window has ended meanwhile.
    bool KeepWaiting(bool control_window_up) override;
    // After every call of the control: true when the waiter gave it up (then it is not
    // reported); the status line's text from before the control's window is back.
    bool CallGivenUp();
    // A fetch whose call was given up ends as Cancel or WindowClosing end it.
    void EndGivenUpFetch();
    // Cancel's end: the request closed, the records held saved, the status line and outcome
    // shown (not on a closed window).
    void EndCancelled();
    // Sets the status line, remembered for when the control's window has gone.
    void ShowStatus(const std::string& text);

    // Keeps every other fetch out of the data folder and removes what writes cut short left;
    // false (after the box) when another program is fetching into it.
    bool TakeDataFolder();
    void ReadScheduleRecords();
    void CloseJVLink();
    // Handles one record of the read loop; false when the session must stop.
    bool StoreRecord(const std::u16string& buffer);
    // Writes the records held in memory; false (after the box) when a year file fails.
    bool CheckpointStore();
    void ShowYearFileError(const StoreResult& failed);
    void FinishReading();
    // Ends a request that the user or the window ends: JVClose, whose result has nowhere to
    // go, and the records held written. False when some could not be kept (after their box).
    bool EndConversation();
    // Writes what is still held and flushes every file written; the store is then dropped and
    // the data folder released. Returns the boxes of what failed: a year file that could not
    // be written, then the sync.
    std::vector<std::string> SaveHeldRecords();
    void ShowError(const std::string& text);
    // The box of what ends the fetch unfinished.
    void Fail(const std::string& text);

    JVLink& link_;
    DownloadView& view_;
    const Clock& clock_;
    const SettingsFile& settings_;
    std::filesystem::path data_folder_;

    State state_ = State::Idle;
    bool window_closed_ = false;
    int active_calls_ = 0;            // calls of the session on the stack (see CallScope)
    bool waiting_ = false;            // a call of the control waits and the window's events run
    bool stop_requested_ = false;     // the fetch or the window ended while a call waited
    bool showing_wait_text_ = false;  // the status line says the control waits for the user
    std::string status_text_;         // the session's last status text
    int read_count_ = 0;
    int download_count_ = 0;
    std::u16string last_file_timestamp_;
    int file_counter_ = 0;
    int rejected_records_ = 0;
    std::optional<FolderLock> folder_lock_;  // held from the fetch command to the last save
    std::optional<YearFileStore> store_;     // the records of this session's read
    std::chrono::steady_clock::time_point last_checkpoint_;
    FetchEnd end_ = FetchEnd::Downloading;  // how this fetch stands, for the window
};

}  // namespace koyomi
