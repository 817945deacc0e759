// When the session writes the records it has read: a year's first record at once, the rest
// when the control moves to its next file, when a record of another year comes, after 250 ms
// of reading, and when the session ends.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "acquisition/download_session.h"
#include "acquisition_test_support.h"
#include "support/clock.h"
#include "testing/recording_view.h"
#include "testing/scripted_jv_link.h"

namespace koyomi::testing {
namespace {

class DownloadSessionCheckpoints : public ::testing::Test {
  protected:
    TempFolder program_;
    SettingsFile settings_ = LoadedSettings(program_.path());
    FixedClock clock_{{2026, 12, 8, 21, 0, 0}};
    ScriptedJVLink link_;
    RecordingView view_{&settings_};
    DownloadSession session_{link_, view_, clock_, settings_, program_.path()};
    std::vector<size_t> lines_2026_;  // the 2026 file's lines at every event turn
    std::vector<size_t> lines_2027_;

    void Fetch(std::vector<ReadStep> steps) {
        link_.read_count = 2;
        link_.last_file_timestamp = u"20261205150000";
        link_.read_steps.assign(steps.begin(), steps.end());
        session_.StartFetch(view_.data_kind);
    }
    void NoteFilesAtEveryTurn() {
        view_.on_pending_events = [this] {
            lines_2026_.push_back(YearFileLines(program_.path(), "2026").size());
            lines_2027_.push_back(YearFileLines(program_.path(), "2027").size());
        };
    }
};

ReadStep Day(const char* date) {
    return Record(YsRecord::Day(date, "06", 1, 1, '1'));
}

TEST_F(DownloadSessionCheckpoints, NextFileAndAnotherYearWriteWhatWasRead) {
    NoteFilesAtEveryTurn();
    Fetch({Day("20260105"), Day("20260106"), Day("20260107"), Code(-1), Day("20260108"),
           Day("20270109"), Day("20270110"), Code(0)});
    // Turn n comes before read n: what reads 1 to n-1 left on disk.
    EXPECT_EQ(lines_2026_, (std::vector<size_t>{0, 1, 1, 1, 3, 3, 4, 4}));
    EXPECT_EQ(lines_2027_, (std::vector<size_t>{0, 0, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(YearFileLines(program_.path(), "2027").size(), 2u);
    EXPECT_EQ(view_.LastTime(), "2026/12/05 15:00:00");
}

TEST_F(DownloadSessionCheckpoints, A250MillisecondReadWritesWhatWasRead) {
    NoteFilesAtEveryTurn();
    link_.on_read = [this] {
        if (link_.read_calls == 3) {
            clock_.Advance(std::chrono::milliseconds(249));
        } else if (link_.read_calls == 4) {
            clock_.Advance(std::chrono::milliseconds(1));
        }
    };
    Fetch({Day("20260105"), Day("20260106"), Day("20260107"), Day("20260108"), Day("20260109"),
           Code(0)});
    EXPECT_EQ(lines_2026_, (std::vector<size_t>{0, 1, 1, 1, 4, 4}));
    EXPECT_EQ(YearFileLines(program_.path(), "2026").size(), 5u);
}

TEST_F(DownloadSessionCheckpoints, ClosingTheWindowWritesWhatWasRead) {
    view_.on_pending_events = [this] {
        if (link_.read_calls == 3) {
            session_.WindowClosing();
        }
    };
    Fetch({Day("20260105"), Day("20260106"), Day("20260107"), Day("20260108"), Code(0)});
    EXPECT_EQ(YearFileLines(program_.path(), "2026").size(), 3u);
    EXPECT_EQ(view_.LastTime(), "");
}

}  // namespace
}  // namespace koyomi::testing
