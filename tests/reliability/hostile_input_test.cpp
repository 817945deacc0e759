// Records and files made to hurt: a year of "../..", NUL bytes, records at and past the read
// buffer, a million short lines, bytes that are not Shift-JIS, settings files of binary junk
// or of 100 MB, and time stamps that are not times. Nothing is written outside the program
// folder, nothing stored is lost, and nothing crashes.
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "codes/jv_result_text.h"
#include "schedule/schedule_list.h"
#include "schedule/year_file_store.h"
#include "session_rig.h"
#include "support/profile_file.h"

namespace koyomi::reliability {
namespace {

constexpr char kServiceFile[] = "YSCH20261205150000.jvd";

// The first schedule record of the sample service (380 bytes, year 2025), a template.
std::string SampleRecord() {
    for (const std::string& record : DeliveredRecords(SampleService())) {
        if (record.starts_with("YS") && record.substr(11, 4) == "2025") {
            return record;
        }
    }
    ADD_FAILURE() << "no sample record";
    return {};
}

// The template moved to another day (`date` "mmdd"), so each record has its own key.
std::string RecordOn(std::string_view date) {
    std::string record = SampleRecord();
    record.replace(15, 4, date);
    return record;
}

std::string ServiceText(const std::vector<std::string>& records) {
    std::string text;
    for (const std::string& record : records) {
        text += record + "\r\n";
    }
    return text;
}

// Replaces the sample files of the rig's service by one file.
void UseServiceFile(SessionRig& rig, const std::string& content) {
    for (const auto& entry : fs::directory_iterator(rig.service)) {
        if (entry.path().extension() == ".jvd") {
            fs::remove(entry.path());
        }
    }
    WriteBytes(rig.service / kServiceFile, content);
}

std::string SkippedBox(int count) {
    return "スケジュールとして読めないレコードを読み飛ばしました。件数: " + std::to_string(count);
}

class HostileInputTest : public ::testing::Test {
  protected:
    static inline int hostile_inputs = 0;  // reported when the suite ends

