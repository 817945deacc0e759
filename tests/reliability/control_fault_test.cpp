// Every fault the stand-in control can be told to produce (its faults.ini), at every stage of
// a fetch, through the real session: the box shown is the operation's prefix and its result
// text, the request is closed exactly once, "LastTime" changes only after a complete read, and
// every line stored before, and every record read before the fault, is in the year files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "codes/jv_result_text.h"
#include "session_rig.h"

namespace koyomi::reliability {
namespace {

constexpr std::string_view kEarlierLastTime = "2020/01/01 00:00:00";
constexpr std::string_view kNewestLastTime = "2026/12/05 15:00:00";

// Result codes of each operation, from its message table, plus codes no table lists.
const std::vector<int> kOpenCodes = {-1,   -2,   -111, -112, -113, -114, -115, -116,
                                     -117, -201, -202, -401, -411, -412, -413, -421,
                                     -431, -501, -504, -3,   -999, 5};
const std::vector<int> kStatusCodes = {-502, -203, -201, -1, -999};
const std::vector<int> kReadCodes = {-201, -203, -402, -403, -502, -503, -4, -999};
const std::vector<int> kCloseCodes = {-1, -201, -999, 2};
const std::vector<int> kInitCodes = {-101, -102, -103, -1, 7};
const std::vector<int> kSetUiCodes = {-100, -101, -1, 3};

std::string ResultText(const char* operation, int code) {
    return SjisToUtf8(JVResultText(operation, code));
}

// The year files an earlier fetch left: a year the service never sends, a line the service
// will replace, and a line it never sends.
YearTexts EarlierYearFiles(const std::vector<std::string>& records) {
    std::string first;
    for (const std::string& record : records) {
        if (const auto line = model::ScheduleLineOf(record);
            line && line->substr(11, 4) == "2025") {
            first = *line;
            break;
        }
    }
    std::vector<std::string> lines_2025;
    std::string renamed = first;
    renamed.replace(30, 8, Utf8ToSjis("旧レース"));
    model::MergeLine(lines_2025, renamed);
    std::string unsent = first;
    unsent.replace(11, 10, "2025010199");  // 1 January, a venue the service never names
    model::MergeLine(lines_2025, unsent);

    std::vector<std::string> lines_2024;
    for (const char* date : {"20241228", "20241229"}) {
        std::string line = first;
        line.replace(11, 8, date);
        model::MergeLine(lines_2024, line);
    }
    return {{"2024", model::YearFileText(lines_2024)}, {"2025", model::YearFileText(lines_2025)}};
}

// A rig whose program folder already holds an earlier fetch's files and "LastTime".
class FaultRun {
  public:
    explicit FaultRun(std::string_view faults)
        : rig(faults),
          records(DeliveredRecords(rig.service)),
          before(EarlierYearFiles(records)),
          model(before, records) {
        for (const auto& [year, text] : before) {
            WriteBytes(rig.program / YearFileName(year), text);
        }
        EXPECT_TRUE(rig.settings.WriteString("JvDataGet", "LastTime", kEarlierLastTime));
        EXPECT_TRUE(rig.settings.WriteInteger("kikan", "kikan", 1));
    }

    SessionRig rig;
    std::vector<std::string> records;
    YearTexts before;
    FetchModel model;

    // The year files hold the earlier lines merged with exactly the first `delivered` records.
    void ExpectStored(size_t delivered) const {
        EXPECT_TRUE(YearFilesIn(rig.program) == model.TextsAfter(delivered))
            << "not the files of " << delivered << " records";
        EXPECT_TRUE(LeftOvers(rig.program).empty());
        EXPECT_EQ(rig.settings.ReadInteger("kikan", "kikan", 0), 1);
    }
};

class ControlFaultTest : public ::testing::Test {
  protected:
    static inline int faults_injected = 0;  // reported when the suite ends

