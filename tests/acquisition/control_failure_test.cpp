#include "acquisition/control_failure.h"

#include <gtest/gtest.h>

namespace koyomi::testing {
namespace {

ControlFailure Failure(ControlFailureKind kind, bool from_environment = false) {
    return {kind, "/home/user/.wine", from_environment, "the library's reason"};
}

TEST(LocalServiceOfferTest, NamesTheCauseAndThePrefix) {
    const struct {
        ControlFailureKind kind;
        const char* cause;
    } cases[] = {
        {ControlFailureKind::kWineNotFound, "wine が見つかりません。"},
        {ControlFailureKind::kNoPrefix, "Wine のプレフィックスがありません。"},
        {ControlFailureKind::kHostDidNotStart, "jvlink-host.exe を起動できません。"},
        {ControlFailureKind::kNotRegistered,
         "JV-Link (JVDTLab.JVLink) がプレフィックスに登録されていません。"},
        {ControlFailureKind::kControlNotCreated, "JV-Link (JVDTLab.JVLink) を作成できません。"},
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
        LocalServiceOfferText(Failure(ControlFailureKind::kNotRegistered, true));
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("環境変数 JVLINK_BACKEND=wine が保存した選択より優先される"),
              std::string::npos);
}

// A missing or broken library, or a bad JVLINK_BACKEND, is nothing the local data service mends:
// the presence box follows directly.
TEST(LocalServiceOfferTest, OffersNothingForOtherFailures) {
    EXPECT_FALSE(LocalServiceOfferText(Failure(ControlFailureKind::kOther)));
}

TEST(ControlMissingTextTest, AddsTheReasonNoOfferHasShown) {
    const std::string install =
        "JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。";
    EXPECT_EQ(ControlMissingText(Failure(ControlFailureKind::kOther)),
              install + "\n(the library's reason)");
    EXPECT_EQ(ControlMissingText({}), install);
    EXPECT_EQ(ControlMissingText(Failure(ControlFailureKind::kNotRegistered)), install);
}

}  // namespace
}  // namespace koyomi::testing
