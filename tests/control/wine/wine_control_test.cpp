// The Wine back end against our test control, registered as "JVDTLab.JVLink" in a throwaway
// prefix (KOYOMI_WINE_PREFIX, made by wine_prefix.sh): the same fetches and faults as through
// the local data service give the same year files, "LastTime" and boxes; a host that is killed
// or goes silent ends the session and the next fetch starts a new one. In a 64-bit prefix with
// the 64-bit test control the client picks the 64-bit host, and a fetch gives the same.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>

#include "acquisition/download_session.h"
#include "control/control_choice.h"
#include "control/service/sample/sample_service.h"
#include "control/wine/registered_control.h"
#include "control/wine/wine_jvlink.h"
#include "standin_test_support.h"
#include "support/clock.h"
#include "testing/built_program.h"
#include "testing/recording_view.h"

namespace koyomi::testing {
namespace {

std::filesystem::path PrefixFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

HostCommand Command(const std::filesystem::path& prefix) {
    const Result<std::filesystem::path> wine = FindWineProgram();
    return {wine ? *wine : std::filesystem::path("wine"), BuiltProgramFolder() / "jvlink-host.exe",
            prefix};
}

// What a fetch left behind: the files of the program folder, the boxes the user saw and the
// last status line (the progress lines between depend on when the polls fall).
struct Outcome {
    std::map<std::string, std::string> files;
    std::vector<std::string> boxes;
    std::string last_status;
    std::string last_time;
};

class WineControlTest : public StandInTest {
  protected:
    FixedClock clock_{{2026, 12, 8, 21, 0, 0}};
    std::filesystem::path prefix_ = PrefixFromEnvironment("KOYOMI_WINE_PREFIX");

    int services_ = 0;

    // A new service folder with the sample files and `faults` (downloads take no time), served
    // by both controls. Each has its own cache folder in both, so every fetch starts uncached.
    void UseNewService(const std::string& faults) {
        const std::filesystem::path folder = root_ / ("service-" + std::to_string(++services_));
        for (const SampleServiceFile& file : SampleServiceFiles(2025, 2027)) {
            WriteBytes(folder / file.name, file.content);
        }
        WriteBytes(folder / "faults.ini", faults + "[download]\nms_per_file=0\n");
        UseSettings(folder, 0);
        setenv("JVLINK_SERVICE_DIR", folder.c_str(), 1);  // read by the test control
    }

    void SetUp() override {
        if (prefix_.empty()) {
            GTEST_SKIP() << "KOYOMI_WINE_PREFIX is not set: no Wine prefix to test in";
        }
    }

    std::unique_ptr<WineJVLink> CreateWine(HostTimeouts timeouts = {}) {
        Result<std::unique_ptr<WineJVLink>> link = WineJVLink::Create(Command(prefix_), timeouts);
        EXPECT_TRUE(link) << link.Reason();
        return link ? std::move(link).Value() : nullptr;
    }

    static void Fetch(DownloadSession& session, RecordingView& view) {
        session.StartFetch(view.data_kind);
        for (int tick = 0; tick < 20000 && view.timer_enabled; ++tick) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            session.PollDownload();
        }
        ASSERT_FALSE(session.IsOpen());
    }

    Outcome FetchOnce(JVLink& link, const std::filesystem::path& program, RecordingView& view) {
        const SettingsFile settings = LoadedSettings(program);
        view.settings = &settings;
        DownloadSession session(link, view, clock_, settings, program);
        EXPECT_EQ(session.InitControl("Ver.1.02"), 0);
        Fetch(session, view);
        Outcome outcome = Collect(program, view);
        view.settings = nullptr;
        return outcome;
    }

    static Outcome Collect(const std::filesystem::path& program, const RecordingView& view) {
        Outcome outcome;
        for (const auto& entry : std::filesystem::directory_iterator(program)) {
            outcome.files[entry.path().filename().string()] = ReadBytes(entry.path());
        }
        for (const std::string& shown : view.Shown()) {
            if (shown.starts_with("status ")) {
                outcome.last_status = shown;
            } else {
                outcome.boxes.push_back(shown);
            }
        }
        outcome.last_time = view.LastTime();
        return outcome;
    }

    // One fetch through the local data service and one through COM, each into its own folder.
    void ExpectSameFetch() {
        std::unique_ptr<WineJVLink> wine = CreateWine();
        ASSERT_NE(wine, nullptr);
        ExpectSameFetch(*wine);
    }