    static void TearDownTestSuite() { std::printf("hostile inputs tried: %d\n", hostile_inputs); }
};

TEST_F(HostileInputTest, YearsThatAreNotYearsAreSkippedAndNothingIsWrittenElsewhere) {
    std::vector<std::string> hostile;
    for (const std::string& year : {std::string("../.."), std::string("/etc"), std::string("..\\."),
                                    std::string("20 5"), Utf8ToSjis("２０")}) {
        std::string record = SampleRecord();
        record.replace(11, year.size(), year);
        hostile.push_back(record);
    }
    hostile_inputs += static_cast<int>(hostile.size());
    SessionRig rig;
    std::vector<std::string> records = {RecordOn("0105")};
    records.insert(records.end(), hostile.begin(), hostile.end());
    records.push_back(RecordOn("0106"));
    UseServiceFile(rig, ServiceText(records));

    ASSERT_EQ(rig.session.InitControl("Ver.1.02"), 0);
    rig.Fetch();
    EXPECT_EQ(rig.view.Boxes(), (std::vector<std::string>{
                                    OpeningBox(), SkippedBox(static_cast<int>(hostile.size()))}));
    EXPECT_TRUE(YearFilesIn(rig.program) == FetchModel({}, records).TextsAfter(records.size()));
    EXPECT_EQ(FolderNames(rig.program),
              (std::vector<std::string>{YearFileName("2025").string(), "koyomivw.ini"}));
    EXPECT_EQ(FolderNames(rig.root.path()),
              (std::vector<std::string>{"cache", "program", "service"}));
    EXPECT_FALSE(fs::exists("/etc" + YearFileName("").string()));
    EXPECT_FALSE(fs::exists(rig.root.path().parent_path() / ("." + YearFileName("").string())));

    // Stored directly, they are refused the same way.
    YearFileStore store(rig.program);
    for (const std::string& record : hostile) {
        EXPECT_EQ(store.Add(record).status, StoreStatus::Rejected);
    }
    EXPECT_EQ(FolderNames(rig.program).size(), 2u);
}

TEST_F(HostileInputTest, NulBytesAreStoredAsTheyCameAndListed) {
    ++hostile_inputs;
    std::string with_nul = RecordOn("0105");
    with_nul.replace(30, 6, std::string("\0A\0\0B\0", 6));
    SessionRig rig;
    UseServiceFile(rig, ServiceText({with_nul, RecordOn("0106")}));
    ASSERT_EQ(rig.session.InitControl("Ver.1.02"), 0);
    rig.Fetch();
    EXPECT_EQ(rig.view.Boxes(), std::vector<std::string>{OpeningBox()});
    const auto loaded = LoadYearFile(rig.program / YearFileName("2025"));
    ASSERT_TRUE(loaded.Ok());
    ASSERT_EQ(loaded.Value().size(), 2u);
    EXPECT_EQ(loaded.Value()[0], *model::ScheduleLineOf(with_nul));

    ScheduleListModel list;
    ASSERT_TRUE(LoadYearAndBuildFullList(list, rig.program / YearFileName("2025"),
                                         Period::AllMonths, rig.clock)
                    .Ok());
    ASSERT_EQ(list.grid.RowCount(), 2);
    EXPECT_EQ(list.grid.Cell(GridColumn::RaceName, 0).substr(0, 6), std::string("\0A\0\0B\0", 6));
}

TEST_F(HostileInputTest, BytesThatAreNotShiftJisStopTheReadAtThatRecord) {
    ++hostile_inputs;
    std::string broken = RecordOn("0107");
    broken.replace(30, 4, "\x81\x20\xFF\x80");
    const std::vector<std::string> records = {RecordOn("0105"), RecordOn("0106"), broken,
                                              RecordOn("0108")};
    SessionRig rig;
    UseServiceFile(rig, ServiceText(records));
    ASSERT_EQ(rig.session.InitControl("Ver.1.02"), 0);
    rig.Fetch();
    EXPECT_EQ(rig.view.Boxes(),
              (std::vector<std::string>{
                  OpeningBox(), "JVReadエラー:" + SjisToUtf8(JVResultText("JVRead", -403))}));
    EXPECT_TRUE(YearFilesIn(rig.program) == FetchModel({}, records).TextsAfter(2));
    EXPECT_EQ(rig.LastTime(), "");
}

TEST_F(HostileInputTest, YearFileLinesThatAreNotShiftJisAreKeptByteForByte) {
    ++hostile_inputs;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(1, 400);
    std::string junk;
    for (int line = 0; line < 200; ++line) {
        for (int i = length(random); i > 0; --i) {
            char c = static_cast<char>(byte(random));
            junk += (c == '\r' || c == '\n') ? '\x80' : c;
        }
        junk += "\r\n";
    }
    SessionRig rig;
    WriteBytes(rig.program / YearFileName("2025"), junk);
    ScheduleListModel list;
    ASSERT_TRUE(LoadYearAndBuildFullList(list, rig.program / YearFileName("2025"),
                                         Period::AllMonths, rig.clock)
                    .Ok());
    EXPECT_EQ(list.grid.RowCount(), 200);

    ASSERT_EQ(rig.session.InitControl("Ver.1.02"), 0);
    rig.Fetch();
    const std::vector<std::string> records = DeliveredRecords(rig.service);
    EXPECT_TRUE(YearFilesIn(rig.program) ==
                FetchModel({{"2025", junk}}, records).TextsAfter(records.size()));
}

TEST_F(HostileInputTest, RecordsAtAndPastTheReadBuffer) {
    hostile_inputs += 2;
    std::string fits = RecordOn("0105");
    fits.resize(kJVReadBufferSize - 2, 'x');  // with its CR LF exactly the buffer
    SessionRig rig;
    UseServiceFile(rig, ServiceText({fits}));
    ASSERT_EQ(rig.session.InitControl("Ver.1.02"), 0);
    rig.Fetch();
    EXPECT_EQ(rig.view.Boxes(), std::vector<std::string>{OpeningBox()});
    const auto loaded = LoadYearFile(rig.program / YearFileName("2025"));
    ASSERT_TRUE(loaded.Ok());
    EXPECT_EQ(loaded.Value(), std::vector<std::string>{*model::ScheduleLineOf(fits)});

    std::string too_long = RecordOn("0106");
    too_long.resize(kJVReadBufferSize, 'y');
    const std::vector<std::string> records = {RecordOn("0107"), too_long, RecordOn("0108")};
    SessionRig second;
    UseServiceFile(second, ServiceText(records));
    ASSERT_EQ(second.session.InitControl("Ver.1.02"), 0);
    second.Fetch();
    EXPECT_EQ(second.view.Boxes(),
              (std::vector<std::string>{
                  OpeningBox(), "JVReadエラー:" + SjisToUtf8(JVResultText("JVRead", -403))}));
    EXPECT_TRUE(YearFilesIn(second.program) == FetchModel({}, records).TextsAfter(1));
}

TEST_F(HostileInputTest, AMillionShortLinesInAServiceFileAreSkipped) {
    ++hostile_inputs;
    constexpr int kLines = 1'000'000;
    std::string content;
    content.reserve(kLines * 8);
    for (int i = 0; i < kLines; ++i) {
        content += i % 2 == 0 ? "YS1\r\n" : "TK\r\n";
    }
    content += RecordOn("0105") + "\r\n";
    SessionRig rig;
    UseServiceFile(rig, content);
    ASSERT_EQ(rig.session.InitControl("Ver.1.02"), 0);
    rig.Fetch();
    EXPECT_EQ(rig.view.Boxes(), (std::vector<std::string>{OpeningBox(), SkippedBox(kLines / 2)}));
    EXPECT_TRUE(YearFilesIn(rig.program) == FetchModel({}, {RecordOn("0105")}).TextsAfter(1));
}

TEST_F(HostileInputTest, AMillionShortLinesInAYearFileLoadListAndKeepTheirPlace) {
    ++hostile_inputs;
    std::string junk;
    for (int i = 0; i < 1'000'000; ++i) {
        junk += "x" + std::to_string(i) + "\r\n";
    }
    TempFolder folder;
    const fs::path file = folder.path() / YearFileName("2025");
    WriteBytes(file, junk);
    ScheduleListModel list;
    const FixedClock clock({2025, 12, 1, 9, 0, 0});
    ASSERT_TRUE(LoadYearAndBuildFullList(list, file, Period::FromThisMonth, clock).Ok());
    EXPECT_EQ(list.schedule_lines.size(), 1'000'000u);
    EXPECT_EQ(list.grid.RowCount(), 0);  // none of them has a month to show

    YearFileStore store(folder.path());
    const std::string record = RecordOn("1228");
    ASSERT_EQ(store.Add(record).status, StoreStatus::Stored);
    std::vector<std::string> expected = model::SplitYearFileText(junk);
    model::MergeLine(expected, *model::ScheduleLineOf(record));
    EXPECT_TRUE(ReadBytes(file) == model::YearFileText(expected));
    ASSERT_TRUE(LoadYearAndBuildFullList(list, file, Period::FromThisMonth, clock).Ok());
    EXPECT_EQ(list.grid.RowCount(), 1);
}

// The lines of a settings text, line ends removed.
std::vector<std::string> SettingsLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

TEST_F(HostileInputTest, ASettingsFileOfBinaryJunkGivesDefaultsAndKeepsItsBytes) {
    ++hostile_inputs;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string junk(1 << 16, '\0');
    for (char& c : junk) {
        c = static_cast<char>(byte(random));
    }
    TempFolder folder;
    WriteBytes(folder / "koyomivw.ini", junk);
    SettingsFile settings(folder / "koyomivw");
    settings.Loaded();
    EXPECT_EQ(settings.ReadInteger("locate", "top", 10), 10);
    EXPECT_EQ(settings.ReadInteger("kikan", "kikan", 0), 0);
    EXPECT_EQ(settings.ReadString("JvDataGet", "LastTime", ""), "");

    ASSERT_TRUE(settings.WriteString("JvDataGet", "LastTime", "2026/12/05 15:00:00"));
    EXPECT_EQ(settings.ReadString("JvDataGet", "LastTime", ""), "2026/12/05 15:00:00");
    std::vector<std::string> lines = SettingsLines(ReadBytes(folder / "koyomivw.ini"));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), "LastTime=2026/12/05 15:00:00");
    EXPECT_EQ(lines[lines.size() - 2], "[JvDataGet]");
    lines.resize(lines.size() - 2);
    EXPECT_TRUE(lines == SettingsLines(junk));
}

