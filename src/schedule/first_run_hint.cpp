#include "schedule/first_run_hint.h"

namespace koyomi {

FirstRunHint DecideFirstRunHint(int year_files, bool year_chosen) {
    if (year_chosen) {
        return FirstRunHint::None;
    }
    return year_files > 0 ? FirstRunHint::ChooseYear : FirstRunHint::FetchData;
}

std::string FirstRunHintText(FirstRunHint hint) {
    switch (hint) {
        case FirstRunHint::FetchData:
            return "開催スケジュールのファイルがまだありません。\n"
                   "「JVデータ取得」を押して、JRA-VANから取得してください。";
        case FirstRunHint::ChooseYear:
            return "表示する年を、上の年の一覧から選んでください。";
        case FirstRunHint::None:
            break;
    }
    return {};
}

}  // namespace koyomi
