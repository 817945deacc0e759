#include "codes/jv_result_text.h"

#include <string>
#include <string_view>
#include <vector>

#include "support/sjis_text.h"

namespace koyomi {
namespace {

struct CodeMessage {
    int code;
    std::string_view text;
};

// One rule of the message table: which operation names it applies to, the messages it knows,
// and for a count-returning operation the text put before a positive code.
struct ResultRule {
    std::vector<std::string_view> names;
    bool match_first_five = false;  // compare only the first five characters of the name
    std::vector<CodeMessage> messages;
    std::string_view positive_prefix;
};

// The message table as written (UTF-8); read once, when it is converted.
std::vector<ResultRule> ResultRules() {
    return {
        {{"JVInit"},
         false,
         {{-101, "sid が設定されていません。"},
          {-102, "sid が64byte 以上あります。"},
          {-103, "sid が不正（sid の１桁目がスペース）です。"},
          {0, "正常に実行されました。"}},
         {}},
        {{"JVSetUIProperties"},
         false,
         {{-100, "パラメータが不正あるいはレジストリへの保存に失敗しました。"},
          {0, "正常に実行されました。"}},
         {}},
        // Every "JVSet..." operation, and so also JVSetUIProperties, whose -101 lands here.
        {{"JVSet"},
         true,
         {{-100, "パラメータが不正あるいはレジストリへの保存に失敗しました。"},
          {-101, "すでにサービスキーが登録されています。"},
          {0, "正常に実行されました。"}},
         {}},
        {{"JVOpen", "JVRTOpen"},
         false,
         {{0, "正常に実行されました。"},
          {-1, " 最新のデータがありません。"},
          {-2, "セットアップダイアログでキャンセルが押されました。"},
          {-111, "dataspec パラメータが不正です。"},
          {-112, "fromdate パラメータが不正です。"},
          {-113, "todate パラメータが不正です。"},
          {-114, "key パラメータが不正です。"},
          {-115, "option パラメータが不正です。"},
          {-116, "dataspec とoption の組み合わせが不正です。"},
          {-117, "JVデータフォーマットバージョンが不正です。(JVInit時に指定したjvversionが不正)"},
          {-201, "JVInit が行なわれていません。"},
          {-202, "前回のJVOpen/JVRTOpen に対してJVClose が呼ばれていません。（オープン中）"},
          {-401, "JV- Link 内部エラーが発生しました。"},
          {-411, "サーバーエラー（HTTP ステータス404 NotFount ）が発生しました。"},
          {-412, "サーバーエラー（HTTP ステータス403 Forbidden ）が発生しました。"},
          {-413, "サーバーエラー（HTTP ステータス200,403,404 以外）が発生しました。"},
          {-421, "サーバーエラー（サーバーの応答が不正）が発生しました。"},
          {-431, "サーバーエラー（サーバーアプリケーション内部エラー）が発生しました。"},
          {-501, "セットアップ処理においてＣＤ －ＲＯＭ が無効です。"},
          {-504, "サーバーがメンテナンス中です。"}},
         {}},
        {{"JVStatus"},
         false,
         {{-502, "ダウンロードに失敗しました。（通信エラーやディスクエラーなど）"},
          {-203, "JVOpenが行なわれていません。"},
          {-201, "JVInitが行なわれていません。"},
          {0, "正常に実行されました。"}},
         "ダウンロード済みファイル数"},
        {{"JVRead"},
         false,
         {{0, "全ファイルの読み込みが終了しました。（ＥＯＦ ）"},
          {-1, "ファイルが切り替わりました。"},
          {-3, "ファイルダウンロード中"},
          {-201, "JVInitが行なわれていません。"},
          {-203, "JVOpenが行なわれていません。"},
          {-402, "ダウンロードしたファイルサイズが異常です。"},
          {-403, "ダウンロードしたファイル内容が異常です。"},
          {-502, "ダウンロードに失敗しました。(通信エラーやディスクエラー)"},
          {-503, "ファイルが見つかりません。"}},
         "バッファにセットしたデータのサイズ"},
        {{"JVClose"}, false, {{0, "正常に実行されました。"}}, {}},
        {{"JVFileDelete"},
         false,
         {{-201, "JVInitが行なわれていません。"},
          {-503, "ファイルが見つかりません。"},
          {0, "正常に実行されました。"}},
         {}},
    };
}

// The rules with their texts in code page 932, converted once.
struct SjisRule {
    std::vector<std::string_view> names;
    bool match_first_five;
    std::vector<std::pair<int, std::string>> messages;
    std::string positive_prefix;
};

const std::vector<SjisRule>& SjisRules() {
    static const std::vector<SjisRule> rules = [] {
        std::vector<SjisRule> converted;
        for (const ResultRule& rule : ResultRules()) {
            SjisRule sjis{rule.names, rule.match_first_five, {}, Utf8ToSjis(rule.positive_prefix)};
            for (const CodeMessage& message : rule.messages) {
                sjis.messages.emplace_back(message.code, Utf8ToSjis(message.text));
            }
            converted.push_back(std::move(sjis));
        }
        return converted;
    }();
    return rules;
}

bool RuleApplies(const SjisRule& rule, std::string_view operation) {
    for (std::string_view name : rule.names) {
        if (rule.match_first_five ? operation.substr(0, 5) == name.substr(0, 5)
                                  : operation == name) {
            return true;
        }
    }
    return false;
}

}  // namespace

// Every rule whose name matches sets the message afresh, a code it does not know clearing it,
// so the last matching rule decides.
std::string JVResultText(std::string_view operation, int code) {
    std::string message;
    for (const SjisRule& rule : SjisRules()) {
        if (!RuleApplies(rule, operation)) {
            continue;
        }
        message.clear();
        for (const auto& [known, text] : rule.messages) {
            if (known == code) {
                message = text;
                break;
            }
        }
        if (!rule.positive_prefix.empty() && code > 0) {
            message = rule.positive_prefix + std::to_string(code);
        }
    }
    return message + "(" + std::to_string(code) + ")";
}

}  // namespace koyomi
