#include "app/win32/window_layout.h"

#include <algorithm>

namespace koyomi::win32 {

int ScaleToDpi(int pixels, int dpi) {
    const long long scaled = static_cast<long long>(pixels) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : (scaled - 48) / 96);
}

WindowLayout LayOutWindow(int client_width, int client_height, int tool_bar_height,
                          int status_height, int dpi) {
    const auto px = [dpi](int pixels) { return ScaleToDpi(pixels, dpi); };
    const int margin = px(4);
    const int spacing = px(3);
    const int inner_width = std::max(0, client_width - 2 * margin);
    const int bottom = std::max(tool_bar_height, client_height - status_height);

    WindowLayout layout;
    const int row_top = tool_bar_height + margin;
    const int group_height = px(44);
    layout.venue_selector = {margin, row_top + px(10), px(140), px(24)};
    layout.period_group = {margin + px(140) + px(6), row_top, px(170), group_height};
    const Box& group = layout.period_group;
    layout.period_buttons[0] = {group.left + px(10), group.top + px(18), px(80), px(20)};
    layout.period_buttons[1] = {group.left + px(94), group.top + px(18), px(70), px(20)};
    layout.graded_check = {group.left + group.width + px(8), row_top + px(12), px(90), px(20)};

    const int title_top = row_top + group_height + spacing;
    layout.title = {margin, title_top, inner_width, px(22)};
    layout.ticker = {margin, title_top + px(22) + spacing, inner_width, px(18)};
    const int list_top = layout.ticker.top + layout.ticker.height + spacing;
    layout.schedule_list = {margin, list_top, inner_width, std::max(0, bottom - list_top)};
    return layout;
}

}  // namespace koyomi::win32
