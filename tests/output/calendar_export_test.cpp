// The calendar export: what each event says, the file's form as RFC 5545 asks (CR LF, folding
// at 75 octets between whole characters, escaping), and a failed write that leaves nothing.
#include "output/calendar_export.h"

#include <gtest/gtest.h>

#include <tuple>

#include "codes/code_tables.h"
#include "support/sjis_text.h"
#include "support/user_folders.h"
#include "support/whole_file.h"
#include "testing/files.h"
#include "testing/temp_folder.h"
#include "testing/time_zone.h"
#include "testing/ys_record.h"

namespace koyomi {
namespace {

using testing::YsRecord;

std::string StoredLine(YsRecord record) {
    std::string line = record.Line();
    line.replace(2, 9, "000000000");
    return line;
}

YsRecord Derby() {
    YsRecord record;
    record.month = "05";
    record.day = "26";
    record.venue = "05";
    record.meeting = "02";
    record.day_number = "12";
    record.weekday = "7";
    record.race_number = " 123";
    record.race_name = Utf8ToSjis("　東京優駿（日本ダービー）");
    record.grade = "A";
    record.kind = "12";
    record.symbol = "000";
    record.weight = "4";
    record.distance = "2400";
    record.track = "11";
    return record;
}

// Every physical line ends in CR LF, holds at most 75 octets and is whole UTF-8 on its own.
void ExpectRfc5545Lines(const std::string& text) {
    ASSERT_TRUE(text.ends_with("\r\n"));
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = text.substr(start, end - start);
        EXPECT_LE(line.size(), 75u) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos) << "bare LF in " << line;
        EXPECT_EQ(Utf8ToUtf16(line).find(u'\uFFFD'), std::u16string::npos) << "split: " << line;
    }
    EXPECT_EQ(start, text.size());
}

// The logical lines: continuation lines joined back.
std::string Unfolded(const std::string& text) {
    std::string joined;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "\r\n ") == 0) {
            i += 2;
        } else {
            joined += text[i];
        }
    }
    return joined;
}

// Every stamp is made in Japan's time.
class CalendarExport : public ::testing::Test {
  private:
    testing::ScopedTimeZone japan_{"JST-9"};
};

TEST_F(CalendarExport, EventTextsComeFromTheRecordAndTheGrid) {
    YsRecord special = Derby();
    special.grade = "E";
    special.day = "25";
    special.day_number = "11";
    special.race_number = Utf8ToSjis("特別");  // a two-byte first character
    YsRecord bare = Derby();
    bare.day = "27";
    bare.venue = "99";  // no such venue: blank venue texts
    bare.grade = " ";
    bare.kind = "00";
    bare.weight = " ";
    bare.distance = "0000";
    bare.track = "00";
    bare.symbol = "   ";

    const CalendarEvents rows =
        MeetingEvents({StoredLine(special), StoredLine(Derby()), StoredLine(bare)});
    ASSERT_EQ(rows.events.size(), 3u);
    EXPECT_TRUE(rows.unreadable_rows.empty());

    const CalendarEvent& derby = rows.events[1];
    EXPECT_EQ(std::tie(derby.year, derby.month, derby.day), std::make_tuple(2024, 5, 26));
    EXPECT_EQ(derby.summary, "東京 2回12日 東京優駿（日本ダービー）(G1)");
    EXPECT_EQ(derby.location, SjisToUtf8(VenueText("05", 9)).substr(0, derby.location.size()));
    EXPECT_FALSE(derby.location.ends_with(" "));
    EXPECT_EQ(derby.category, "G1");
    EXPECT_EQ(derby.uid, "202405260502127%20@koyomivw");
    EXPECT_EQ(derby.description.find("種別: サラ３歳\n"), 0u) << derby.description;
    EXPECT_NE(derby.description.find("重量: 定量\n距離: 2400\nﾄﾗｯｸ: "), std::string::npos)
        << derby.description;

    EXPECT_EQ(rows.events[0].summary, "東京 2回11日");  // E is not a graded race
    EXPECT_TRUE(rows.events[0].category.empty());
    EXPECT_EQ(rows.events[0].uid, "202405250502117%93@koyomivw");

    EXPECT_EQ(rows.events[2].summary.find("2回12日"), 0u);  // no venue text to show
    EXPECT_TRUE(rows.events[2].location.empty());
    EXPECT_TRUE(rows.events[2].description.empty()) << rows.events[2].description;
}

