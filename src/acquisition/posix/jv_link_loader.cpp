#include "acquisition/jv_link_loader.h"

#include <dlfcn.h>

#include <system_error>
#include <utility>

namespace koyomi {
namespace {

// The library's object together with its library handle: the object is deleted by the
// library's own code, then the handle is given back.
class LibraryJVLink final : public JVLink {
  public:
    LibraryJVLink(void* library, JVLink* object) : library_(library), object_(object) {}
    ~LibraryJVLink() override {
        delete object_;
        dlclose(library_);
    }
    LibraryJVLink(const LibraryJVLink&) = delete;
    LibraryJVLink& operator=(const LibraryJVLink&) = delete;

    int JVInit(const std::u16string& sid) override { return object_->JVInit(sid); }
    int JVSetUIProperties() override { return object_->JVSetUIProperties(); }
    int JVOpen(const std::u16string& dataspec, const std::u16string& fromtime, int option,
               int& readcount, int& downloadcount, std::u16string& lastfiletimestamp) override {
        return object_->JVOpen(dataspec, fromtime, option, readcount, downloadcount,
                               lastfiletimestamp);
    }
    int JVStatus() override { return object_->JVStatus(); }
    int JVRead(std::u16string& buff, int& size, std::u16string& filename) override {
        return object_->JVRead(buff, size, filename);
    }
    int JVClose() override { return object_->JVClose(); }
    void SetWaiter(JVLinkWaiter* waiter) override { object_->SetWaiter(waiter); }

  private:
    void* library_;
    JVLink* object_;
};

std::string LastLoaderError() {
    const char* text = dlerror();
    return text != nullptr ? text : "unknown loader error";
}

// What the library says of its last failure, when it says anything.
std::string LibraryFailureText(void* handle) {
    using FailureText = const char* (*)();
    auto failure = reinterpret_cast<FailureText>(dlsym(handle, kJVLinkFailureName));
    const char* text = failure != nullptr ? failure() : nullptr;
    return text != nullptr ? text : "";
}

ControlFailure LibraryFailureCause(void* handle, std::string reason) {
    ControlFailure cause;
    cause.reason = std::move(reason);
    using FailureDetail = const ControlFailureDetailV1* (*)();
    auto detail_of = reinterpret_cast<FailureDetail>(dlsym(handle, kJVLinkFailureDetailName));
    const ControlFailureDetailV1* detail = detail_of != nullptr ? detail_of() : nullptr;
    if (detail == nullptr) {
        return cause;
    }
    // A number this program does not know, or one the library never names, is no cause it
    // can name.
    switch (const auto kind = static_cast<ControlFailureKind>(detail->kind)) {
        case ControlFailureKind::WineNotFound:
        case ControlFailureKind::NoPrefix:
        case ControlFailureKind::HostDidNotStart:
        case ControlFailureKind::Host64DidNotStart:
        case ControlFailureKind::NotRegistered:
        case ControlFailureKind::ControlNotCreated:
        case ControlFailureKind::IncompleteSyswow64:
        case ControlFailureKind::PrefixOfAnotherUser:
            cause.kind = kind;
            break;
        case ControlFailureKind::Other:
        case ControlFailureKind::NotInstalled:
        case ControlFailureKind::InstalledNotCreated:
            break;
    }
    if (detail->wine_prefix != nullptr) {
        cause.wine_prefix = detail->wine_prefix;
    }
    cause.backend_from_environment = detail->backend_from_environment != 0;
    return cause;
}

// The library file in `program_folder`, absolute, when it is there.
Result<std::filesystem::path> LibraryFile(const std::filesystem::path& program_folder) {
    std::error_code error;
    std::filesystem::path library = std::filesystem::absolute(program_folder, error);
    if (error) {
        return Fail(program_folder.string() + ": " + error.message());
    }
    library /= kJVLinkLibraryFileName;
    if (!std::filesystem::is_regular_file(library, error)) {
        return Fail(library.string() + ": not found");
    }
    return library;
}

// RTLD_NODELETE: the control and what it brings in (Qt for its dialog) stay mapped after the
// last object is gone; libraries with global state do not survive being unloaded and loaded
// again.
void* OpenLibrary(const std::filesystem::path& library) {
    dlerror();  // forget any earlier error, so the texts below are this call's own
    return dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
}

}  // namespace

JVLinkCreation CreateJVLinkObject(std::string_view prog_id,
                                  const std::filesystem::path& program_folder) {
    JVLinkCreation creation;
    if (prog_id != kJVLinkProgId) {
        creation.reason = "class not registered: " + std::string(prog_id);
        return creation;
    }
    const Result<std::filesystem::path> found = LibraryFile(program_folder);
    if (!found) {
        creation.reason = found.Reason();
        return creation;
    }
    const std::filesystem::path& library = *found;
    void* handle = OpenLibrary(library);
    if (handle == nullptr) {
        creation.reason = LastLoaderError();
        return creation;
    }
    auto factory = reinterpret_cast<JVLinkFactory>(dlsym(handle, kJVLinkFactoryName));
    if (factory == nullptr) {
        creation.reason = library.string() + ": no " + kJVLinkFactoryName;
        dlclose(handle);
        return creation;
    }
    JVLink* object = nullptr;
    try {
        object = factory();
    } catch (...) {
        object = nullptr;
    }
    if (object == nullptr) {
        // The library may say why (e.g. JV-Link under Wine could not be started).
        const std::string text = LibraryFailureText(handle);
        creation.reason =
            library.string() + ": " + (!text.empty() ? text : "the factory made no object");
        creation.failure = LibraryFailureCause(handle, text);
        dlclose(handle);
        return creation;
    }
    creation.link = std::make_unique<LibraryJVLink>(handle, object);
    return creation;
}

Status UseLocalDataService(const std::filesystem::path& program_folder) {
    const Result<std::filesystem::path> library = LibraryFile(program_folder);
    if (!library) {
        return Fail(library.Reason());
    }
    void* handle = OpenLibrary(*library);
    if (handle == nullptr) {
        return Fail(LastLoaderError());
    }
    using UseLocalService = int (*)();
    auto use = reinterpret_cast<UseLocalService>(dlsym(handle, kJVLinkUseLocalServiceName));
    Status outcome;
    if (use == nullptr) {
        outcome = Fail(library->string() + ": no " + kJVLinkUseLocalServiceName);
    } else if (use() != 0) {
        const std::string text = LibraryFailureText(handle);
        outcome = Fail(!text.empty() ? text : "the choice could not be saved");
    }
    dlclose(handle);
    return outcome;
}

}  // namespace koyomi
