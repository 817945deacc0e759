// GIO against a desktop of our own: temporary XDG folders with desktop entries and a
// mimeapps.list, so that finding, starting and failing to start an application are real.
#include "support/gio/gio_launcher.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

constexpr char kUnknownScheme[] = "koyomi-none://x.invalid/home";

class GioDesktop : public ::testing::Test {
  protected:
    // GLib reads the XDG folders once a process, so the desktop is built once, before GIO's
    // first use, and never changed.
    static void SetUpTestSuite() {
        folder_ = new TempFolder("koyomi-gio 暦");
        root_ = &folder_->path();
        const fs::path& root = *root_;
        for (const char* folder : {"bin", "data/applications", "config", "system"}) {
            fs::create_directories(root / folder);
        }
        // The recorder writes its arguments beside itself, whole or not at all.
        WriteScript(
            "record",
            "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.part\" && mv \"$0.part\" \"$0.out\"\n");
        // A handler whose program is there but may not be run.
        WriteBytes(root / "bin/not-executable", "#!/bin/sh\n");
        WriteEntry("recorder", "record", "x-scheme-handler/koyomi-ok;text/html;");
        WriteEntry("missing", "absent",
                   "x-scheme-handler/koyomi-missing;application/x-koyomi-missing;");
        WriteEntry("locked", "not-executable",
                   "x-scheme-handler/koyomi-locked;application/x-koyomi-locked;");
        WriteBytes(root / "config/mimeapps.list",
                   "[Default Applications]\n"
                   "x-scheme-handler/koyomi-ok=recorder.desktop\n"
                   "text/html=recorder.desktop\n"
                   "x-scheme-handler/koyomi-missing=missing.desktop\n"
                   "application/x-koyomi-missing=missing.desktop\n"
                   "x-scheme-handler/koyomi-locked=locked.desktop\n"
                   "application/x-koyomi-locked=locked.desktop\n");
        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        // Nothing of the machine's own desktop, and no session bus to hand the start to.
        ::setenv("XDG_DATA_DIRS", (root / "system").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (root / "system").c_str(), 1);
        ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (root / "no-bus").string()).c_str(),
                 1);
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
        root_ = nullptr;
    }
    void SetUp() override { fs::remove(Record()); }

    static void WriteScript(const std::string& name, const std::string& text) {
        WriteBytes(*root_ / "bin" / name, text);
        fs::permissions(*root_ / "bin" / name, fs::perms::owner_all);
    }
    // A desktop entry whose Exec is bin/<program> (quoted, as its folder holds a blank).
    static void WriteEntry(const std::string& id, const std::string& program,
                           const std::string& types) {
        WriteBytes(*root_ / "data/applications" / (id + ".desktop"),
                   "[Desktop Entry]\nType=Application\nName=" + id + "\nExec=\"" +
                       (*root_ / "bin" / program).string() + "\" %u\nMimeType=" + types + "\n");
    }
    static fs::path Record() { return *root_ / "bin/record.out"; }

    // What the recorder was given, once it has run; empty when it never did.
    static std::string WaitForRecord() {
        for (int tries = 0; tries < 1000 && !fs::exists(Record()); ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return ReadBytes(Record());
    }

    static TempFolder* folder_;
    static const fs::path* root_;
};

TempFolder* GioDesktop::folder_ = nullptr;
const fs::path* GioDesktop::root_ = nullptr;

TEST_F(GioDesktop, SchemeHandlerGetsTheAddressAsOneArgument) {
    const std::string url = "koyomi-ok://x.invalid/a b;touch${IFS}x?q=$(id)&r=`id`";
    ASSERT_TRUE(LaunchDefaultForUri(url));
    EXPECT_EQ(WaitForRecord(), url + "\n");
}

TEST_F(GioDesktop, UnknownAddressFallsBackToTheHtmlHandler) {
    GioLauncher launcher;
    EXPECT_FALSE(launcher.OpenWithUriHandler(kUnknownScheme));
    ASSERT_TRUE(OpenUrl(launcher, kUnknownScheme));
    EXPECT_EQ(WaitForRecord(), std::string(kUnknownScheme) + "\n");
}

TEST_F(GioDesktop, NoHandlerOrOneThatCannotStartIsAFailure) {
    for (const char* kind : {"none", "missing", "locked"}) {
        const std::string url = "koyomi-" + std::string(kind) + "://x.invalid/";
        const Status by_scheme = LaunchDefaultForUri(url);
        ASSERT_FALSE(by_scheme) << kind;
        EXPECT_EQ(by_scheme.Reason().rfind(url + ": ", 0), 0u) << by_scheme.Reason();
        const Status by_type =
            LaunchDefaultForType("application/x-koyomi-" + std::string(kind), url);
        ASSERT_FALSE(by_type) << kind;
        EXPECT_EQ(by_type.Reason().rfind(url + ": ", 0), 0u) << by_type.Reason();
    }
    EXPECT_FALSE(fs::exists(Record()));
}

}  // namespace
}  // namespace koyomi