    void ExpectSameFetch(JVLink& wine) {
        TempFolder local_program;
        TempFolder wine_program;
        StandInJVLink local(Paths());
        RecordingView local_view;
        const Outcome expected = FetchOnce(local, local_program.path(), local_view);
        RecordingView wine_view;
        const Outcome got = FetchOnce(wine, wine_program.path(), wine_view);
        EXPECT_EQ(got.boxes, expected.boxes);
        if (!expected.last_time.empty()) {  // a completed fetch ends on its message
            EXPECT_EQ(got.last_status, expected.last_status);
        }
        EXPECT_EQ(got.last_time, expected.last_time);
        ASSERT_EQ(got.files.size(), expected.files.size());
        for (const auto& [name, content] : expected.files) {
            EXPECT_TRUE(got.files.count(name) == 1 && got.files.at(name) == content) << name;
        }
    }
};

TEST_F(WineControlTest, FullFetchThroughComEqualsTheLocalService) {
    UseNewService("");
    ExpectSameFetch();
}

TEST_F(WineControlTest, FaultsThroughComGiveTheSameBoxes) {
    for (const char* faults : {"[JVOpen]\nresult=-504\n", "[JVStatus]\nafter=2\nresult=-502\n",
                               "[JVRead]\nafter=100\nresult=-403\n"}) {
        SCOPED_TRACE(faults);
        UseNewService(faults);
        ExpectSameFetch();
    }
}

TEST_F(WineControlTest, KilledHostEndsTheSessionAndTheNextFetchStartsANewOne) {
    UseNewService("");
    TempFolder program;
    std::unique_ptr<WineJVLink> wine = CreateWine();
    ASSERT_NE(wine, nullptr);
    const SettingsFile settings = LoadedSettings(program.path());
    RecordingView view(&settings);
    DownloadSession session(*wine, view, clock_, settings, program.path());
    ASSERT_EQ(session.InitControl("Ver.1.02"), 0);
    int turns = 0;
    view.on_pending_events = [&] {
        if (++turns == 300) {
            ::kill(wine->HostProcessId(), SIGKILL);
        }
    };
    Fetch(session, view);
    EXPECT_EQ(view.Shown().back(),
              "box JV-Link が応答しなくなりました。データの取得を終了します。");
    EXPECT_EQ(view.LastTime(), "");
    EXPECT_FALSE(YearFileLines(program.path(), "2025").empty());  // stored so far, kept

    // The next fetch starts a host, repeats JVInit and reads everything.
    view.on_pending_events = nullptr;
    view.events.clear();
    Fetch(session, view);
    EXPECT_EQ(view.Shown().back(), "status データ作成が完了しました。");
    EXPECT_EQ(view.LastTime(), "2026/12/05 15:00:00");

    TempFolder local_program;
    StandInJVLink local(Paths());
    RecordingView local_view;
    const Outcome expected = FetchOnce(local, local_program.path(), local_view);
    const Outcome got = Collect(program.path(), view);
    EXPECT_EQ(got.files, expected.files);
}

TEST_F(WineControlTest, SilentHostTimesOut) {
    UseNewService("");
    HostTimeouts timeouts;
    timeouts.quick = std::chrono::milliseconds(300);
    std::unique_ptr<WineJVLink> wine = CreateWine(timeouts);
    ASSERT_NE(wine, nullptr);
    ASSERT_EQ(Init(*wine), 0);
    ASSERT_EQ(Open(*wine).result, 0);
    const pid_t host = wine->HostProcessId();
    ASSERT_EQ(::kill(host, SIGSTOP), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(wine->JVStatus(), kJVLinkNotAnswering);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(wine->LastFailure(), "no answer in time");
    EXPECT_EQ(wine->HostProcessId(), 0);
    EXPECT_EQ(wine->JVClose(), 0);  // nothing left open
}

// The control's own windows, which need a display (run under Xvfb).
class WineWindowTest : public WineControlTest {
  protected:
    void SetUp() override {
        WineControlTest::SetUp();
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no DISPLAY: the control's windows need one";
        }
    }
};

// Counts the turns with the control's window up, and gives the call up at `give_up_at`.
struct CountingWaiter : JVLinkWaiter {
    int window_turns = 0;
    int give_up_at = -1;
    bool KeepWaiting(bool control_window_up) override {
        window_turns += control_window_up ? 1 : 0;
        return window_turns != give_up_at;
    }
};

TEST_F(WineWindowTest, ControlWindowLongerThanTheTimeOutStillCompletesTheFetch) {
    UseNewService("[JVOpen]\ndialog_ms=6000\n");
    TempFolder local_program;
    StandInJVLink local(Paths());
    RecordingView local_view;
    const Outcome expected = FetchOnce(local, local_program.path(), local_view);

    HostTimeouts timeouts;
    timeouts.open = std::chrono::milliseconds(3000);  // Wine's first window takes a while
    std::unique_ptr<WineJVLink> wine = CreateWine(timeouts);
    ASSERT_NE(wine, nullptr);
    TempFolder program;
    RecordingView view;
    const Outcome got = FetchOnce(*wine, program.path(), view);
    // The session is the control's waiter: the status line said why nothing moved.
    EXPECT_EQ(view.Count("status JV-Link の画面で入力を待っています。"), 1);
    EXPECT_EQ(wine->LastFailure(), "");
    EXPECT_EQ(got.boxes, expected.boxes);
    EXPECT_EQ(got.last_time, expected.last_time);
    EXPECT_EQ(got.files, expected.files);
    EXPECT_TRUE(wine->EndHost());  // closed in its own time, not killed
}

TEST_F(WineWindowTest, GivingUpWhileTheWindowIsUpStopsTheHostAtOnce) {
    UseNewService("[JVOpen]\ndialog_ms=20000\n");
    std::unique_ptr<WineJVLink> wine = CreateWine();
    ASSERT_NE(wine, nullptr);
    CountingWaiter waiter;
    waiter.give_up_at = 2;
    wine->SetWaiter(&waiter);
    ASSERT_EQ(Init(*wine), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Open(*wine).result, kJVLinkNotAnswering);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(wine->LastFailure(), "the call was given up");
    EXPECT_EQ(wine->HostProcessId(), 0);
    EXPECT_EQ(wine->JVClose(), 0);
}

// KOYOMI_WINE_PREFIX is the 64-bit prefix, with only the 64-bit test control registered.
using Wine64ControlTest = WineControlTest;

TEST_F(Wine64ControlTest, ClientPicksThe64BitHostAndFetchesTheSameRecords) {
    EXPECT_EQ(ChooseHost(prefix_).program, kHost64ProgramName);
    UseNewService("");
    setenv("XDG_CONFIG_HOME", (root_ / "xdg-config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (root_ / "xdg-cache").c_str(), 1);
    setenv("JVLINK_BACKEND", "wine", 1);
    setenv("WINEPREFIX", prefix_.c_str(), 1);
    // The 32-bit host could not create the control, so a control means the 64-bit host.
    const ControlCreation creation = CreateControl(BuiltProgramFolder(), {}, false);
    unsetenv("JVLINK_BACKEND");
    unsetenv("WINEPREFIX");
    ASSERT_TRUE(creation.link) << creation.failure.reason;
    ExpectSameFetch(*creation.link);
}

TEST(WineUnregisteredTest, CreationSaysTheProgIdIsNotRegisteredInThePrefix) {
    const std::filesystem::path prefix = PrefixFromEnvironment("KOYOMI_WINE_PREFIX");
    if (prefix.empty()) {
        GTEST_SKIP() << "KOYOMI_WINE_PREFIX is not set: no Wine prefix to test in";
    }
    const Result<std::unique_ptr<WineJVLink>> link = WineJVLink::Create(Command(prefix));
    ASSERT_FALSE(link);
    EXPECT_EQ(link.Reason(), "CLSIDFromProgID(JVDTLab.JVLink) failed in the Wine prefix " +
                                 prefix.string() + " (0x800401F3, the ProgID is not registered)");

    // The control library names that cause, for the offer of the local data service.
    setenv("JVLINK_BACKEND", "wine", 1);
    setenv("WINEPREFIX", prefix.c_str(), 1);
    const ControlCreation creation = CreateControl(BuiltProgramFolder(), {}, false);
    unsetenv("JVLINK_BACKEND");
    unsetenv("WINEPREFIX");
    ASSERT_FALSE(creation.link);
    EXPECT_EQ(creation.failure.kind, ControlFailureKind::NotRegistered);
    EXPECT_EQ(creation.failure.reason, link.Reason());
    EXPECT_EQ(creation.failure.wine_prefix, prefix);
}

}  // namespace
}  // namespace koyomi::testing
