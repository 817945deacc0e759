#include "codes/jv_result_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "code_test_support.h"

namespace koyomi {
namespace {

using testing::Sjis;

TEST(JVResultText, MessageThenCodeInParentheses) {
    EXPECT_EQ(JVResultText("JVInit", -101), Sjis("sid が設定されていません。(-101)"));
    EXPECT_EQ(JVResultText("JVInit", 0), Sjis("正常に実行されました。(0)"));
    EXPECT_EQ(JVResultText("JVOpen", -1), Sjis(" 最新のデータがありません。(-1)"));
    EXPECT_EQ(JVResultText("JVRTOpen", -504), Sjis("サーバーがメンテナンス中です。(-504)"));
    EXPECT_EQ(JVResultText("JVOpen", -201), Sjis("JVInit が行なわれていません。(-201)"));
    EXPECT_EQ(JVResultText("JVOpen", -501),
              Sjis("セットアップ処理においてＣＤ －ＲＯＭ が無効です。(-501)"));
    EXPECT_EQ(JVResultText("JVRead", 0),
              Sjis("全ファイルの読み込みが終了しました。（ＥＯＦ ）(0)"));
    EXPECT_EQ(JVResultText("JVRead", -502),
              Sjis("ダウンロードに失敗しました。(通信エラーやディスクエラー)(-502)"));
    EXPECT_EQ(JVResultText("JVStatus", -502),
              Sjis("ダウンロードに失敗しました。（通信エラーやディスクエラーなど）(-502)"));
    EXPECT_EQ(JVResultText("JVFileDelete", -503), Sjis("ファイルが見つかりません。(-503)"));
    EXPECT_EQ(JVResultText("JVClose", 0), Sjis("正常に実行されました。(0)"));
}

TEST(JVResultText, EveryListedMessageConvertsCleanly) {
    const struct {
        const char* operation;
        int codes[20];
    } listed[] = {
        {"JVInit", {-101, -102, -103}},
        {"JVSetUIProperties", {-100, -101}},
        {"JVOpen",
         {-1, -2, -111, -112, -113, -114, -115, -116, -117, -201, -202, -401, -411, -412, -413,
          -421, -431, -501, -504}},
        {"JVStatus", {-502, -203, -201}},
        {"JVRead", {-1, -3, -201, -203, -402, -403, -502, -503}},
        {"JVFileDelete", {-201, -503}},
    };
    for (const auto& entry : listed) {
        for (int code : entry.codes) {
            if (code == 0) {
                break;
            }
            const std::string suffix = "(" + std::to_string(code) + ")";
            const std::string text = JVResultText(entry.operation, code);
            EXPECT_GT(text.size(), suffix.size()) << entry.operation << " " << code;
            EXPECT_TRUE(testing::IsCleanSjis(text)) << entry.operation << " " << code;
        }
    }
}

TEST(JVResultText, PositiveCountsOfStatusAndRead) {
    EXPECT_EQ(JVResultText("JVStatus", 5), Sjis("ダウンロード済みファイル数5(5)"));
    EXPECT_EQ(JVResultText("JVRead", 380), Sjis("バッファにセットしたデータのサイズ380(380)"));
    EXPECT_EQ(JVResultText("JVRead", INT_MAX),
              Sjis("バッファにセットしたデータのサイズ2147483647(2147483647)"));
    EXPECT_EQ(JVResultText("JVOpen", 3), "(3)");  // only those two count
}

TEST(JVResultText, LaterStepsOverrideEarlierOnes) {
    // Step 2 knows only -100 and 0; the "JVSet" step after it also knows -101.
    EXPECT_EQ(JVResultText("JVSetUIProperties", -101),
              Sjis("すでにサービスキーが登録されています。(-101)"));
    EXPECT_EQ(JVResultText("JVSetUIProperties", -100),
              Sjis("パラメータが不正あるいはレジストリへの保存に失敗しました。(-100)"));
    EXPECT_EQ(JVResultText("JVSetSaveFlag", 0), Sjis("正常に実行されました。(0)"));
    EXPECT_EQ(JVResultText("JVSetUIProperties", -102), "(-102)");
}

TEST(JVResultText, UnknownCodesAndNamesGiveOnlyTheCode) {
    EXPECT_EQ(JVResultText("JVOpen", -999), "(-999)");
    EXPECT_EQ(JVResultText("JVClose", -1), "(-1)");
    EXPECT_EQ(JVResultText("JVClose", 1), "(1)");
    EXPECT_EQ(JVResultText("JVStatus", -1), "(-1)");
    EXPECT_EQ(JVResultText("JVInit", -100), "(-100)");
    EXPECT_EQ(JVResultText("jvopen", -1), "(-1)");  // names are case-sensitive
    EXPECT_EQ(JVResultText("JVOpen ", 0), "(0)");
    EXPECT_EQ(JVResultText("JVSe", 0), "(0)");
    EXPECT_EQ(JVResultText("", 0), "(0)");
    EXPECT_EQ(JVResultText(std::string("JVOpen\0", 7), 0), "(0)");
    EXPECT_EQ(JVResultText("\x81\xFF", INT_MIN), "(-2147483648)");
}

}  // namespace
}  // namespace koyomi
