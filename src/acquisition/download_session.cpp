#include "acquisition/download_session.h"

#include <utility>

#include "acquisition/last_time_text.h"
#include "codes/jv_result_text.h"
#include "schedule/year_file.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

// The session's texts, converted to code page 932 once.
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
    std::string not_answering;
};

const SessionTexts& Texts() {
    static const SessionTexts texts = {
        Utf8ToSjis("年間スケジュールデータ取込を開始します。データ作成が終了するまで本ソフトを操作"
                   "したり他のアプリケーションを操作することは極力避けてください。"),
        Utf8ToSjis("最新のデータがありません。"),
        Utf8ToSjis("JVOpen正常:"),
        Utf8ToSjis("ダウンロード中・・・"),
        Utf8ToSjis("ダウンロード中．．．("),
        Utf8ToSjis("データ読込み中．．．("),
        Utf8ToSjis("JVRead EndOfFile :"),
        Utf8ToSjis("データ読込み完了("),
        Utf8ToSjis("データ作成が完了しました。"),
        Utf8ToSjis("JVOpenエラー:"),
        Utf8ToSjis("JVStatusエラー:"),
        Utf8ToSjis("JVReadエラー:"),
        Utf8ToSjis("JVCloseエラー:"),
        Utf8ToSjis("JVSetUIPropertiesエラー："),
        Utf8ToSjis("JVInitエラーが発生しました。："),
        Utf8ToSjis("データ取得中です。終了するまでお待ちください。"),
        Utf8ToSjis("年間スケジュールファイルを更新できませんでした。データの取得を中止します。"),
        Utf8ToSjis("年間スケジュールファイルをディスクに書き込めませんでした。"),
        Utf8ToSjis("設定ファイルに最終取得日時を保存できませんでした。"),
        Utf8ToSjis("スケジュールとして読めないレコードを読み飛ばしました。件数: "),
        Utf8ToSjis("JV-Link が応答しなくなりました。データの取得を終了します。"),
    };
    return texts;
}

// The box of a failed call: the operation's prefix and result text, or, when the control
// stopped answering, that alone (its code is no result of the operation).
std::string FailureText(const std::string& prefix, const char* operation, int result) {
    if (result == kJVLinkNotAnswering) {
        return Texts().not_answering;
    }
    return prefix + JVResultText(operation, result);
}

// The hidden date control's value, 2003-04-06 10:46:42: the from-time of normal data.
constexpr char16_t kNormalDataFromTime[] = u"20030406104642";
constexpr int kNormalDataOption = 1;
constexpr int kSetupDataOption = 3;
constexpr int kSetupDataDays = 3650;
constexpr char16_t kScheduleDataSpec[] = u"YSCH";
constexpr std::string_view kSoftwareIdPrefix = "SA100200/SD300400/KoyomiVw/";

std::string Progress(const std::string& prefix, int done, int total) {
    return prefix + std::to_string(done) + "/" + std::to_string(total) + ")";
}

}  // namespace

DownloadSession::DownloadSession(JvLink& link, DownloadView& view, const Clock& clock,
                                 std::filesystem::path program_folder)
    : link_(link), view_(view), clock_(clock), program_folder_(std::move(program_folder)) {}

DownloadSession::~DownloadSession() {
    // The window is being torn down: no view calls, only the control and the files.
    if (state_ != State::Idle) {
        state_ = State::Idle;
        link_.JVClose();
        std::string reason;
        SyncWrittenFiles(reason);
    }
}

int DownloadSession::InitControl(std::string_view version_text) {
    const std::u16string sid =
        SjisToUtf16(std::string(kSoftwareIdPrefix) + std::string(version_text));
    const int result = link_.JVInit(sid);
    if (result != 0) {
        view_.ShowPlainMessage(FailureText(Texts().init_error, "JVInit", result));
    }
    return result;
}

void DownloadSession::StartFetch() {
    if (window_closed_) {
        return;
    }
    if (state_ != State::Idle) {
        // The read loop lets events through, so the command can arrive again mid-session.
        view_.ShowInformation(Texts().busy);
        return;
    }
    state_ = State::Opening;
    written_files_.clear();

    view_.ShowInformation(Texts().opening);
    if (state_ != State::Opening) {
        return;  // the window closed while the box was up
    }
    view_.SetStatusTimerEnabled(false);

    const std::u16string dataspec = kScheduleDataSpec;
    std::u16string from_time;
    int option = 0;
    if (view_.CheckedDataKind() == DataKind::Normal) {
        option = kNormalDataOption;
        from_time = kNormalDataFromTime;
    } else {
        option = kSetupDataOption;
        from_time = SjisToUtf16(FormatCompact(AddDays(clock_.Now(), -kSetupDataDays)));
    }
    view_.SetBusyCursor(true);

    last_file_timestamp_.clear();
    read_count_ = 0;
    download_count_ = 0;
    const int result = link_.JVOpen(dataspec, from_time, option, read_count_, download_count_,
                                    last_file_timestamp_);
    if (result != 0) {
        ShowError(FailureText(Texts().open_error, "JVOpen", result));
        CloseJVLink();
    } else if (read_count_ == 0) {
        ShowError(Texts().no_new_data);
        CloseJVLink();
    } else {
        view_.SetStatusText(Texts().open_ok + std::to_string(result));
        view_.SetStatusText("ReadCount:" + std::to_string(read_count_) +
                            ", DownloadCount:" + std::to_string(download_count_));
        if (download_count_ != 0) {
            view_.SetStatusText(Texts().downloading);
            view_.SetProgress(0, download_count_);
            state_ = State::Downloading;
            view_.SetStatusTimerEnabled(true);
        } else {
            state_ = State::Reading;
            ReadScheduleRecords();
            CloseJVLink();
        }
    }
    if (!window_closed_) {
        view_.MakeDataList();
    }
}

