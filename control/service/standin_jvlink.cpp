#include "control/service/standin_jvlink.h"

#include <algorithm>
#include <string_view>
#include <system_error>
#include <utility>

#include "control/service/download_cache.h"
#include "control/service/download_worker.h"
#include "control/service/service_files.h"
#include "control/service/service_records.h"
#include "control/service/standin_settings.h"
#include "control/service/text_file.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

// JV-Link's result codes that the stand-in gives.
constexpr int kSidMissing = -101;
constexpr int kSidTooLong = -102;
constexpr int kSidStartsWithSpace = -103;
constexpr int kBadDataSpec = -111;
constexpr int kBadFromTime = -112;
constexpr int kBadOption = -115;
constexpr int kNotInitialised = -201;
constexpr int kRequestOpen = -202;
constexpr int kNoRequest = -203;
constexpr int kBadContent = -403;
constexpr int kDownloadFailed = -502;
constexpr int kFileNotFound = -503;
constexpr int kServiceUnavailable = -504;
constexpr int kMovedToNextFile = -1;
constexpr int kDownloading = -3;

constexpr size_t kSidLimitBytes = 64;
// A service file is read whole; anything near this size is not a schedule delivery.
constexpr size_t kLargestServiceFile = size_t{1} << 30;

// A fault that says 0 changes nothing.
bool Applies(const std::optional<Fault>& fault) {
    return fault && fault->result != 0;
}

bool IsFolder(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder, error);
}

FaultPlan FaultsOf(const std::filesystem::path& service_folder) {
    return IsFolder(service_folder) ? LoadFaultPlan(service_folder) : FaultPlan{};
}

}  // namespace

// One open data request: the files it delivers, their download and the read position.
struct StandInJVLink::Request {
    std::filesystem::path cache_folder;
    std::vector<ServiceFile> files;
    std::vector<int> download_position;  // index in the download order, -1 when cached
    std::unique_ptr<DownloadWorker> worker;

    size_t file_index = 0;
    bool file_loaded = false;
    std::string content;                    // the current file
    std::vector<std::string_view> records;  // views into `content`
    size_t record_index = 0;
    int delivered = 0;  // records handed out by JVRead
};

StandInJVLink::StandInJVLink(StandInPaths paths, SettingsDialogRunner dialog)
    : paths_(std::move(paths)), dialog_(std::move(dialog)) {}

StandInJVLink::~StandInJVLink() = default;

std::filesystem::path StandInJVLink::CurrentServiceFolder() const {
    return ServiceFolder(paths_, LoadStandInSettings(paths_.settings_file).service_folder);
}

int StandInJVLink::JVInit(const std::u16string& sid) {
    initialised_ = false;
    if (sid.empty()) {
        return kSidMissing;
    }
    if (Utf16ToSjis(sid).size() >= kSidLimitBytes) {
        return kSidTooLong;
    }
    if (sid.front() == u' ') {
        return kSidStartsWithSpace;
    }
    faults_ = FaultsOf(CurrentServiceFolder());
    if (Applies(faults_.jv_init)) {
        return faults_.jv_init->result;
    }
    initialised_ = true;
    return 0;
}

int StandInJVLink::JVSetUIProperties() {
    const FaultPlan faults = FaultsOf(CurrentServiceFolder());
    if (Applies(faults.jv_set_ui_properties)) {
        return faults.jv_set_ui_properties->result;
    }
    return dialog_ ? dialog_(paths_.settings_file) : 0;
}

