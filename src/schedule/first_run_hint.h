// The hint painted over the empty grid area until a list is shown: what to do first.
#pragma once

#include <string>

namespace koyomi {

enum class FirstRunHint {
    None,        // a list is shown (or a year is chosen): nothing to say
    FetchData,   // no year file yet: fetch the schedule first
    ChooseYear,  // year files exist but no year is chosen
};

// `year_files` is the number of year files the year selector lists; `year_chosen` whether a
// year has been picked since start-up.
FirstRunHint DecideFirstRunHint(int year_files, bool year_chosen);

// The hint's text in UTF-8; empty for None.
std::string FirstRunHintText(FirstRunHint hint);

}  // namespace koyomi
