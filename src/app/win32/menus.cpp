#include "app/win32/menus.h"

#include "app/win32/command_ids.h"

namespace koyomi::win32 {
namespace {

struct CommandText {
    UINT command;
    const wchar_t* hint;
};

constexpr CommandText kHints[] = {
    {kCommandFetch, L"JRA-VANから年間スケジュールを取得します"},
    {kCommandCopy, L"表をクリップボードへコピーします"},
    {kCommandSaveCalendar, L"表示中の開催日をiCalendar形式のファイルに保存します"},
    {kCommandControlSettings, L"JV Linkの設定を変更します"},
    {kCommandPrint, L"リストを印刷します"},
    {kCommandPrinterSetup, L"ﾌﾟﾘﾝﾀの設定を変更します"},
    {kCommandExit, L"ﾌﾟﾛｸﾞﾗﾑを終了します"},
    {kCommandNormalData, L"前回の取得より新しいデータだけを取得します"},
    {kCommandSetupData, L"過去10年分のデータをすべて取得します"},
    {kCommandHelpContents, L"ﾍﾙﾌﾟの目次を表示します"},
    {kCommandAbout, L"ﾌﾟﾛｸﾞﾗﾑの情報を表示します"},
    {kCommandToday, L"今日以降で最初の開催日へ移動します (Ctrl+T)"},
    {kCommandCancelFetch, L"データの取得を中止します (Esc)"},
};

}  // namespace

HMENU CreateMainMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, kCommandFetch, L"ＪＶデータ・年間スケジュール取得(&D)");
    AppendMenuW(file, MF_STRING, kCommandCopy, L"クリップボードへコピー(&C)");
    AppendMenuW(file, MF_STRING, kCommandSaveCalendar, L"カレンダー形式で保存(&I)...");
    AppendMenuW(file, MF_STRING, kCommandControlSettings, L"JV Link 設定(&S)");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, kCommandPrint, L"印刷(&P)...");
    AppendMenuW(file, MF_STRING, kCommandPrinterSetup, L"ﾌﾟﾘﾝﾀの設定(&R)...");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, kCommandExit, L"終了(&X)");

    HMENU kind = CreatePopupMenu();
    AppendMenuW(kind, MF_STRING, kCommandNormalData, L"通常データ");
    AppendMenuW(kind, MF_STRING, kCommandSetupData, L"セットアップデータ");
    CheckMenuRadioItem(kind, kCommandNormalData, kCommandSetupData, kCommandSetupData,
                       MF_BYCOMMAND);
    HMENU options = CreatePopupMenu();
    AppendMenuW(options, MF_POPUP, reinterpret_cast<UINT_PTR>(kind), L"取得データの種類");

    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, kCommandHelpContents, L"目次(&C)");
    AppendMenuW(help, MF_STRING, kCommandAbout, L"ﾊﾞｰｼﾞｮﾝ情報(&A)...");

    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ﾌｧｲﾙ(&F)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(options), L"ｵﾌﾟｼｮﾝ(&O)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"ﾍﾙﾌﾟ(&H)");
    return bar;
}

const wchar_t* CommandHint(UINT command) {
    for (const CommandText& entry : kHints) {
        if (entry.command == command) {
            return entry.hint;
        }
    }
    return nullptr;
}

void CheckDataKindItem(HMENU menu, UINT command) {
    CheckMenuRadioItem(menu, kCommandNormalData, kCommandSetupData, command, MF_BYCOMMAND);
}

}  // namespace koyomi::win32
