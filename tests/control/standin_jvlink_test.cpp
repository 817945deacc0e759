#include "control/service/standin_jvlink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "control/service/download_cache.h"
#include "standin_test_support.h"

namespace koyomi::testing {
namespace {

using StandInInitTest = StandInTest;
using StandInOpenTest = StandInTest;
using StandInReadTest = StandInTest;
using StandInFaultTest = StandInTest;

// --- JVInit --------------------------------------------------------------------------------

TEST_F(StandInInitTest, ChecksTheSoftwareId) {
    StandInJVLink link(Paths());
    EXPECT_EQ(link.JVInit(u""), -101);
    EXPECT_EQ(link.JVInit(std::u16string(64, u'A')), -102);
    EXPECT_EQ(link.JVInit(std::u16string(32, u'\u6771')), -102);  // 32 kanji are 64 bytes
    EXPECT_EQ(link.JVInit(u" SA100200"), -103);
    EXPECT_EQ(link.JVInit(std::u16string(63, u'A')), 0);
    EXPECT_EQ(Init(link), 0);
}

TEST_F(StandInInitTest, NothingWorksBeforeASuccessfulInit) {
    StandInJVLink link(Paths());
    EXPECT_EQ(Open(link).result, -201);
    EXPECT_EQ(link.JVStatus(), -201);
    std::u16string buffer;
    std::u16string name;
    int size = 60000;
    EXPECT_EQ(link.JVRead(buffer, size, name), -201);
    EXPECT_EQ(link.JVInit(u""), -101);  // a failed init leaves the control not ready
    EXPECT_EQ(Open(link).result, -201);
    EXPECT_EQ(link.JVClose(), 0);
}

// --- JVOpen --------------------------------------------------------------------------------

TEST_F(StandInOpenTest, ChecksItsArguments) {
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    EXPECT_EQ(Open(link, u"").result, -111);
    EXPECT_EQ(Open(link, u"YSC").result, -111);
    EXPECT_EQ(Open(link, u"XXXX").result, -111);
    EXPECT_EQ(Open(link, u"YSCHXXXX").result, -111);
    EXPECT_EQ(Open(link, u"ysch").result, -111);
    EXPECT_EQ(Open(link, u"YSCH", u"2025").result, -112);
    EXPECT_EQ(Open(link, u"YSCH", u"2025010100000a").result, -112);
    EXPECT_EQ(Open(link, u"YSCH", u"202501010000000").result, -112);
    EXPECT_EQ(Open(link, u"YSCH", u"20250101000000", 0).result, -115);
    EXPECT_EQ(Open(link, u"YSCH", u"20250101000000", 5).result, -115);
    const Opened failed = Open(link, u"YSCH", u"2025");
    EXPECT_EQ(failed.read_count, 0);
    EXPECT_EQ(failed.download_count, 0);
    EXPECT_EQ(failed.timestamp, u"");

    EXPECT_EQ(Open(link, u"YSCHTOKU", u"20250101000000", 4).result, 0);
    EXPECT_EQ(Open(link).result, -202);  // still open
    EXPECT_EQ(link.JVClose(), 0);
    EXPECT_EQ(Open(link, u"YSCH", u"20250101000000", 1).result, 0);
}

TEST_F(StandInOpenTest, MissingServiceFolderIsUnavailable) {
    UseSettings(root_ / "nowhere", 0);
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    EXPECT_EQ(Open(link).result, -504);
    EXPECT_EQ(Open(link).result, -504);  // no request was left open
}

TEST_F(StandInOpenTest, SelectsTheNewerFilesOfTheDataspecOldestFirst) {
    AddServiceFile("YSCH20250101000000.jvd", "YS old\r\n");
    AddServiceFile("YSCH20260105093000.jvd", "YS newest\r\n");
    AddServiceFile("YSCH20251201000000.jvd", "YS middle\r\n");
    AddServiceFile("TOKU20260201000000.jvd", "TK other dataspec\r\n");
    AddServiceFile("YSCH2026.jvd", "YS bad name\r\n");
    AddServiceFile("notes.txt", "not data\r\n");
    std::filesystem::create_directory(service_ / "YSCH20260301000000.jvd");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);