int StandInJVLink::JVOpen(const std::u16string& dataspec, const std::u16string& fromtime,
                          int option, int& readcount, int& downloadcount,
                          std::u16string& lastfiletimestamp) {
    readcount = 0;
    downloadcount = 0;
    lastfiletimestamp.clear();
    if (!initialised_) {
        return kNotInitialised;
    }
    if (request_) {
        return kRequestOpen;
    }
    const std::optional<std::vector<std::string>> specs = ParseDataSpec(dataspec);
    if (!specs) {
        return kBadDataSpec;
    }
    if (!IsFourteenDigits(fromtime)) {
        return kBadFromTime;
    }
    if (option < 1 || option > 4) {
        return kBadOption;
    }
    const StandInSettings settings = LoadStandInSettings(paths_.settings_file);
    const std::filesystem::path service_folder = ServiceFolder(paths_, settings.service_folder);
    if (!IsFolder(service_folder)) {
        return kServiceUnavailable;
    }
    faults_ = LoadFaultPlan(service_folder);
    if (Applies(faults_.jv_open)) {
        return faults_.jv_open->result;
    }

    auto request = std::make_unique<Request>();
    Result<std::vector<ServiceFile>> files =
        SelectServiceFiles(service_folder, *specs, Utf16ToUtf8(fromtime));
    if (!files) {
        return kServiceUnavailable;
    }
    request->files = std::move(files).Value();
    request->cache_folder = ServiceCacheFolder(paths_.cache_root, service_folder);
    std::vector<ServiceFile> missing;
    for (const ServiceFile& file : request->files) {
        if (IsInCache(request->cache_folder, file)) {
            request->download_position.push_back(-1);
        } else {
            request->download_position.push_back(static_cast<int>(missing.size()));
            missing.push_back(file);
        }
    }
    readcount = static_cast<int>(request->files.size());
    downloadcount = static_cast<int>(missing.size());
    if (!request->files.empty()) {
        // Oldest first, so the last file is the newest.
        lastfiletimestamp = Utf8ToUtf16(request->files.back().created);
    }
    if (!missing.empty()) {
        const int ms_per_file =
            std::clamp(faults_.ms_per_file.value_or(settings.ms_per_file), 0, kLongestMsPerFile);
        request->worker = std::make_unique<DownloadWorker>(service_folder, request->cache_folder,
                                                           std::move(missing), ms_per_file);
    }
    request_ = std::move(request);
    return 0;
}

int StandInJVLink::JVStatus() {
    if (!initialised_) {
        return kNotInitialised;
    }
    if (!request_) {
        return kNoRequest;
    }
    const DownloadWorker* worker = request_->worker.get();
    const int done = worker != nullptr ? worker->Done() : 0;
    if (faults_.jv_status && done >= faults_.jv_status->after) {
        return faults_.jv_status->result;
    }
    if (worker != nullptr && worker->Failed()) {
        return kDownloadFailed;
    }
    return done;
}

int StandInJVLink::LoadCurrentFile() {
    Request& request = *request_;
    const int position = request.download_position[request.file_index];
    if (position >= 0 && position >= request.worker->Done()) {
        return request.worker->Failed() ? kDownloadFailed : kDownloading;
    }
    const std::filesystem::path cached =
        request.cache_folder / request.files[request.file_index].name;
    std::error_code error;
    if (!std::filesystem::exists(cached, error)) {
        return kFileNotFound;
    }
    Result<std::string> content = ReadRegularFile(cached, kLargestServiceFile);
    if (!content) {
        return kDownloadFailed;
    }
    request.content = std::move(content).Value();
    request.records = SplitServiceRecords(request.content);
    request.record_index = 0;
    request.file_loaded = true;
    return 0;
}

int StandInJVLink::JVRead(std::u16string& buff, int& size, std::u16string& filename) {
    if (!initialised_) {
        return kNotInitialised;
    }
    if (!request_) {
        return kNoRequest;
    }
    Request& request = *request_;
    if (faults_.jv_read && request.delivered >= faults_.jv_read->after) {
        return faults_.jv_read->result;
    }
    if (request.file_index >= request.files.size()) {
        return 0;
    }
    if (!request.file_loaded) {
        if (const int status = LoadCurrentFile(); status != 0) {
            return status;
        }
    }
    if (request.record_index < request.records.size()) {
        const std::string_view record = request.records[request.record_index];
        const size_t length = record.size() + 2;  // with its CR LF
        if (size < 0 || length > static_cast<size_t>(size) || !IsValidSjis(record)) {
            return kBadContent;  // stays at this record
        }
        buff = SjisToUtf16(record);
        buff += u"\r\n";
        filename = Utf8ToUtf16(request.files[request.file_index].name);
        ++request.record_index;
        ++request.delivered;
        return static_cast<int>(length);
    }
    ++request.file_index;
    request.file_loaded = false;
    request.records.clear();
    request.content.clear();
    return kMovedToNextFile;
}

int StandInJVLink::JVClose() {
    request_.reset();  // stops and joins a download still running
    return Applies(faults_.jv_close) ? faults_.jv_close->result : 0;
}

}  // namespace koyomi
