#include "support/gio/gio_launcher.h"

#include <gio/gio.h>

#include <memory>

namespace koyomi {

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

// Owns one GObject reference.
template <typename T>
using ObjectRef = std::unique_ptr<T, ObjectUnref>;

// Owns the error a GIO call may report through its GError** parameter.
class ErrorSlot {
  public:
    ErrorSlot() = default;
    ErrorSlot(const ErrorSlot&) = delete;
    ErrorSlot& operator=(const ErrorSlot&) = delete;
    ~ErrorSlot() { g_clear_error(&error_); }

    GError** Out() {
        g_clear_error(&error_);
        return &error_;
    }
    // GIO's message (UTF-8), or `otherwise` when the call set none.
    std::string MessageOr(const char* otherwise) const {
        return error_ != nullptr ? error_->message : otherwise;
    }

  private:
    GError* error_ = nullptr;
};

bool IsLocalFileUri(const std::string& uri) {
    return g_ascii_strncasecmp(uri.c_str(), "file:", 5) == 0;
}

}  // namespace

Status LaunchDefaultForUri(const std::string& uri) {
    ErrorSlot error;
    if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, error.Out())) {
        return Fail(uri + ": " + error.MessageOr("no application opens it"));
    }
    return {};
}

Status LaunchDefaultForType(const std::string& content_type, const std::string& uri) {
    const ObjectRef<GAppInfo> application(
        g_app_info_get_default_for_type(content_type.c_str(), !IsLocalFileUri(uri)));
    if (!application) {
        return Fail(uri + ": no application is registered for " + content_type);
    }
    // One URI in a list node of our own, as GIO reads the list and keeps nothing of it.
    GList uris{const_cast<char*>(uri.c_str()), nullptr, nullptr};
    ErrorSlot error;
    if (!g_app_info_launch_uris(application.get(), &uris, nullptr, error.Out())) {
        const char* name = g_app_info_get_name(application.get());
        return Fail(uri + ": " + (name != nullptr ? name : content_type) + ": " +
                    error.MessageOr("could not be started"));
    }
    return {};
}

Status GioLauncher::OpenWithUriHandler(const std::string& uri) {
    return LaunchDefaultForUri(uri);
}

Status GioLauncher::OpenWithHtmlHandler(const std::string& uri) {
    return LaunchDefaultForType("text/html", uri);
}

}  // namespace koyomi
