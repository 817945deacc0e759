// The commands of the menus, tool buttons, selectors and keys, as WM_COMMAND identifiers.
#pragma once

namespace koyomi::win32 {

enum CommandId : unsigned short {
    kCommandFetch = 100,  // "ＪＶデータ・年間スケジュール取得(&D)", "JVデータ取得"
    kCommandCopy,         // "クリップボードへコピー(&C)"
    kCommandSaveCalendar,     // "カレンダー形式で保存(&I)..."
    kCommandControlSettings,  // "JV Link 設定(&S)"
    kCommandPrint,            // "印刷(&P)..."
    kCommandPrinterSetup,     // "ﾌﾟﾘﾝﾀの設定(&R)..."
    kCommandExit,             // "終了(&X)", "終了"
    kCommandNormalData,       // "通常データ"
    kCommandSetupData,        // "セットアップデータ"
    kCommandHelpContents,     // "目次(&C)", "ヘルプ"
    kCommandAbout,            // "ﾊﾞｰｼﾞｮﾝ情報(&A)...", "ﾊﾞｰｼﾞｮﾝ情報"
    kCommandToday,            // "今日へ移動", Ctrl+T
    kCommandCancelFetch,      // "中止", Esc
    kControlYearSelector = 200,
    kControlVenueSelector,
    kControlPeriodGroup,
    kControlPeriodFromThisMonth,  // "今月以降"
    kControlPeriodAllMonths,      // "全月分"
    kControlGradedOnly,           // "重賞のみ"
    kControlScheduleList,
    kControlToolBar,
    kControlStatusLine,
    kControlProgress,
};

}  // namespace koyomi::win32
