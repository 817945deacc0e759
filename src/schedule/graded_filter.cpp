#include "schedule/graded_filter.h"

#include <algorithm>
#include <utility>

#include "schedule/meetings_message.h"
#include "schedule/schedule_line.h"
#include "support/sjis_text.h"

namespace koyomi {

bool IsGradedCode(std::string_view grade_code) {
    if (grade_code.size() != 1) {
        return false;
    }
    const char code = grade_code.front();
    return (code >= 'A' && code <= 'D') || (code >= 'F' && code <= 'H');
}

bool IsGradedLine(std::string_view line) {
    return IsGradedCode(LineGradeCode(line));
}

const std::string& GradedTitleSuffix() {
    static const std::string suffix = Utf8ToSjis(" ＜重賞＞");
    return suffix;
}

void KeepGradedRowsOnly(ScheduleListModel& model, const Clock& clock) {
    if (model.schedule_lines.empty()) {
        return;
    }
    std::erase_if(model.shown_lines, [](const std::string& line) { return !IsGradedLine(line); });
    model.grid.Clear();
    int row_number = 0;
    for (const std::string& line : model.shown_lines) {
        model.grid.AppendRow(ScheduleRowCells(line, ++row_number));
    }
    if (!model.title.ends_with(GradedTitleSuffix())) {
        model.title += GradedTitleSuffix();
    }
    model.message_text = BuildMeetingsMessage(model.shown_lines, model.grid, clock);
    model.grid.Show();
}

}  // namespace koyomi