TEST_F(HostileInputTest, ASettingsFileOf100MegabytesIsReadAndWritten) {
    ++hostile_inputs;
    TempFolder folder;
    const fs::path file = folder / "koyomivw.ini";
    {
        std::ofstream out(file, std::ios::binary);
        out << "[locate]\r\ntop=33\r\n";
        const std::string line = "; " + std::string(96, '=') + "\r\n";
        for (size_t written = 0; written < (size_t{100} << 20); written += line.size()) {
            out << line;
        }
        out << "[kikan]\r\nkikan=1\r\n";
    }
    const auto size_before = fs::file_size(file);
    ASSERT_GE(size_before, size_t{100} << 20);
    SettingsFile settings(folder / "koyomivw");
    settings.Loaded();
    EXPECT_EQ(settings.ReadInteger("locate", "top", 10), 33);
    EXPECT_EQ(settings.ReadInteger("kikan", "kikan", 0), 1);
    EXPECT_EQ(settings.ReadString("JvDataGet", "LastTime", ""), "");
    ASSERT_TRUE(settings.WriteString("JvDataGet", "LastTime", "2026/12/05 15:00:00"));
    EXPECT_EQ(settings.ReadString("JvDataGet", "LastTime", ""), "2026/12/05 15:00:00");
    EXPECT_EQ(settings.ReadInteger("kikan", "kikan", 0), 1);
    EXPECT_EQ(fs::file_size(file),
              size_before + std::string("[JvDataGet]\r\nLastTime=2026/12/05 15:00:00\r\n").size());
    EXPECT_TRUE(LeftOvers(folder.path()).empty());
}