TEST_F(CalendarExport, BadDatesAreLeftOutAndRepeatedKeysStayTwoEvents) {
    YsRecord no_day = Derby();
    no_day.day = "31";
    no_day.month = "02";
    const CalendarEvents rows = MeetingEvents(
        {StoredLine(Derby()), StoredLine(no_day), "YS000000000", StoredLine(Derby())});
    EXPECT_EQ(rows.unreadable_rows, (std::vector<int>{2, 3}));
    ASSERT_EQ(rows.events.size(), 2u);
    EXPECT_EQ(rows.events[0].uid, "202405260502127%20@koyomivw");
    EXPECT_EQ(rows.events[1].uid, "202405260502127%20-2@koyomivw");
}

TEST_F(CalendarExport, FileIsFoldedEscapedUtcStampedAndDated) {
    CalendarEvent event;
    std::tie(event.year, event.month, event.day) = std::make_tuple(2024, 12, 31);
    event.uid = "x@koyomivw";
    event.summary = "中山 5回8日 ";
    for (int i = 0; i < 12; ++i) {
        event.summary += "有馬記念,グランプリ;";  // long, with commas and semicolons
    }
    event.description = "a\\b\nc";
    event.category = "G1";
    const Result<std::string> text = CalendarText(Utf8ToSjis("2024年 スケジュール【ALL】 ＜重賞＞"),
                                                  {event}, {2024, 6, 1, 8, 30, 5});
    ASSERT_TRUE(text) << text.Reason();
    ExpectRfc5545Lines(*text);

    const std::string logical = Unfolded(*text);
    EXPECT_NE(logical.find("\r\nDTSTART;VALUE=DATE:20241231\r\n"), std::string::npos);
    EXPECT_NE(logical.find("\r\nDTEND;VALUE=DATE:20250101\r\n"), std::string::npos);
    EXPECT_NE(logical.find("\r\nDTSTAMP:20240531T233005Z\r\n"), std::string::npos);
    EXPECT_NE(logical.find("有馬記念\\,グランプリ\\;有馬記念"), std::string::npos);
    EXPECT_NE(logical.find("\r\nDESCRIPTION:a\\\\b\\nc\r\n"), std::string::npos);
    EXPECT_NE(logical.find("\r\nCATEGORIES:G1\r\n"), std::string::npos);
    EXPECT_NE(logical.find("\r\nUID:x@koyomivw\r\n"), std::string::npos);
    EXPECT_NE(logical.find("\r\nX-WR-CALNAME:2024年 スケジュール【ALL】 ＜重賞＞\r\n"),
              std::string::npos);
    EXPECT_NE(logical.find("\r\nPRODID:-//koyomivw//"), std::string::npos);
    EXPECT_EQ(logical.find("LOCATION"), std::string::npos);  // empty texts are left out
}

TEST_F(CalendarExport, EmptyListIsACalendarWithoutEvents) {
    const Result<std::string> text = CalendarText("", {}, {2024, 6, 1, 8, 30, 5});
    ASSERT_TRUE(text) << text.Reason();
    ExpectRfc5545Lines(*text);
    EXPECT_TRUE(text->starts_with("BEGIN:VCALENDAR\r\n"));
    EXPECT_TRUE(text->ends_with("END:VCALENDAR\r\n"));
    EXPECT_EQ(text->find("VEVENT"), std::string::npos);
}

