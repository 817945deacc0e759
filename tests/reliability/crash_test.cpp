// A fetch and a settings write killed (SIGKILL) at random points. After every kill each year
// file is whole, sorted and without two lines of one key, and holds exactly the records of
// some prefix of the fetch; the settings file parses and keeps every other line; the next
// fetch completes with the same files as an uninterrupted one.
//
// KOYOMI_KILL_POINTS (default 40) kill points a test, within KOYOMI_KILL_SECONDS (default
// 240) seconds; KOYOMI_KILL_SEED repeats a run (the seed is printed).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <thread>

#include "reliability_support.h"
#include "settings_writes.h"
#include "support/profile_file.h"
#include "support/settings_file.h"
#include "support/whole_file.h"

namespace koyomi::reliability {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kNewestLastTime = "2026/12/05 15:00:00";  // the newest service file

struct KillBudget {
    long points = EnvironmentNumber("KOYOMI_KILL_POINTS", 40);
    std::chrono::seconds time{EnvironmentNumber("KOYOMI_KILL_SECONDS", 240)};
    unsigned seed = static_cast<unsigned>(
        EnvironmentNumber("KOYOMI_KILL_SEED", static_cast<long>(std::random_device{}() >> 1)));
};

// A settings file with more than the program's keys, so a write that lost a line shows.
std::string SettingsBefore() {
    return "; koyomivw\r\n[locate]\r\ntop=33\r\nleft=44\r\n\r\n[kikan]\r\nkikan=1\r\n\r\n" +
           Utf8ToSjis("[メモ]\r\n手入力=残すこと\r\n");
}

class FetchRun {
  public:
    FetchRun(const fs::path& root, const fs::path& service)
        : program_(root / "program"), output_(root / "output.txt") {
        fs::create_directories(program_);
        WriteBytes(program_ / "koyomivw.ini", SettingsBefore());
        child_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{DriverProgram(), "fetch", program_.string(), ControlFolder()},
            ControlEnvironment(root, service), output_);
    }

    const fs::path& Program() const { return program_; }
    ChildProcess& Child() { return *child_; }
    std::string LastTime() const {
        SettingsFile settings(program_ / "koyomivw");
        settings.Loaded();
        return settings.ReadString("JvDataGet", "LastTime", "");
    }
    // The settings file still holds every line the fetch did not write.
    bool KeptOtherSettings() const {
        const std::string text = ReadBytes(program_ / "koyomivw.ini");
        return FindProfileValue(text, "locate", "top") == "33" &&
               FindProfileValue(text, "kikan", "kikan") == "1" &&
               FindProfileValue(text, Utf8ToSjis("メモ"), Utf8ToSjis("手入力")) ==
                   Utf8ToSjis("残すこと");
    }

  private:
    fs::path program_;
    fs::path output_;
    std::unique_ptr<ChildProcess> child_;
};