    const Opened opened = Open(link, u"YSCH", u"20250101000000");
    EXPECT_EQ(opened.result, 0);
    EXPECT_EQ(opened.read_count, 2);
    EXPECT_EQ(opened.download_count, 2);
    EXPECT_EQ(opened.timestamp, u"20260105093000");
    ASSERT_EQ(WaitForDownload(link, 2), 2);

    std::u16string buffer;
    std::u16string name;
    int size = 60000;
    EXPECT_EQ(link.JVRead(buffer, size, name), 11);
    EXPECT_EQ(buffer, u"YS middle\r\n");
    EXPECT_EQ(name, u"YSCH20251201000000.jvd");
    EXPECT_EQ(ReadAll(link), (std::vector<std::string>{"-1", "YS newest\r\n", "-1", "0"}));
    EXPECT_EQ(ReadAll(link), (std::vector<std::string>{"0"}));
}

TEST_F(StandInOpenTest, JoinedDataspecsDeliverEveryKind) {
    AddServiceFile("YSCH20260105093000.jvd", "YS a\r\n");
    AddServiceFile("TOKU20260101000000.jvd", "TK b\r\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    const Opened opened = Open(link, u"TOKUYSCH");
    EXPECT_EQ(opened.read_count, 2);
    ASSERT_EQ(WaitForDownload(link, 2), 2);
    EXPECT_EQ(ReadAll(link), (std::vector<std::string>{"TK b\r\n", "-1", "YS a\r\n", "-1", "0"}));
}

TEST_F(StandInOpenTest, NothingNewGivesZeroCountsAndNoTimestamp) {
    AddServiceFile("YSCH20250101000000.jvd", "YS old\r\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    const Opened opened = Open(link, u"YSCH", u"20250101000000");
    EXPECT_EQ(opened.result, 0);
    EXPECT_EQ(opened.read_count, 0);
    EXPECT_EQ(opened.download_count, 0);
    EXPECT_EQ(opened.timestamp, u"");
    EXPECT_EQ(link.JVStatus(), 0);
    EXPECT_EQ(ReadAll(link), (std::vector<std::string>{"0"}));
    EXPECT_EQ(link.JVClose(), 0);
}

TEST_F(StandInOpenTest, DownloadedFilesAreServedFromTheCache) {
    AddServiceFile("YSCH20251201000000.jvd", "YS one\r\n");
    AddServiceFile("YSCH20260105093000.jvd", "YS two\r\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    ASSERT_EQ(Open(link).download_count, 2);
    ASSERT_EQ(WaitForDownload(link, 2), 2);
    ReadAll(link);
    link.JVClose();

    Opened again = Open(link);
    EXPECT_EQ(again.read_count, 2);
    EXPECT_EQ(again.download_count, 0);
    EXPECT_EQ(ReadAll(link),
              (std::vector<std::string>{"YS one\r\n", "-1", "YS two\r\n", "-1", "0"}));
    link.JVClose();

    // A service file that changed size is stale in the cache.
    AddServiceFile("YSCH20260105093000.jvd", "YS two, corrected\r\n");
    again = Open(link);
    EXPECT_EQ(again.download_count, 1);
    ASSERT_EQ(WaitForDownload(link, 1), 1);
    EXPECT_EQ(ReadAll(link).at(2), "YS two, corrected\r\n");
    link.JVClose();

    // A cached file that vanishes before it is read.
    ASSERT_EQ(Open(link).download_count, 0);
    std::filesystem::remove(ServiceCacheFolder(root_ / "cache", service_) /
                            "YSCH20251201000000.jvd");
    EXPECT_EQ(ReadAll(link), (std::vector<std::string>{"-503"}));
}

TEST_F(StandInOpenTest, TwoServicesNeverShareCachedFiles) {
    AddServiceFile("YSCH20260105093000.jvd", "YS first service\r\n");
    const std::filesystem::path other = root_ / "other";
    WriteBytes(other / "YSCH20260105093000.jvd", "YS second service!\r\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    ASSERT_EQ(Open(link).download_count, 1);
    ASSERT_EQ(WaitForDownload(link, 1), 1);
    link.JVClose();

    UseSettings(other, 0);
    ASSERT_EQ(Open(link).download_count, 1);
    ASSERT_EQ(WaitForDownload(link, 1), 1);
    EXPECT_EQ(ReadAll(link).front(), "YS second service!\r\n");
}

TEST_F(StandInOpenTest, DownloadRunsOnItsOwnAndCloseStopsIt) {
    UseSettings(service_, 60000);  // a minute per file
    AddServiceFile("YSCH20260105093000.jvd", "YS a\r\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    ASSERT_EQ(Open(link).download_count, 1);
    EXPECT_EQ(link.JVStatus(), 0);
    EXPECT_EQ(ReadAll(link).front(), "-3");  // not downloaded yet: call again

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.JVClose(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(link.JVStatus(), -203);
}

TEST_F(StandInOpenTest, CopyThatFailsIsADownloadError) {
    WriteBytes(root_ / "cache", "a file where the cache folder should be");
    AddServiceFile("YSCH20260105093000.jvd", "YS a\r\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    ASSERT_EQ(Open(link).download_count, 1);
    EXPECT_EQ(WaitForDownload(link, 1), -502);
    EXPECT_EQ(ReadAll(link), (std::vector<std::string>{"-502"}));
    EXPECT_EQ(link.JVClose(), 0);
}

// --- JVRead --------------------------------------------------------------------------------

TEST_F(StandInReadTest, DeliversEachRecordAsUtf16EndingInCrLf) {
    const std::string kanji = Utf8ToSjis("YS東京ｽｹｼﾞｭｰﾙ");  // 2 + 4 + 7 bytes
    AddServiceFile("YSCH20260105093000.jvd", kanji + "\r\nYS lf only\n\r\n\nYS no line end");
    AddServiceFile("YSCH20260106093000.jvd", "");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    ASSERT_EQ(WaitForDownload(link, Open(link).download_count), 2);

    std::u16string buffer;
    std::u16string name;
    int size = 60000;
    EXPECT_EQ(link.JVRead(buffer, size, name), 15);  // bytes of Shift-JIS with CR LF
    EXPECT_EQ(buffer, u"YS東京ｽｹｼﾞｭｰﾙ\r\n");
    EXPECT_EQ(size, 60000);
    EXPECT_EQ(ReadAll(link),
              (std::vector<std::string>{"YS lf only\r\n", "YS no line end\r\n", "-1", "-1", "0"}));
}

TEST_F(StandInReadTest, InvalidShiftJisIsBadContentAtThatRecord) {
    AddServiceFile("YSCH20260105093000.jvd", "YS good\r\nYS \x81\r\nYS after\r\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    ASSERT_EQ(WaitForDownload(link, Open(link).download_count), 1);
    EXPECT_EQ(ReadAll(link), (std::vector<std::string>{"YS good\r\n", "-403"}));
    EXPECT_EQ(ReadAll(link), (std::vector<std::string>{"-403"}));  // it stays there
}

TEST_F(StandInReadTest, RecordLongerThanTheBufferIsBadContent) {
    const std::string record(380, 'Y');
    AddServiceFile("YSCH20260105093000.jvd", record + "\r\n" + record + "\r\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    ASSERT_EQ(WaitForDownload(link, Open(link).download_count), 1);
    std::u16string buffer;
    std::u16string name;
    int size = 382;  // exactly fits
    EXPECT_EQ(link.JVRead(buffer, size, name), 382);
    size = 381;
    EXPECT_EQ(link.JVRead(buffer, size, name), -403);
    EXPECT_EQ(link.JVRead(buffer, size, name), -403);
    size = 382;
    EXPECT_EQ(link.JVRead(buffer, size, name), 382);
}

TEST_F(StandInReadTest, ReadAndStatusNeedAnOpenRequest) {
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    EXPECT_EQ(link.JVStatus(), -203);
    EXPECT_EQ(ReadAll(link), (std::vector<std::string>{"-203"}));
    EXPECT_EQ(link.JVClose(), 0);
}

// --- faults.ini ------------------------------------------------------------------------------

TEST_F(StandInFaultTest, InitFault) {
    AddFaults("[JVInit]\nresult=-101\n");
    StandInJVLink link(Paths());
    EXPECT_EQ(Init(link), -101);
    EXPECT_EQ(Open(link).result, -201);
}

TEST_F(StandInFaultTest, OpenFault) {
    AddServiceFile("YSCH20260105093000.jvd", "YS a\r\n");
    AddFaults("; the server is down\n[JVOpen]\nresult = -504\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    const Opened opened = Open(link);
    EXPECT_EQ(opened.result, -504);
    EXPECT_EQ(opened.read_count, 0);
    EXPECT_EQ(Open(link).result, -504);  // and not -202: nothing was opened
}

TEST_F(StandInFaultTest, StatusFaultAfterTwoFiles) {
    AddServiceFile("YSCH20260101000000.jvd", "YS a\r\n");
    AddServiceFile("YSCH20260102000000.jvd", "YS b\r\n");
    AddServiceFile("YSCH20260103000000.jvd", "YS c\r\n");
    AddFaults("[JVStatus]\nafter=2\nresult=-502\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    ASSERT_EQ(Open(link).download_count, 3);
    int status = 0;
    for (int attempt = 0; attempt < 10000 && status >= 0; ++attempt) {
        status = link.JVStatus();
        EXPECT_LT(status, 2);  // never reports two or more files
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(status, -502);
}

TEST_F(StandInFaultTest, ReadFaultAfterThreeRecords) {
    AddServiceFile("YSCH20260101000000.jvd", "YS 1\r\nYS 2\r\n");
    AddServiceFile("YSCH20260102000000.jvd", "YS 3\r\nYS 4\r\n");
    AddFaults("[JVRead]\nafter=3\nresult=-403\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    ASSERT_EQ(WaitForDownload(link, Open(link).download_count), 2);
    EXPECT_EQ(ReadAll(link),
              (std::vector<std::string>{"YS 1\r\n", "YS 2\r\n", "-1", "YS 3\r\n", "-403"}));
}

TEST_F(StandInFaultTest, CloseFaultStillEndsTheRequest) {
    AddFaults("[JVClose]\nresult=-1\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    ASSERT_EQ(Open(link).result, 0);
    EXPECT_EQ(link.JVClose(), -1);
    EXPECT_EQ(Open(link).result, 0);  // not -202
}

TEST_F(StandInFaultTest, SettingsDialogFaultAndDialog) {
    int dialogs = 0;
    std::filesystem::path dialog_file;
    StandInJVLink link(Paths(), [&](const std::filesystem::path& file) {
        ++dialogs;
        dialog_file = file;
        return 0;
    });
    EXPECT_EQ(link.JVSetUIProperties(), 0);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(dialog_file, Paths().settings_file);

    AddFaults("[JVSetUIProperties]\nresult=-100\n");
    EXPECT_EQ(link.JVSetUIProperties(), -100);
    EXPECT_EQ(dialogs, 1);

    StandInJVLink without_dialog(Paths());
    std::filesystem::remove(service_ / "faults.ini");
    EXPECT_EQ(without_dialog.JVSetUIProperties(), 0);
}

TEST_F(StandInFaultTest, DownloadTimeFromFaultsOverridesTheSettings) {
    UseSettings(service_, 60000);
    AddFaults("[download]\nms_per_file=0\n");
    AddServiceFile("YSCH20260101000000.jvd", "YS a\r\n");
    StandInJVLink link(Paths());
    ASSERT_EQ(Init(link), 0);
    ASSERT_EQ(Open(link).download_count, 1);
    EXPECT_EQ(WaitForDownload(link, 1), 1);
}

}  // namespace
}  // namespace koyomi::testing
