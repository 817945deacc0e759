// The about box under Wine, driven from a timer of the test's thread while the box runs.
#include "app/win32/about_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/result.h"

namespace koyomi::win32 {
namespace {

class FailingLauncher : public DesktopLauncher {
  public:
    std::vector<std::string> opened;
    Status OpenWithUriHandler(const std::string& uri) override {
        opened.push_back(uri);
        return Fail("no handler");
    }
    Status OpenWithHtmlHandler(const std::string& uri) override {
        opened.push_back(uri);
        return Fail("no browser");
    }
};

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM found) {
    if (ClassOf(window) == L"#32770" && IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

// The thread's dialogs on screen: the about box, and a box it shows.
std::vector<HWND> ThreadDialogs() {
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

HWND AboutBox() {
    for (HWND dialog : ThreadDialogs()) {
        if (TextOf(dialog) == L"ﾊﾞｰｼﾞｮﾝ情報") {
            return dialog;
        }
    }
    return nullptr;
}

BOOL CALLBACK CollectPart(HWND window, LPARAM found) {
    (*reinterpret_cast<std::map<int, HWND>*>(found))[GetDlgCtrlID(window)] = window;
    return TRUE;
}

// Every window inside the box by its control id, grandchildren included.
std::map<int, HWND> Parts(HWND box) {
    std::map<int, HWND> parts;
    EnumChildWindows(box, &CollectPart, reinterpret_cast<LPARAM>(&parts));
    return parts;
}

// What the timer does on each tick while the box runs, and how often it has run.
std::function<void(HWND)>* current_step = nullptr;
int ticks = 0;
bool timed_out = false;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (++ticks > 300) {
        timed_out = true;
        for (HWND dialog : ThreadDialogs()) {
            EndDialog(dialog, IDABORT);
        }
        return;
    }
    (*current_step)(AboutBox());
}

// Shows the box and calls `step` with it on every tick until the box has closed; false when
// it had to be closed for the test because it stayed open.
bool RunAboutBox(HWND owner, const AboutText& text, DesktopLauncher& launcher,
                 std::function<void(HWND)> step) {
    ticks = 0;
    timed_out = false;
    current_step = &step;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, &Tick);
    ShowAboutDialog(owner, text, launcher);
    KillTimer(nullptr, timer);
    current_step = nullptr;
    return !timed_out;
}

const AboutText kText{"Ver.1.02", "https://koyomivw.example/",
                      "データ: C:\\Users\\太郎\\AppData\\Local\\koyomivw\n"
                      "設定: C:\\Users\\太郎\\AppData\\Roaming\\koyomivw\\koyomivw.ini"};

TEST(AboutDialog, ShowsTheVersionCreditAndEveryFolderLineAndClosesWithEsc) {
    FailingLauncher launcher;
    std::map<int, std::wstring> texts;
    RECT client{};
    RECT folders{};
    const bool closed = RunAboutBox(nullptr, kText, launcher, [&](HWND box) {
        if (box == nullptr || !texts.empty()) {
            return;
        }
        for (const auto& [id, part] : Parts(box)) {
            texts[id] = TextOf(part);
        }
        GetClientRect(box, &client);
        GetWindowRect(Parts(box)[kAboutFolders], &folders);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&folders), 2);
        // Esc reaches the focused button, as a key press would.
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_TRUE(closed) << "Esc did not close the box";
    EXPECT_EQ(texts[kAboutVersion],
              sizeof(void*) == 8 ? L"Ver.1.02 64 ビット版" : L"Ver.1.02 32 ビット版");
    EXPECT_EQ(texts[kAboutCredit], L"制作 koyomivw 開発チーム ／ JRA-VAN Data Lab. 対応");
    EXPECT_EQ(texts[kAboutHomePage], L"ホームページ");
    EXPECT_EQ(texts[IDOK], L"OK");
    EXPECT_EQ(texts[kAboutFolders],
              L"データ: C:\\Users\\太郎\\AppData\\Local\\koyomivw\r\n"
              L"設定: C:\\Users\\太郎\\AppData\\Roaming\\koyomivw\\koyomivw.ini");
    // The box grew to hold both lines of the folders below the buttons.
    EXPECT_GT(folders.bottom - folders.top, 20);
    EXPECT_LE(folders.bottom, client.bottom);
    EXPECT_TRUE(launcher.opened.empty());
}

TEST(AboutDialog, AHomePageThatCannotBeOpenedIsToldInABoxUnderTheWindowsTitle) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"JRA 年間開催スケジュール", WS_OVERLAPPEDWINDOW, 0,
                                 0, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    FailingLauncher launcher;
    std::wstring message;
    std::wstring caption;
    bool clicked = false;
    const bool closed = RunAboutBox(owner, kText, launcher, [&](HWND box) {
        if (box == nullptr) {
            return;
        }
        if (!clicked) {
            clicked = true;
            PostMessageW(Parts(box)[kAboutHomePage], BM_CLICK, 0, 0);
            return;
        }
        for (HWND dialog : ThreadDialogs()) {
            if (dialog != box && GetWindow(dialog, GW_OWNER) == box) {
                message = TextOf(GetDlgItem(dialog, 0xFFFF));
                caption = TextOf(dialog);
                PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                return;
            }
        }
        if (!message.empty()) {
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    });
    DestroyWindow(owner);
    EXPECT_TRUE(closed) << "the box stayed open";
    EXPECT_EQ(launcher.opened,
              (std::vector<std::string>{"https://koyomivw.example/", "https://koyomivw.example/"}));
    EXPECT_EQ(message, L"ホームページの表示に失敗しました。");
    EXPECT_EQ(caption, L"JRA 年間開催スケジュール");
}

}  // namespace
}  // namespace koyomi::win32