void DownloadSession::PollDownload() {
    if (state_ != State::Downloading) {
        return;  // a tick that was already queued when the timer went off
    }
    const int done = link_.JVStatus();
    if (done < 0) {
        // Off before the box: the box's own event loop would otherwise deliver more ticks.
        view_.SetStatusTimerEnabled(false);
        ShowError(FailureText(Texts().status_error, "JVStatus", done));
        CloseJVLink();
    } else if (done < download_count_) {
        view_.SetStatusText(Progress(Texts().download_progress, done, download_count_));
        view_.SetProgress(done, download_count_);
    } else if (done == download_count_) {
        view_.SetStatusTimerEnabled(false);
        view_.SetStatusText(Progress(Texts().download_progress, done, download_count_));
        view_.SetProgress(done, download_count_);
        state_ = State::Reading;
        ReadScheduleRecords();
        CloseJVLink();
    }
}

void DownloadSession::OpenControlSettings() {
    if (window_closed_) {
        return;
    }
    const int result = link_.JVSetUIProperties();
    if (result != 0) {
        ShowError(FailureText(Texts().set_ui_error, "JVSetUIProperties", result));
    }
}

void DownloadSession::WindowClosing() {
    window_closed_ = true;
    if (state_ == State::Idle) {
        return;
    }
    EndQuietly();
}

void DownloadSession::ReadScheduleRecords() {
    work_lines_.clear();
    file_counter_ = 0;
    rejected_records_ = 0;
    view_.SetStatusText(Progress(Texts().reading, 0, read_count_));
    view_.SetProgress(0, read_count_);

    int size = kJVReadBufferSize;
    std::u16string buffer;
    std::u16string file_name;
    for (;;) {
        view_.ProcessPendingEvents();
        if (state_ != State::Reading) {
            return;  // the window closed while its events ran
        }
        buffer.clear();
        file_name.clear();
        const int result = link_.JVRead(buffer, size, file_name);
        if (result > 0) {
            if (!StoreRecord(buffer)) {
                return;
            }
        } else if (result == -1) {
            ++file_counter_;
            view_.SetStatusText(Progress(Texts().reading, file_counter_, read_count_));
            view_.SetProgress(file_counter_, read_count_);
        } else if (result == -2 || result == -3) {
            continue;
        } else if (result == 0) {
            view_.SetStatusText(Texts().end_of_file + std::to_string(result));
            view_.SetStatusText(Progress(Texts().read_done, file_counter_, read_count_));
            FinishReading();
            return;
        } else {
            ShowError(FailureText(Texts().read_error, "JVRead", result));
            return;
        }
    }
}

bool DownloadSession::StoreRecord(const std::u16string& buffer) {
    const std::string record = Utf16ToSjis(buffer);
    if (record.compare(0, 2, "YS") != 0) {
        return true;  // other record kinds are not kept
    }
    const StoreResult stored = StoreScheduleRecord(program_folder_, record, work_lines_);
    switch (stored.status) {
        case StoreStatus::Stored:
            written_files_.insert(stored.file);
            return true;
        case StoreStatus::NotSchedule:
            return true;
        case StoreStatus::Rejected:
            ++rejected_records_;
            return true;
        case StoreStatus::FileError:
            break;
    }
    ShowError(Texts().year_file_error + "\n" + Utf8ToSjis(stored.file.string()) + "\n" +
              Utf8ToSjis(stored.reason));
    return false;
}

void DownloadSession::FinishReading() {
    std::string reason;
    if (!SyncWrittenFiles(reason)) {
        ShowError(Texts().sync_error + "\n" + Utf8ToSjis(reason));
        return;  // not safely stored: "LastTime" stays as it was
    }
    std::string settings_failure;
    const std::string last_time = LastTimeText(last_file_timestamp_);
    if (!last_time.empty()) {
        if (!view_.WriteLastTime(last_time, reason)) {
            settings_failure = Texts().last_time_error + "\n" + Utf8ToSjis(reason);
        }
        view_.CheckDataKind(DataKind::Normal);
    }
    view_.MakeDataList();
    view_.SetStatusText(Texts().complete);
    if (!settings_failure.empty()) {
        ShowError(settings_failure);
    }
    if (rejected_records_ > 0) {
        view_.ShowInformation(Texts().rejected_records + std::to_string(rejected_records_));
    }
}

void DownloadSession::CloseJVLink() {
    if (state_ == State::Idle) {
        return;  // already ended, by the window closing
    }
    const int result = link_.JVClose();
    std::string reason;
    const bool synced = SyncWrittenFiles(reason);
    state_ = State::Idle;
    view_.SetProgress(0, 0);
    view_.SetBusyCursor(false);
    view_.Beep();
    if (result != 0) {
        view_.ShowInformation(FailureText(Texts().close_error, "JVClose", result));
    }
    if (!synced) {
        ShowError(Texts().sync_error + "\n" + Utf8ToSjis(reason));
    }
}

void DownloadSession::EndQuietly() {
    if (state_ == State::Idle) {
        return;
    }
    state_ = State::Idle;
    view_.SetStatusTimerEnabled(false);
    link_.JVClose();  // its result has nowhere to go on a closing window
    std::string reason;
    SyncWrittenFiles(reason);
    view_.SetProgress(0, 0);
    view_.SetBusyCursor(false);
}

bool DownloadSession::SyncWrittenFiles(std::string& reason) {
    if (written_files_.empty()) {
        return true;
    }
    const bool synced = SyncFilesToDisk(written_files_, &reason);
    written_files_.clear();
    return synced;
}

void DownloadSession::ShowError(const std::string& text) {
    view_.Beep();
    view_.ShowInformation(text);
}

}  // namespace koyomi
