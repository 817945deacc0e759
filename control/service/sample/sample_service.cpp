#include "control/service/sample/sample_service.h"

#include <cstdio>
#include <string_view>

#include "control/service/sample/sample_calendar.h"
#include "control/service/sample/sample_races.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

constexpr int kBlocksPerDay = 3;
constexpr int kFirstRecordedYear = 2025;  // the year the running counts of the table are for

std::string Digits(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

// A Shift-JIS text of exactly `width` bytes: cut at a character boundary, padded with
// full-width spaces (and one ASCII space for an odd remainder), as JV-Data pads its names.
std::string FixedWidth(std::string_view utf8, size_t width) {
    std::string text = Utf8ToSjis(utf8);
    size_t cut = 0;
    while (cut < text.size()) {
        const size_t step = IsSjisLeadByte(static_cast<unsigned char>(text[cut])) ? 2 : 1;
        if (cut + step > width) {
            break;
        }
        cut += step;
    }
    text.resize(cut);
    while (text.size() + 2 <= width) {
        text += kFullWidthSpace;
    }
    if (text.size() < width) {
        text += ' ';
    }
    return text;
}

// The first `characters` characters of a UTF-8 text.
std::string_view Leading(std::string_view utf8, int characters) {
    size_t end = 0;
    for (int n = 0; n < characters && end < utf8.size(); ++n) {
        ++end;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) {
            ++end;
        }
    }
    return utf8.substr(0, end);
}

// One graded-race block (118 bytes). `number` is the special race number; its first digit is
// always 0, so a correction never changes a line key.
std::string RaceBlock(const SampleRace& race, int number, int year, bool corrected) {
    const int distance =
        corrected && race.updated_distance != 0 ? race.updated_distance : race.distance;
    std::string block = Digits(number, 4);
    block += FixedWidth(race.name, 60);
    block += FixedWidth(Leading(race.short_name, 10), 20);
    block += FixedWidth(Leading(race.short_name, 6), 12);
    block += FixedWidth(Leading(race.short_name, 3), 6);
    block += Digits(race.runs_in_2025 + year - kFirstRecordedYear, 3);
    block += race.grade;
    block += race.kind;
    block += race.symbol;
    block += race.weight;
    block += Digits(distance, 4);
    block += race.track;
    return block;
}

std::string EmptyRaceBlock() {
    return "0000" + FixedWidth("", 60) + FixedWidth("", 20) + FixedWidth("", 12) +
           FixedWidth("", 6) + "000" + " " + "00" + "000" + "0" + "0000" + "00";
}

std::string CompactDate(const SampleDate& date) {
    return Digits(date.year, 4) + Digits(date.month, 2) + Digits(date.day, 2);
}

// Record kind, data kind, creation date, then the meeting day's date, venue, meeting and day
// numbers: the head that every record of a meeting day starts with.
std::string RecordHeader(std::string_view kind, const SampleMeetingDay& day, char data_kind,
                         std::string_view creation_date) {
    std::string header(kind);
    header += data_kind;
    header += creation_date;
    header += CompactDate(day.date);
    header += day.venue;
    header += Digits(day.meeting, 2);
    header += Digits(day.day, 2);
    return header;
}

std::string ScheduleRecord(const SampleMeetingDay& day, char data_kind,
                           std::string_view creation_date, bool corrected) {
    std::string record = RecordHeader("YS", day, data_kind, creation_date);
    record += day.weekday;
    int blocks = 0;
    const auto races = SampleGradedRaces();
    for (size_t i = 0; i < races.size() && blocks < kBlocksPerDay; ++i) {
        const SampleRace& race = races[i];
        const bool runs_this_year = race.runs_in_2025 + day.date.year - kFirstRecordedYear > 0;
        if (race.venue == day.venue && race.meeting == day.meeting && race.day == day.day &&
            runs_this_year) {
            record += RaceBlock(race, static_cast<int>(i) + 1, day.date.year, corrected);
            ++blocks;
        }
    }
    for (; blocks < kBlocksPerDay; ++blocks) {
        record += EmptyRaceBlock();
    }
    return record + "\r\n";
}

// A special-registration ("TK") record of the same length: the schedule program skips it.
std::string RegistrationRecord(const SampleMeetingDay& day, char data_kind,
                               std::string_view creation_date) {
    std::string record = RecordHeader("TK", day, data_kind, creation_date);
    record += "11";  // race number of the day's main race
    record += FixedWidth("特別登録馬", 60);
    record.resize(kScheduleRecordLength, ' ');
    return record + "\r\n";
}

bool HasGradedRace(const SampleMeetingDay& day) {
    for (const SampleRace& race : SampleGradedRaces()) {
        if (race.venue == day.venue && race.meeting == day.meeting && race.day == day.day) {
            return true;
        }
    }
    return false;
}

bool IsCorrected(const SampleMeetingDay& day) {
    for (const SampleRace& race : SampleGradedRaces()) {
        if (race.updated_distance != 0 && race.venue == day.venue && race.meeting == day.meeting &&
            race.day == day.day) {
            return true;
        }
    }
    return false;
}

std::string AnnualCreated(int year) {
    return Digits(year - 1, 4) + "1115100000";
}

std::string UpdateCreated(int year) {
    return Digits(year - 1, 4) + "1205150000";
}

}  // namespace

SampleServiceFile SampleAnnualFile(int year) {
    const std::string created = AnnualCreated(year);
    const std::string creation_date = created.substr(0, 8);
    SampleServiceFile file{"YSCH" + created + ".jvd", {}};
    int registrations = 0;
    for (const SampleMeetingDay& day : SampleMeetingDays(year)) {
        file.content += ScheduleRecord(day, '1', creation_date, false);
        // The first graded days of the year also bring their special registrations.
        if (registrations < 3 && HasGradedRace(day)) {
            file.content += RegistrationRecord(day, '1', creation_date);
            ++registrations;
        }
    }
    return file;
}

SampleServiceFile SampleUpdateFile(int year) {
    const std::string created = UpdateCreated(year);
    const std::string creation_date = created.substr(0, 8);
    SampleServiceFile file{"YSCH" + created + ".jvd", {}};
    int registrations = 0;
    for (const SampleMeetingDay& day : SampleMeetingDays(year)) {
        // Corrected days, and the whole July meeting at Chukyo delivered again as confirmed.
        const bool confirmed = day.venue == "07" && day.meeting == 3;
        if (!IsCorrected(day) && !confirmed) {
            continue;
        }
        file.content += ScheduleRecord(day, '2', creation_date, true);
        if (registrations < 2 && HasGradedRace(day)) {
            file.content += RegistrationRecord(day, '2', creation_date);
            ++registrations;
        }
    }
    return file;
}

std::vector<SampleServiceFile> SampleServiceFiles(int first_year, int last_year) {
    std::vector<SampleServiceFile> files;
    for (int year = first_year; year <= last_year; ++year) {
        files.push_back(SampleAnnualFile(year));
        files.push_back(SampleUpdateFile(year));
    }
    return files;
}

}  // namespace koyomi
