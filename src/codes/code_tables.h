// Conversions of the coded fields of a schedule line into display texts. Code page 932 bytes
// in and out; no conversion fails: unknown codes give the table's blank or an empty text.
#pragma once

#include <string>
#include <string_view>

namespace koyomi {

std::string VenueText(std::string_view code, int form);
std::string WeekdayText(std::string_view code, int form);
std::string GradeText(std::string_view code, int form);
std::string RaceKindText(std::string_view code, int form);
std::string RaceSymbolText(std::string_view code);
std::string WeightKindText(std::string_view code);
std::string TrackText(std::string_view code);
std::string NumberField(std::string_view field);
std::string StripFullWidthSpaces(std::string_view text);
std::string OverwriteAt(std::string_view s, std::string_view r, int position);

}  // namespace koyomi
