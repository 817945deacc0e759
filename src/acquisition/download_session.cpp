#include "acquisition/download_session.h"

#include <utility>

#include "acquisition/last_time_text.h"
#include "codes/jv_result_text.h"
#include "schedule/year_file.h"
#include "support/settings_file.h"
#include "support/sjis_text.h"
#include "support/user_folders.h"
#include "support/whole_file.h"

namespace koyomi {
namespace {

// The session's texts (UTF-8).
struct SessionTexts {
    std::string opening;
    std::string no_new_data;
    std::string open_ok;
    std::string downloading;
    std::string download_progress;
    std::string reading;
    std::string end_of_file;
    std::string read_done;
    std::string complete;
    std::string open_error;
    std::string status_error;
    std::string read_error;
    std::string close_error;
    std::string set_ui_error;
    std::string init_error;
    std::string busy;
    std::string year_file_error;
    std::string sync_error;
    std::string last_time_error;
    std::string rejected_records;
    std::string cancelled;
    std::string cancelled_unsaved;
    std::string not_answering;
    std::string folder_in_use;
    std::string unreadable_answer;
    std::string waiting_for_control;
};

const SessionTexts& Texts() {
    static const SessionTexts texts = {
        "年間スケジュールデータ取込を開始します。データ作成が終了するまで本ソフトを操作"
        "したり他のアプリケーションを操作することは極力避けてください。",
        "最新のデータがありません。",
        "JVOpen正常:",
        "ダウンロード中・・・",
        "ダウンロード中．．．(",
        "データ読込み中．．．(",
        "JVRead EndOfFile :",
        "データ読込み完了(",
        "データ作成が完了しました。",
        "JVOpenエラー:",
        "JVStatusエラー:",
        "JVReadエラー:",
        "JVCloseエラー:",
        "JVSetUIPropertiesエラー：",
        "JVInitエラーが発生しました。：",
        "データ取得中です。終了するまでお待ちください。",
        "年間スケジュールファイルを更新できませんでした。データの取得を中止します。",
        "年間スケジュールファイルをディスクに書き込めませんでした。",
        "設定ファイルに最終取得日時を保存できませんでした。",
        "スケジュールとして読めないレコードを読み飛ばしました。件数: ",
        "データの取得を中止しました。取得済みのデータは保存されています。",
        "データの取得を中止しました。取得済みのデータの一部を保存できませんでした。",
        "JV-Link が応答しなくなりました。データの取得を終了します。",
        "別の koyomivw がこのフォルダにデータを取得中です。終わってからもう一度取得してください。",
        "JV-Link の応答が正しくありません。データの取得を終了します。",
        "JV-Link の画面で入力を待っています。",
    };
    return texts;
}

// The box of a failed call: the operation's prefix and result text, or, when the control
// stopped answering, that alone (its code is no result of the operation).
std::string FailureText(const std::string& prefix, const char* operation, int result) {
    if (result == kJVLinkNotAnswering) {
        return Texts().not_answering;
    }
    return prefix + SjisToUtf8(JVResultText(operation, result));
}

// Every normal-data fetch asks from this fixed time, 2003-04-06 10:46:42, whatever "LastTime"
// holds.
constexpr char16_t kNormalDataFromTime[] = u"20030406104642";
constexpr int kNormalDataOption = 1;
constexpr int kSetupDataOption = 3;
constexpr int kSetupDataDays = 3650;
constexpr char16_t kScheduleDataSpec[] = u"YSCH";
constexpr std::string_view kSoftwareIdPrefix = "SA100200/SD300400/KoyomiVw/";
// Records read are written out at least this often, so a crash loses little.
constexpr auto kCheckpointInterval = std::chrono::milliseconds(250);

std::string Progress(const std::string& prefix, int done, int total) {
    return prefix + std::to_string(done) + "/" + std::to_string(total) + ")";
}

std::string YearFileErrorText(const StoreResult& failed) {
    return Texts().year_file_error + "\n" + PathText(failed.file) + "\n" + failed.reason;
}

}  // namespace

// Held by every entry point that can let events run (boxes, the read loop): the last one to
// return turns a conversation that has ended into Idle, so a command that arrives from an event
// turn inside an older call never starts a conversation that this call would then act on.
class DownloadSession::CallScope {
  public:
    explicit CallScope(DownloadSession& session) : session_(session) { ++session_.active_calls_; }
    ~CallScope() {
        if (--session_.active_calls_ == 0 && session_.state_ == State::Unwinding) {
            session_.state_ = State::Idle;
        }
    }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

