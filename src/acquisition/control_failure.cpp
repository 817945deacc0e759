#include "acquisition/control_failure.h"

namespace koyomi {
namespace {

std::optional<std::string> CauseText(ControlFailureKind kind) {
    switch (kind) {
        case ControlFailureKind::WineNotFound:
            return "wine が見つかりません。";
        case ControlFailureKind::NoPrefix:
            return "Wine のプレフィックスがありません。";
        case ControlFailureKind::HostDidNotStart:
            return "jvlink-host.exe を起動できません。";
        case ControlFailureKind::Host64DidNotStart:
            return "jvlink-host64.exe を起動できません。";
        case ControlFailureKind::NotRegistered:
            return "JV-Link (JVDTLab.JVLink) がプレフィックスに登録されていません。";
        case ControlFailureKind::ControlNotCreated:
            return "JV-Link (JVDTLab.JVLink) を作成できません。";
        case ControlFailureKind::IncompleteSyswow64:
            return "このプレフィックスの 32 ビット部分 (syswow64) が不完全です。";
        case ControlFailureKind::PrefixOfAnotherUser:
            return "このプレフィックスは別のユーザーのものです。";
        case ControlFailureKind::Other:
        case ControlFailureKind::NotInstalled:
        case ControlFailureKind::InstalledNotCreated:
            break;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> LocalServiceOfferText(const ControlFailure& failure) {
    const std::optional<std::string> cause = CauseText(failure.kind);
    if (!cause) {
        return std::nullopt;
    }
    std::string text = "Wine の JV-Link を使えません。\n" + *cause +
                       "\nWine のプレフィックス: " + failure.wine_prefix.string() + "\n";
    if (!failure.reason.empty()) {
        text += "(" + failure.reason + ")\n";
    }
    text +=
        "\nローカルのデータフォルダで起動しますか？\n"
        "「はい」を選ぶと、この選択を JV Link 設定に保存します。";
    if (failure.backend_from_environment) {
        text +=
            "\n環境変数 JVLINK_BACKEND=wine が保存した選択より優先されるため、"
            "次回の起動でもローカルのデータフォルダを使うには、この変数を外してください。";
    }
    return text;
}

std::string ControlMissingText(const ControlFailure& failure) {
    std::string text = "JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。";
    const bool unexplained = failure.kind == ControlFailureKind::Other ||
                             failure.kind == ControlFailureKind::InstalledNotCreated;
    if (unexplained && !failure.reason.empty()) {
        text += "\n(" + failure.reason + ")";
    }
    if (!failure.advice.empty()) {
        text += "\n" + failure.advice;
    }
    return text;
}

std::optional<std::string> SampleDataOfferText(const ControlFailure& failure) {
    if (failure.kind != ControlFailureKind::NotInstalled &&
        failure.kind != ControlFailureKind::InstalledNotCreated) {
        return std::nullopt;
    }
    return ControlMissingText(failure) +
           "\n\n同梱のサンプルデータで試しますか？\n"
           "「はい」を選ぶと、この選択を JV Link 設定に保存します。";
}

}  // namespace koyomi
