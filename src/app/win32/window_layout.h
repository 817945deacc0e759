// Where the window's parts go in its client area, at the window's DPI: the tool bar row on
// top, the venue selector, "期間指定" and "重賞のみ" below it, then the title, the message band
// and the schedule list down to the status line. The Linux window's sizes and spacing at 96 DPI.
#pragma once

namespace koyomi::win32 {

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Box&, const Box&) = default;
};

struct WindowLayout {
    Box venue_selector;
    Box period_group;
    Box period_buttons[2];  // inside the client area, like the group
    Box graded_check;
    Box title;
    Box ticker;
    Box schedule_list;  // also where the first-run hint is painted while the list is hidden
};

// `pixels` at 96 DPI scaled to `dpi`, rounded to the nearest pixel.
int ScaleToDpi(int pixels, int dpi);

// The parts for a client area of `client_width` x `client_height` whose top `tool_bar_height`
// and bottom `status_height` pixels the tool bar and status line take. No part has a negative
// size however small the window is made.
WindowLayout LayOutWindow(int client_width, int client_height, int tool_bar_height,
                          int status_height, int dpi);

}  // namespace koyomi::win32