  private:
    DownloadSession& session_;
};

FetchMode FetchModeFromSettings(const SettingsFile& settings) {
    return TrimBlanks(settings.ReadString("JvDataGet", "LastTime", "")).empty() ? FetchMode::Setup
                                                                                : FetchMode::Normal;
}

DownloadSession::DownloadSession(JVLink& link, DownloadView& view, const Clock& clock,
                                 const SettingsFile& settings, std::filesystem::path data_folder)
    : link_(link),
      view_(view),
      clock_(clock),
      settings_(settings),
      data_folder_(std::move(data_folder)) {
    link_.SetWaiter(this);
}

DownloadSession::~DownloadSession() {
    // The window is being torn down: no view calls, only the control and the files.
    link_.SetWaiter(nullptr);
    if (state_ == State::Opening || state_ == State::Downloading || state_ == State::Reading) {
        state_ = State::Idle;
        link_.JVClose();
        (void)SaveHeldRecords();  // nobody is left to be told
    }
}

int DownloadSession::InitControl(std::string_view version_text) {
    const std::u16string sid =
        SjisToUtf16(std::string(kSoftwareIdPrefix) + std::string(version_text));
    const int result = link_.JVInit(sid);
    if (CallGivenUp()) {
        return result;  // the window closed meanwhile
    }
    if (result != 0) {
        view_.ShowPlainMessage(FailureText(Texts().init_error, "JVInit", result));
    }
    return result;
}

void DownloadSession::StartFetch(FetchMode mode) {
    if (window_closed_) {
        return;
    }
    if (state_ != State::Idle || waiting_) {
        // The read loop and waiting calls let events through, so the command can arrive
        // again mid-session.
        view_.ShowInformation(Texts().busy);
        return;
    }
    const CallScope call(*this);
    state_ = State::Starting;
    if (!TakeDataFolder()) {
        state_ = State::Unwinding;
        return;
    }
    end_ = FetchEnd::Downloading;

    view_.ShowInformation(Texts().opening);
    if (state_ != State::Starting) {
        return;  // the window closed while the box was up
    }
    view_.SetDownloadPollEnabled(false);

    const std::u16string dataspec = kScheduleDataSpec;
    std::u16string from_time;
    int option = 0;
    if (mode == FetchMode::Normal) {
        option = kNormalDataOption;
        from_time = kNormalDataFromTime;
    } else {
        option = kSetupDataOption;
        from_time = SjisToUtf16(FormatCompact(AddDays(clock_.Now(), -kSetupDataDays)));
    }
    view_.SetFetchBusy(true);

    state_ = State::Opening;
    last_file_timestamp_.clear();
    read_count_ = 0;
    download_count_ = 0;
    const int result = link_.JVOpen(dataspec, from_time, option, read_count_, download_count_,
                                    last_file_timestamp_);
    if (CallGivenUp()) {
        EndGivenUpFetch();
        return;
    }
    if (result != 0) {
        Fail(FailureText(Texts().open_error, "JVOpen", result));
        CloseJVLink();
    } else if (read_count_ < 0 || download_count_ < 0) {
        // No count of files can be below zero: waiting for such a download would never end.
        Fail(Texts().unreadable_answer);
        CloseJVLink();
    } else if (read_count_ == 0) {
        end_ = FetchEnd::NoNewData;
        ShowError(Texts().no_new_data);
        CloseJVLink();
    } else {
        ShowStatus(Texts().open_ok + std::to_string(result));
        ShowStatus("ReadCount:" + std::to_string(read_count_) +
                   ", DownloadCount:" + std::to_string(download_count_));
        if (download_count_ != 0) {
            ShowStatus(Texts().downloading);
            view_.SetFetchProgress(0, download_count_);
            state_ = State::Downloading;
            view_.SetDownloadPollEnabled(true);
        } else {
            state_ = State::Reading;
            ReadScheduleRecords();
            CloseJVLink();
        }
    }
    if (!window_closed_ && end_ != FetchEnd::Cancelled) {
        view_.RefreshAfterFetch(end_);
    }
}

void DownloadSession::PollDownload() {
    if (state_ != State::Downloading || waiting_) {
        return;  // a tick already queued when the timer went off, or one during JVStatus
    }
    const CallScope call(*this);
    const int done = link_.JVStatus();
    if (CallGivenUp()) {
        EndGivenUpFetch();
        return;
    }
    if (done < 0) {
        // Off before the box: the box's own event loop would otherwise deliver more ticks.
        view_.SetDownloadPollEnabled(false);
        Fail(FailureText(Texts().status_error, "JVStatus", done));
        CloseJVLink();
    } else if (done < download_count_) {
        ShowStatus(Progress(Texts().download_progress, done, download_count_));
        view_.SetFetchProgress(done, download_count_);
    } else if (done == download_count_) {
        view_.SetDownloadPollEnabled(false);
        ShowStatus(Progress(Texts().download_progress, done, download_count_));
        view_.SetFetchProgress(done, download_count_);
        state_ = State::Reading;
        ReadScheduleRecords();
        CloseJVLink();
    }
}

void DownloadSession::OpenControlSettings() {
    if (window_closed_) {
        return;
    }
    if (waiting_) {
        view_.Beep();  // the control is busy with another call
        return;
    }
    const CallScope call(*this);
    const int result = link_.JVSetUIProperties();
    if (CallGivenUp()) {
        // A fetch the user cancelled meanwhile has lost its request with the control.
        EndGivenUpFetch();
        return;
    }
    if (result != 0) {
        ShowError(FailureText(Texts().set_ui_error, "JVSetUIProperties", result));
    }
}

void DownloadSession::Cancel() {
    if (waiting_) {
        // The waiting call is given up when this event turn returns; the fetch ends after it.
        stop_requested_ = stop_requested_ || state_ == State::Opening ||
                          state_ == State::Downloading || state_ == State::Reading;
        return;
    }
    if (state_ != State::Downloading && state_ != State::Reading) {
        return;  // nothing to cancel, or the opening box is still up
    }
    const CallScope call(*this);
    // Inside the read loop this runs from its event turn; the loop sees the state and stops.
    EndCancelled();
}

void DownloadSession::EndCancelled() {
    const bool kept = EndConversation();
    end_ = FetchEnd::Cancelled;
    if (window_closed_) {
        return;  // the window closed while a box was up
    }
    ShowStatus(kept ? Texts().cancelled : Texts().cancelled_unsaved);
    view_.RefreshAfterFetch(end_);
}

void DownloadSession::WindowClosing() {
    window_closed_ = true;
    if (waiting_) {
        stop_requested_ = true;  // the waiting call ends what it was part of
        return;
    }
    if (state_ == State::Idle || state_ == State::Unwinding) {
        return;
    }
    const CallScope call(*this);
    EndConversation();
}

bool DownloadSession::TakeDataFolder() {
    // Two fetches into the same year files would lose records; viewing stays free. A folder
    // that cannot be opened is left to fail where the fetch writes, as it always has.
    Result<FolderLock> lock = FolderLock::Take(data_folder_);
    if (!lock) {
        if (lock.Kind() == FailureKind::InUse) {
            view_.ShowInformation(Texts().folder_in_use + "\n" + PathText(data_folder_));
            return false;
        }
        return true;
    }
    folder_lock_.emplace(std::move(lock).Value());
    // With the folder held, a temporary file there is a kill's leftover or one a writer still
    // holds locked (a second window saving its settings), which the clean-up passes by.
    RemoveLeftoverTemporaryFiles(data_folder_);
    if (!settings_.Path().empty()) {
        RemoveLeftoverTemporaryFiles(settings_.Path().parent_path());
    }
    return true;
}

void DownloadSession::ReadScheduleRecords() {
    store_.emplace(data_folder_);
    last_checkpoint_ = clock_.Steady();
    file_counter_ = 0;
    rejected_records_ = 0;
    ShowStatus(Progress(Texts().reading, 0, read_count_));
    view_.SetFetchProgress(0, read_count_);

    int size = kJVReadBufferSize;
    std::u16string buffer;
    std::u16string file_name;
    for (;;) {
        view_.ProcessPendingEvents();
        if (state_ != State::Reading) {
            return;  // the window closed or the fetch was cancelled while its events ran
        }
        buffer.clear();
        file_name.clear();
        const int result = link_.JVRead(buffer, size, file_name);
        if (CallGivenUp()) {
            EndGivenUpFetch();
            return;
        }
        if (state_ != State::Reading) {
            return;  // ended while the control was answering
        }
        if (result > 0) {
            if (!StoreRecord(buffer)) {
                return;
            }
            if (clock_.Steady() - last_checkpoint_ >= kCheckpointInterval && !CheckpointStore()) {
                return;
            }
        } else if (result == -1) {
            if (!CheckpointStore()) {
                return;
            }
            ++file_counter_;
            ShowStatus(Progress(Texts().reading, file_counter_, read_count_));
            view_.SetFetchProgress(file_counter_, read_count_);
        } else if (result == -2 || result == -3) {
            continue;
        } else if (result == 0) {
            ShowStatus(Texts().end_of_file + std::to_string(result));
            ShowStatus(Progress(Texts().read_done, file_counter_, read_count_));
            FinishReading();
            return;
        } else {
            // What was read before the error is kept, and on disk before the box is up.
            CheckpointStore();
            Fail(FailureText(Texts().read_error, "JVRead", result));
            return;
        }
    }
}

bool DownloadSession::StoreRecord(const std::u16string& buffer) {
    if (!buffer.starts_with(u"YS")) {
        return true;  // other record kinds are not kept, nor converted
    }
    const std::string record = Utf16ToSjis(buffer);
    const StoreResult stored = store_->Add(record);
    switch (stored.status) {
        case StoreStatus::Stored:
        case StoreStatus::NotSchedule:
            return true;
        case StoreStatus::Rejected:
            ++rejected_records_;
            return true;
        case StoreStatus::FileError:
            break;
    }
    ShowYearFileError(stored);
    return false;
}

bool DownloadSession::CheckpointStore() {
    last_checkpoint_ = clock_.Steady();
    if (!store_) {
        return true;
    }
    const StoreResult written = store_->Checkpoint();
    if (written.status != StoreStatus::FileError) {
        return true;
    }
    ShowYearFileError(written);
    return false;
}

void DownloadSession::ShowYearFileError(const StoreResult& failed) {
    Fail(YearFileErrorText(failed));
}

void DownloadSession::FinishReading() {
    if (!CheckpointStore()) {
        return;  // not stored: "LastTime" stays as it was
    }
    if (const std::vector<std::string> failures = SaveHeldRecords(); !failures.empty()) {
        for (const std::string& failure : failures) {
            Fail(failure);
        }
        return;  // not safely stored: "LastTime" stays as it was
    }
    end_ = FetchEnd::Stored;
    std::string settings_failure;
    const std::string last_time = LastTimeText(last_file_timestamp_);
    if (!last_time.empty()) {
        const Status written = settings_.WriteString("JvDataGet", "LastTime", last_time);
        if (!written) {
            settings_failure = Texts().last_time_error + "\n" + Describe(written.Error());
        }
        end_ = FetchEnd::Completed;
    }
    view_.RefreshAfterFetch(end_);
    ShowStatus(Texts().complete);
    if (!settings_failure.empty()) {
        ShowError(settings_failure);
    }
    if (rejected_records_ > 0) {
        view_.ShowInformation(Texts().rejected_records + std::to_string(rejected_records_));
    }
}

void DownloadSession::CloseJVLink() {
    if (state_ == State::Idle || state_ == State::Unwinding) {
        return;  // already ended, by the window closing or a cancel
    }
    state_ = State::Unwinding;
    const int result = link_.JVClose();
    const bool given_up = CallGivenUp();  // the window closed meanwhile
    // Normally everything is written by now; a failure here still gets its box below.
    const std::vector<std::string> failures = SaveHeldRecords();
    view_.SetFetchProgress(0, 0);
    view_.SetFetchBusy(false);
    view_.Beep();
    if (result != 0 && !given_up) {
        view_.ShowInformation(FailureText(Texts().close_error, "JVClose", result));
    }
    for (const std::string& failure : failures) {
        ShowError(failure);
    }
}

bool DownloadSession::EndConversation() {
    const bool opened = state_ != State::Starting;
    state_ = State::Unwinding;
    view_.SetDownloadPollEnabled(false);
    if (opened) {
        link_.JVClose();  // its result has nowhere to go on a closing window or a cancel
        (void)CallGivenUp();
    }
    const std::vector<std::string> failures = SaveHeldRecords();
    view_.SetFetchProgress(0, 0);
    view_.SetFetchBusy(false);
    for (const std::string& failure : failures) {
        ShowError(failure);
    }
    return failures.empty();
}

std::vector<std::string> DownloadSession::SaveHeldRecords() {
    std::vector<std::string> failures;
    if (!store_) {
        folder_lock_.reset();
        return failures;
    }
    if (const StoreResult written = store_->Checkpoint();
        written.status == StoreStatus::FileError) {
        failures.push_back(YearFileErrorText(written));
    }
    if (const Status synced = store_->SyncToDisk(); !synced) {
        failures.push_back(Texts().sync_error + "\n" + Describe(synced.Error()));
    }
    store_.reset();
    folder_lock_.reset();
    return failures;
}

bool DownloadSession::KeepWaiting(bool control_window_up) {
    stop_requested_ = stop_requested_ || window_closed_;
    if (stop_requested_) {
        return false;
    }
    if (control_window_up != showing_wait_text_) {
        showing_wait_text_ = control_window_up;
        view_.SetStatusText(control_window_up ? Texts().waiting_for_control : status_text_);
    }
    waiting_ = true;
    view_.ProcessPendingEvents();
    waiting_ = false;
    return !stop_requested_;
}

bool DownloadSession::CallGivenUp() {
    const bool given_up = std::exchange(stop_requested_, false);
    if (std::exchange(showing_wait_text_, false) && !given_up && !window_closed_) {
        view_.SetStatusText(status_text_);
    }
    return given_up;
}

void DownloadSession::EndGivenUpFetch() {
    if (state_ == State::Opening || state_ == State::Downloading || state_ == State::Reading) {
        EndCancelled();
    }
}

void DownloadSession::ShowStatus(const std::string& text) {
    status_text_ = text;
    showing_wait_text_ = false;
    view_.SetStatusText(text);
}

void DownloadSession::ShowError(const std::string& text) {
    view_.Beep();
    view_.ShowInformation(text);
}

void DownloadSession::Fail(const std::string& text) {
    end_ = FetchEnd::Failed;
    ShowError(text);
}

}  // namespace koyomi