TEST_F(CalendarExport, SavesWholeOrReportsTheFileAndReasonAndLeavesNothing) {
    testing::TempFolder folder;
    const FixedClock clock({2024, 6, 1, 8, 30, 5});
    const std::vector<std::string> lines = {StoredLine(Derby())};

    const std::filesystem::path file = folder.path() / "2024.ics";
    const Result<SavedCalendar> saved = SaveCalendar(file, "t", lines, clock);
    ASSERT_TRUE(saved) << saved.Reason();
    EXPECT_EQ(saved->events, 1);
    EXPECT_NE(testing::ReadBytes(file).find("SUMMARY:"), std::string::npos);

    const std::filesystem::path missing = folder.path() / "missing" / "2024.ics";
    const Result<SavedCalendar> no_folder = SaveCalendar(missing, "t", lines, clock);
    ASSERT_FALSE(no_folder);
    EXPECT_EQ(no_folder.File(), missing);
    const std::string shown = Describe(no_folder.Error());
    EXPECT_TRUE(shown.starts_with(PathText(missing) + ": ")) << shown;
    EXPECT_GT(shown.size(), PathText(missing).size() + 2);

    const std::filesystem::path taken = folder.path() / "taken.ics";
    std::filesystem::create_directory(taken);
    const Result<SavedCalendar> is_folder = SaveCalendar(taken, "t", lines, clock);
    ASSERT_FALSE(is_folder);
    EXPECT_EQ(is_folder.File(), taken);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 2);  // 2024.ics and the folder: no temporary file left behind
}

// A calendar kept in a synced folder through a link: saving again updates the file there.
TEST_F(CalendarExport, SavingThroughALinkUpdatesTheLinkedFile) {
    testing::TempFolder folder;
    const FixedClock clock({2024, 6, 1, 8, 30, 5});
    const std::filesystem::path real = folder.path() / "synced" / "2024.ics";
    const std::filesystem::path link = folder.path() / "2024.ics";
    testing::WriteBytes(real, "");
    // Windows makes links only for users granted the right to (and Wine none at all).
    std::error_code no_link;
    std::filesystem::create_symlink(real, link, no_link);
    if (no_link) {
        GTEST_SKIP() << "no symbolic link here: " << no_link.message();
    }
    YsRecord later = Derby();
    later.day = "02";

    ASSERT_TRUE(SaveCalendar(link, "t", {StoredLine(Derby())}, clock));
    ASSERT_TRUE(SaveCalendar(link, "t", {StoredLine(Derby()), StoredLine(later)}, clock));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    const std::string saved = testing::ReadBytes(real);
    EXPECT_NE(saved.find("BEGIN:VEVENT"), saved.rfind("BEGIN:VEVENT"));
}

TEST(CalendarFolder, LastUsedThenDocumentsThenHome) {
    testing::TempFolder root;
    const std::filesystem::path last = root.path() / "last";
    const std::filesystem::path documents = root.path() / "Documents";
    const std::filesystem::path home = root.path();
    EXPECT_EQ(CalendarFolder(last, documents, home), home);
    std::filesystem::create_directory(documents);
    EXPECT_EQ(CalendarFolder(last, documents, home), documents);
    EXPECT_EQ(CalendarFolder("", documents, home), documents);
    testing::WriteBytes(last, "a file, not a folder");
    EXPECT_EQ(CalendarFolder(last, documents, home), documents);
    std::filesystem::remove(last);
    std::filesystem::create_directory(last);
    EXPECT_EQ(CalendarFolder(last, documents, home), last);
}

TEST(CalendarFileName, TitleWithSlashesBecomesOneName) {
    EXPECT_EQ(ProposedCalendarFileName(Utf8ToSjis("2024年 スケジュール【ALL】")),
              "2024年 スケジュール【ALL】.ics");
    EXPECT_EQ(ProposedCalendarFileName("a/b\\c"), "a_b_c.ics");
    EXPECT_EQ(ProposedCalendarFileName(""), "koyomivw.ics");
}

}  // namespace
}  // namespace koyomi