TEST(FetchKilled, LeavesAStoredPrefixAndTheNextFetchCompletesTheSame) {
    TempFolder shared;
    const fs::path service = shared / "service";
    CopySampleService(service);
    const FetchModel model({}, DeliveredRecords(service));
    const YearTexts complete = model.TextsAfter(model.RecordCount());
    ASSERT_EQ(complete.size(), 3u);

    // The uninterrupted fetch, twice: the faster run times a whole fetch (the first one also
    // pays for a cold start).
    auto whole_run = Clock::duration::max();
    for (int run = 0; run < 2; ++run) {
        TempFolder reference_root;
        const Clock::time_point started = Clock::now();
        FetchRun reference(reference_root.path(), service);
        ASSERT_EQ(reference.Child().Wait(std::chrono::seconds(300)), 0)
            << reference.Child().Output();
        whole_run = std::min(whole_run, Clock::now() - started);
        ASSERT_TRUE(YearFilesIn(reference.Program()) == complete);
        EXPECT_EQ(reference.LastTime(), kNewestLastTime);
        EXPECT_TRUE(reference.KeptOtherSettings());
        EXPECT_TRUE(LeftOvers(reference.Program()).empty());
    }

    const KillBudget budget;
    std::printf("kill seed %u (KOYOMI_KILL_SEED), whole fetch %lld ms\n", budget.seed,
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(whole_run).count()));
    std::mt19937 random(budget.seed);
    std::uniform_int_distribution<long long> delay_us(
        0, std::chrono::duration_cast<std::chrono::microseconds>(whole_run).count());

    int kills = 0;
    int before_first_store = 0;
    int while_storing = 0;
    int after_last_store = 0;
    int ended_first = 0;
    size_t left_over_files = 0;
    const Clock::time_point deadline = Clock::now() + budget.time;
    // A run that ends before its kill is checked all the same but is not a kill point.
    for (long point = 0; kills < budget.points && Clock::now() < deadline; ++point) {
        TempFolder root;
        FetchRun run(root.path(), service);
        const long long delay = delay_us(random);
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        const bool killed = run.Child().Kill();
        kills += killed ? 1 : 0;
        ended_first += killed ? 0 : 1;
        SCOPED_TRACE("kill point " + std::to_string(point) + " after " + std::to_string(delay) +
                     " us");

        const YearTexts found = YearFilesIn(run.Program());
        for (const auto& [year, text] : found) {
            EXPECT_TRUE(model::IsWellFormedYearFile(text)) << year;
        }
        const std::vector<size_t> prefixes = model.MatchingPrefixes(found);
        ASSERT_FALSE(prefixes.empty()) << "the year files match no prefix of the records";
        const bool all_stored = found == complete;
        if (!killed) {
            EXPECT_TRUE(all_stored) << run.Child().Output();
        } else if (prefixes.front() == 0) {
            ++before_first_store;
        } else if (all_stored) {
            ++after_last_store;
        } else {
            ++while_storing;
        }
        const std::string last_time = run.LastTime();
        EXPECT_TRUE(last_time.empty() || (last_time == kNewestLastTime && all_stored))
            << "LastTime " << last_time << " after " << prefixes.front() << " records";
        EXPECT_TRUE(run.KeptOtherSettings());
        left_over_files += LeftOvers(run.Program()).size();

        // The next fetch, uninterrupted.
        ChildProcess again({DriverProgram(), "fetch", run.Program().string(), ControlFolder()},
                           ControlEnvironment(root.path(), service), root / "again.txt");
        ASSERT_EQ(again.Wait(std::chrono::seconds(300)), 0) << again.Output();
        EXPECT_TRUE(YearFilesIn(run.Program()) == complete);
        EXPECT_EQ(run.LastTime(), kNewestLastTime);
        EXPECT_TRUE(run.KeptOtherSettings());
        EXPECT_TRUE(LeftOvers(run.Program()).empty());  // removed when the fetch started
    }

    std::printf(
        "fetch kill points: %d killed (%d before the first record was stored, %d while "
        "storing, %d after the last), %d ended before the kill; %zu records a fetch; "
        "%zu temporary files left by kills\n",
        kills, before_first_store, while_storing, after_last_store, ended_first,
        model.RecordCount(), left_over_files);
    ::testing::Test::RecordProperty("kill_points", kills);
    ::testing::Test::RecordProperty("kills_while_storing", while_storing);
    EXPECT_GT(kills, 0);
    if (kills >= 20) {
        // Kills that land nowhere interesting would prove nothing.
        EXPECT_GE(while_storing, kills / 4);
    }
}

// The sample service with its records dealt out year by year in turn (same files, same number
// of records in each), so that nearly every record belongs to another year than the one before.
void InterleaveYears(const fs::path& service) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(service)) {
        if (entry.path().extension() == ".jvd") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<size_t> counts;
    std::map<std::string, std::vector<std::string>> by_year;
    for (const fs::path& file : files) {
        const std::string content = ReadBytes(file);
        size_t count = 0;
        for (size_t start = 0; start < content.size(); ++count) {
            const size_t end = std::min(content.find("\r\n", start), content.size());
            const std::string record = content.substr(start, end - start);
            by_year[record.starts_with("YS") ? record.substr(11, 4) : ""].push_back(record);
            start = end + 2;
        }
        counts.push_back(count);
    }
    std::vector<std::string> dealt;
    for (size_t round = 0; dealt.size() < std::accumulate(counts.begin(), counts.end(), size_t{0});
         ++round) {
        for (const auto& [year, records] : by_year) {
            if (round < records.size()) {
                dealt.push_back(records[round]);
            }
        }
    }
    size_t next = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        std::string content;
        for (size_t n = 0; n < counts[i]; ++n) {
            content += dealt[next++] + "\r\n";
        }
        WriteBytes(files[i], content);
    }
}