TEST_F(HostileInputTest, TimeStampsThatAreNotTimesLeaveLastTimeAlone) {
    const std::vector<std::u16string> stamps = {
        u"",
        u"   ",
        u"00000000000000",
        u"2026120515000",
        u"202612051500000",
        u"2026120515000x",
        u"２０２６１２０５１５００００",
        std::u16string(u"2026120\0"
                       u"150000",
                       14),
        std::u16string(1, char16_t{0xD800}) + u"2026120515000"};
    for (const std::u16string& stamp : stamps) {
        SCOPED_TRACE(Utf16ToUtf8(stamp));
        ++hostile_inputs;
        TempFolder folder;
        SettingsFile settings(folder / "koyomivw");
        settings.Loaded();
        ASSERT_TRUE(settings.WriteString("JvDataGet", "LastTime", "2020/01/01 00:00:00"));
        // A control that opens with this newest-data time stamp and delivers one record.
        ScriptedJVLink link;
        link.read_count = 1;
        link.last_file_timestamp = stamp;
        link.read_steps = {testing::Record(RecordOn("0105"))};
        RecordingView view;
        const FixedClock clock({2026, 12, 20, 10, 0, 0});
        DownloadSession session(link, view, clock, settings, folder.path());
        session.StartFetch(view.data_kind);
        EXPECT_FALSE(session.IsOpen());
        EXPECT_EQ(view.Status(), "データ作成が完了しました。");
        EXPECT_EQ(settings.ReadString("JvDataGet", "LastTime", ""), "2020/01/01 00:00:00");
        EXPECT_EQ(YearFilesIn(folder.path()).size(), 1u);
    }
}

}  // namespace
}  // namespace koyomi::reliability