    static void TearDownTestSuite() {
        std::printf("control faults injected: %d\n", faults_injected);
    }
};

TEST_F(ControlFaultTest, JVInitFailureIsShownPlainAndTheFetchThenFailsToOpen) {
    for (int code : kInitCodes) {
        SCOPED_TRACE(code);
        ++faults_injected;
        FaultRun run("[JVInit]\nresult=" + std::to_string(code));
        EXPECT_EQ(run.rig.session.InitControl("Ver.1.02"), code);
        run.rig.Fetch();
        const std::vector<std::string> expected = {
            "plain JVInitエラーが発生しました。：" + ResultText("JVInit", code), OpeningBox(),
            "JVOpenエラー:" + ResultText("JVOpen", -201)};
        EXPECT_EQ(run.rig.view.Boxes(), expected);
        EXPECT_EQ(run.rig.link.close_calls, 1);
        EXPECT_EQ(run.rig.LastTime(), kEarlierLastTime);
        run.ExpectStored(0);
    }
}

TEST_F(ControlFaultTest, JVSetUIPropertiesFailureTouchesNoSession) {
    for (int code : kSetUiCodes) {
        SCOPED_TRACE(code);
        ++faults_injected;
        FaultRun run("[JVSetUIProperties]\nresult=" + std::to_string(code));
        ASSERT_EQ(run.rig.session.InitControl("Ver.1.02"), 0);
        run.rig.session.OpenControlSettings();
        EXPECT_EQ(run.rig.view.Boxes(),
                  std::vector<std::string>{"JVSetUIPropertiesエラー：" +
                                           ResultText("JVSetUIProperties", code)});
        EXPECT_EQ(run.rig.view.Count("beep"), 1);
        EXPECT_FALSE(run.rig.session.IsOpen());
        EXPECT_EQ(run.rig.link.open_calls + run.rig.link.close_calls, 0);

        // The dialog's failure leaves fetching as it was.
        run.rig.Fetch();
        EXPECT_EQ(run.rig.link.close_calls, 1);
        EXPECT_EQ(run.rig.LastTime(), kNewestLastTime);
        run.ExpectStored(run.records.size());
    }
}

TEST_F(ControlFaultTest, JVOpenFailureStoresNothingAndClosesOnce) {
    for (int code : kOpenCodes) {
        SCOPED_TRACE(code);
        ++faults_injected;
        FaultRun run("[JVOpen]\nresult=" + std::to_string(code));
        ASSERT_EQ(run.rig.session.InitControl("Ver.1.02"), 0);
        run.rig.Fetch();
        EXPECT_EQ(
            run.rig.view.Boxes(),
            (std::vector<std::string>{OpeningBox(), "JVOpenエラー:" + ResultText("JVOpen", code)}));
        EXPECT_EQ(run.rig.view.Count("beep"), 2);  // the error's and the close's
        EXPECT_EQ(run.rig.link.close_calls, 1);
        EXPECT_EQ(run.rig.link.read_calls, 0);
        EXPECT_EQ(run.rig.LastTime(), kEarlierLastTime);
        run.ExpectStored(0);
    }
}

TEST_F(ControlFaultTest, JVStatusFailureWhileDownloadingReadsNothing) {
    for (int after : {0, 3, 6}) {
        for (int code : kStatusCodes) {
            SCOPED_TRACE(std::to_string(code) + " after " + std::to_string(after) + " files");
            ++faults_injected;
            FaultRun run("[JVStatus]\nafter=" + std::to_string(after) +
                         "\nresult=" + std::to_string(code));
            ASSERT_EQ(run.rig.session.InitControl("Ver.1.02"), 0);
            run.rig.Fetch();
            EXPECT_EQ(run.rig.view.Boxes(),
                      (std::vector<std::string>{OpeningBox(),
                                                "JVStatusエラー:" + ResultText("JVStatus", code)}));
            EXPECT_EQ(run.rig.link.close_calls, 1);
            EXPECT_EQ(run.rig.link.read_calls, 0);
            EXPECT_FALSE(run.rig.view.timer_enabled);
            EXPECT_EQ(run.rig.LastTime(), kEarlierLastTime);
            run.ExpectStored(0);
        }
    }
}

TEST_F(ControlFaultTest, JVReadFailureKeepsEveryRecordReadBefore) {
    const size_t all = FaultRun("").records.size();
    std::vector<std::pair<size_t, int>> cases;
    for (int code : kReadCodes) {
        cases.emplace_back(137, code);
    }
    for (size_t after : {size_t{0}, size_t{1}, all - 1, all}) {
        cases.emplace_back(after, -403);
    }
    for (const auto& [after, code] : cases) {
        SCOPED_TRACE(std::to_string(code) + " after " + std::to_string(after) + " records");
        ++faults_injected;
        FaultRun run("[JVRead]\nafter=" + std::to_string(after) +
                     "\nresult=" + std::to_string(code));
        ASSERT_EQ(run.rig.session.InitControl("Ver.1.02"), 0);
        run.rig.Fetch();
        EXPECT_EQ(
            run.rig.view.Boxes(),
            (std::vector<std::string>{OpeningBox(), "JVReadエラー:" + ResultText("JVRead", code)}));
        EXPECT_EQ(run.rig.link.close_calls, 1);
        EXPECT_EQ(run.rig.LastTime(), kEarlierLastTime);
        run.ExpectStored(after);
    }
}

TEST_F(ControlFaultTest, JVCloseFailureComesAfterACompleteRead) {
    for (int code : kCloseCodes) {
        SCOPED_TRACE(code);
        ++faults_injected;
        FaultRun run("[JVClose]\nresult=" + std::to_string(code));
        ASSERT_EQ(run.rig.session.InitControl("Ver.1.02"), 0);
        run.rig.Fetch();
        EXPECT_EQ(run.rig.view.Boxes(),
                  (std::vector<std::string>{OpeningBox(),
                                            "JVCloseエラー:" + ResultText("JVClose", code)}));
        EXPECT_EQ(run.rig.view.Status(), "データ作成が完了しました。");
        EXPECT_EQ(run.rig.link.close_calls, 1);
        EXPECT_EQ(run.rig.LastTime(), kNewestLastTime);
        run.ExpectStored(run.records.size());
    }
}

TEST_F(ControlFaultTest, ReadAndCloseFailingTogetherShowBothInTurn) {
    faults_injected += 2;
    FaultRun run("[JVRead]\nafter=500\nresult=-502\n[JVClose]\nresult=-1\n");
    ASSERT_EQ(run.rig.session.InitControl("Ver.1.02"), 0);
    run.rig.Fetch();
    const std::vector<std::string> expected = {
        OpeningBox(), "JVReadエラー:ダウンロードに失敗しました。(通信エラーやディスクエラー)(-502)",
        "JVCloseエラー:(-1)"};
    EXPECT_EQ(run.rig.view.Boxes(), expected);
    EXPECT_EQ(run.rig.link.close_calls, 1);
    EXPECT_EQ(run.rig.LastTime(), kEarlierLastTime);
    run.ExpectStored(500);

    // The next fetch, without the read fault, completes what the first one began.
    WriteBytes(run.rig.service / "faults.ini", "[download]\nms_per_file=0\n");
    run.rig.view.events.clear();
    run.rig.Fetch();
    EXPECT_EQ(run.rig.view.Boxes(), std::vector<std::string>{OpeningBox()});
    EXPECT_EQ(run.rig.link.close_calls, 2);
    EXPECT_EQ(run.rig.LastTime(), kNewestLastTime);
    run.ExpectStored(run.records.size());
}

}  // namespace
}  // namespace koyomi::reliability