// As above, with every year switch a checkpoint: the files must still show one prefix.
TEST(FetchKilled, RecordsOfYearsInTurnLeaveAStoredPrefix) {
    TempFolder shared;
    const fs::path service = shared / "service";
    CopySampleService(service);
    InterleaveYears(service);
    const std::vector<std::string> records = DeliveredRecords(service);
    ASSERT_NE(records[1].substr(11, 4), records[2].substr(11, 4));
    const FetchModel model({}, records);
    const YearTexts complete = model.TextsAfter(model.RecordCount());

    auto whole_run = Clock::duration::max();
    for (int run = 0; run < 2; ++run) {
        TempFolder reference_root;
        const Clock::time_point started = Clock::now();
        FetchRun reference(reference_root.path(), service);
        ASSERT_EQ(reference.Child().Wait(std::chrono::seconds(300)), 0);
        whole_run = std::min(whole_run, Clock::now() - started);
        ASSERT_TRUE(YearFilesIn(reference.Program()) == complete);
    }
    const KillBudget budget;
    std::printf("kill seed %u (KOYOMI_KILL_SEED)\n", budget.seed);
    std::mt19937 random(budget.seed);
    std::uniform_int_distribution<long long> delay_us(
        0, std::chrono::duration_cast<std::chrono::microseconds>(whole_run).count());
    int kills = 0;
    int while_storing = 0;
    const Clock::time_point deadline = Clock::now() + budget.time;
    for (long point = 0; kills < budget.points && Clock::now() < deadline; ++point) {
        TempFolder root;
        FetchRun run(root.path(), service);
        std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
        const bool killed = run.Child().Kill();
        kills += killed ? 1 : 0;
        SCOPED_TRACE("kill point " + std::to_string(point));
        const YearTexts found = YearFilesIn(run.Program());
        const std::vector<size_t> prefixes = model.MatchingPrefixes(found);
        ASSERT_FALSE(prefixes.empty()) << "the year files match no prefix of the records";
        while_storing += killed && prefixes.front() > 0 && found != complete ? 1 : 0;
        EXPECT_TRUE(run.LastTime().empty() || found == complete);

        ChildProcess again({DriverProgram(), "fetch", run.Program().string(), ControlFolder()},
                           ControlEnvironment(root.path(), service), root / "again.txt");
        ASSERT_EQ(again.Wait(std::chrono::seconds(300)), 0) << again.Output();
        EXPECT_TRUE(YearFilesIn(run.Program()) == complete);
    }
    std::printf("interleaved fetch kill points: %d killed, %d while storing\n", kills,
                while_storing);
    EXPECT_GT(kills, 0);
    if (kills >= 20) {
        EXPECT_GE(while_storing, kills / 4);
    }
}

// Round r of the writer sets "top" to r and then "LastTime" to LastTimeOfRound(r); the file
// must always be the starting file with the values of one moment of that sequence.
std::string SettingsFileAt(const std::string& start, long top, long last_time_round) {
    return WithProfileValue(WithProfileValue(start, "locate", "top", std::to_string(top)),
                            "JvDataGet", "LastTime", LastTimeOfRound(last_time_round));
}

std::string LargeSettingsFile() {
    std::string text = "[locate]\r\ntop=0\r\nleft=10\r\nwidth=630\r\nheight=450\r\n\r\n";
    // About a megabyte of other lines, so that a kill often lands inside a write.
    const std::string note = Utf8ToSjis("メモ行");
    for (int i = 0; i < 20000; ++i) {
        text += note + std::to_string(i) + "=" + std::string(40, 'x') + "\r\n";
    }
    text += "[JvDataGet]\r\nLastTime=" + LastTimeOfRound(0) + "\r\n\r\n[kikan]\r\nkikan=1\r\n";
    return text;
}

TEST(SettingsWriteKilled, LeavesTheFileOfOneMomentWhole) {
    const KillBudget budget;
    std::printf("kill seed %u (KOYOMI_KILL_SEED)\n", budget.seed);
    std::mt19937 random(budget.seed);
    std::uniform_int_distribution<int> delay_ms(1, 150);
    const std::string start = LargeSettingsFile();
    ASSERT_EQ(SettingsFileAt(start, 0, 0), start);

    int kills = 0;
    long writes = 0;
    size_t left_over_files = 0;
    const Clock::time_point deadline = Clock::now() + budget.time;
    for (long point = 0; point < budget.points && Clock::now() < deadline; ++point) {
        TempFolder root;
        const fs::path folder = root / "program";
        WriteBytes(folder / "koyomivw.ini", start);
        ChildProcess writer({DriverProgram(), "write-settings", folder.string(), "0"}, {},
                            root / "output.txt");
        std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms(random)));
        ASSERT_TRUE(writer.Kill()) << writer.Output();
        ++kills;
        SCOPED_TRACE("kill point " + std::to_string(point));

        const std::string text = ReadBytes(folder / "koyomivw.ini");
        SettingsFile settings(folder / "koyomivw");
        settings.Loaded();
        const int top = settings.ReadInteger("locate", "top", -1);
        ASSERT_GE(top, 0);
        const std::string last_time = settings.ReadString("JvDataGet", "LastTime", "");
        const long last_round = last_time == LastTimeOfRound(top) ? top : top - 1;
        EXPECT_TRUE(text == SettingsFileAt(start, top, std::max(0L, last_round)))
            << "top " << top << ", LastTime " << last_time << ", " << text.size() << " bytes";
        EXPECT_EQ(settings.ReadInteger("kikan", "kikan", -1), 1);
        writes += top + std::max(0L, last_round);
        const size_t left = LeftOvers(folder).size();
        left_over_files += left;
        // The clean-up at the start of a fetch removes every one, and nothing else.
        EXPECT_EQ(static_cast<size_t>(RemoveLeftoverTemporaryFiles(folder)), left);
        EXPECT_TRUE(LeftOvers(folder).empty());
    }
    std::printf(
        "settings kill points: %d killed after %ld completed writes in all; %zu temporary "
        "files left by kills\n",
        kills, writes, left_over_files);
    ::testing::Test::RecordProperty("settings_kill_points", kills);
}

}  // namespace
}  // namespace koyomi::reliability
