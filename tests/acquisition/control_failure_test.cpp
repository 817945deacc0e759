#include "acquisition/control_failure.h"

#include <gtest/gtest.h>

namespace koyomi::testing {
namespace {

ControlFailure Failure(ControlFailureKind kind, bool from_environment = false) {
    return {kind, "/home/user/.wine", from_environment, "the library's reason", ""};
}

TEST(LocalServiceOfferTest, NamesTheCauseAndThePrefix) {
    const struct {
        ControlFailureKind kind;
        const char* cause;
    } cases[] = {
        {ControlFailureKind::WineNotFound, "wine が見つかりません。"},
        {ControlFailureKind::NoPrefix, "Wine のプレフィックスがありません。"},
        {ControlFailureKind::HostDidNotStart, "jvlink-host.exe を起動できません。"},
        {ControlFailureKind::Host64DidNotStart, "jvlink-host64.exe を起動できません。"},
        {ControlFailureKind::NotRegistered,
         "JV-Link (JVDTLab.JVLink) がプレフィックスに登録されていません。"},
        {ControlFailureKind::ControlNotCreated, "JV-Link (JVDTLab.JVLink) を作成できません。"},
        {ControlFailureKind::IncompleteSyswow64,
         "このプレフィックスの 32 ビット部分 (syswow64) が不完全です。"},
        {ControlFailureKind::PrefixOfAnotherUser, "このプレフィックスは別のユーザーのものです。"},
    };
    for (const auto& [kind, cause] : cases) {
        const std::optional<std::string> text = LocalServiceOfferText(Failure(kind));
        ASSERT_TRUE(text) << static_cast<int>(kind);
        EXPECT_EQ(*text, std::string("Wine の JV-Link を使えません。\n") + cause +
                             "\nWine のプレフィックス: /home/user/.wine\n"
                             "(the library's reason)\n"
                             "\nローカルのデータフォルダで起動しますか？\n"
                             "「はい」を選ぶと、この選択を JV Link 設定に保存します。");
    }
}

TEST(LocalServiceOfferTest, SaysWhenTheEnvironmentOutranksTheSavedChoice) {
    const std::optional<std::string> text =
        LocalServiceOfferText(Failure(ControlFailureKind::NotRegistered, true));
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("環境変数 JVLINK_BACKEND=wine が保存した選択より優先される"),
              std::string::npos);
}

// A missing or broken library, or a bad JVLINK_BACKEND, is nothing the local data service mends:
// the presence box follows directly. JV-Link in this process was never Wine's to offer.
TEST(LocalServiceOfferTest, OffersNothingForOtherFailures) {
    EXPECT_FALSE(LocalServiceOfferText(Failure(ControlFailureKind::Other)));
    EXPECT_FALSE(LocalServiceOfferText(Failure(ControlFailureKind::NotInstalled)));
    EXPECT_FALSE(LocalServiceOfferText(Failure(ControlFailureKind::InstalledNotCreated)));
}

TEST(ControlMissingTextTest, AddsTheReasonNoOfferHasShown) {
    const std::string install =
        "JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。";
    EXPECT_EQ(ControlMissingText(Failure(ControlFailureKind::Other)),
              install + "\n(the library's reason)");
    EXPECT_EQ(ControlMissingText({}), install);
    EXPECT_EQ(ControlMissingText(Failure(ControlFailureKind::NotRegistered)), install);
    EXPECT_EQ(ControlMissingText(Failure(ControlFailureKind::NotInstalled)), install);
    EXPECT_EQ(ControlMissingText(Failure(ControlFailureKind::InstalledNotCreated)),
              install + "\n(the library's reason)");
}

// The loader's advice (which build to take) ends the presence box, before its question.
TEST(ControlMissingTextTest, EndsWithTheAdvice) {
    ControlFailure failure = Failure(ControlFailureKind::NotInstalled);
    failure.advice = "take the other build";
    const std::string install =
        "JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。";
    EXPECT_EQ(ControlMissingText(failure), install + "\ntake the other build");
    const std::optional<std::string> presence = SampleDataOfferText(failure);
    ASSERT_TRUE(presence);
    EXPECT_EQ(presence->rfind(install + "\ntake the other build\n\n", 0), 0u) << *presence;
}

}  // namespace
}  // namespace koyomi::testing
