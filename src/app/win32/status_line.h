// The status line: the status and hint texts, and while a fetch runs the download's progress
// bar and the 中止 button (the same as Esc).
#pragma once

#include <windows.h>

#include <string>

namespace koyomi::win32 {

class StatusLine {
  public:
    explicit StatusLine(HWND parent);
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

    HWND window() const { return window_; }
    HWND progress() const { return progress_; }
    HWND cancel_button() const { return cancel_; }

    void SetText(std::wstring text);
    const std::wstring& text() const { return text_; }
    // A menu item's or tool button's hint shows over the text until EndHint.
    void ShowHint(const wchar_t* hint);
    void EndHint();

    // `total` <= 0 hides the bar; `done` beyond `total` shows a full bar.
    void SetProgress(int done, int total);
    void SetCancelVisible(bool visible);

    // After the parent's size or DPI changed.
    void Arrange(int dpi, HFONT font);
    int Height() const;

  private:
    void ShowText(const std::wstring& text);

    HWND window_ = nullptr;
    HWND progress_ = nullptr;
    HWND cancel_ = nullptr;
    std::wstring text_;
    bool hint_shown_ = false;
    int dpi_ = 96;
};

}  // namespace koyomi::win32
