#include "acquisition/jv_link_loader.h"

#include <dlfcn.h>

#include <system_error>
#include <utility>

namespace koyomi {
namespace {

// The library's object together with its library handle: the object is deleted by the
// library's own code, then the handle is given back.
class LibraryJVLink final : public JvLink {
  public:
    LibraryJVLink(void* library, JvLink* object) : library_(library), object_(object) {}
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

  private:
    void* library_;
    JvLink* object_;
};

std::string LastLoaderError() {
    const char* text = dlerror();
    return text != nullptr ? text : "unknown loader error";
}

}  // namespace

JVLinkCreation CreateJVLinkObject(std::string_view prog_id,
                                  const std::filesystem::path& program_folder) {
    JVLinkCreation creation;
    if (prog_id != kJVLinkProgId) {
        creation.reason = "class not registered: " + std::string(prog_id);
        return creation;
    }
    std::error_code error;
    std::filesystem::path library = std::filesystem::absolute(program_folder, error);
    if (error) {
        creation.reason = program_folder.string() + ": " + error.message();
        return creation;
    }
    library /= kJVLinkLibraryFileName;
    if (!std::filesystem::is_regular_file(library, error)) {
        creation.reason = library.string() + ": not found";
        return creation;
    }

    dlerror();  // forget any earlier error, so the texts below are this call's own
    // RTLD_NODELETE: the control and what it brings in (Qt for its dialog) stay mapped after
    // the last object is gone; libraries with global state do not survive being unloaded and
    // loaded again.
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
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
    JvLink* object = nullptr;
    try {
        object = factory();
    } catch (...) {
        object = nullptr;
    }
    if (object == nullptr) {
        // The library may say why (e.g. JV-Link under Wine could not be started).
        using FailureText = const char* (*)();
        auto failure = reinterpret_cast<FailureText>(dlsym(handle, kJVLinkFailureName));
        const char* text = failure != nullptr ? failure() : nullptr;
        creation.reason = library.string() + ": " +
                          (text != nullptr && *text != '\0' ? text : "the factory made no object");
        dlclose(handle);
        return creation;
    }
    creation.link = std::make_unique<LibraryJVLink>(handle, object);
    return creation;
}

}  // namespace koyomi
