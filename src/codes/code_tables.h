// Conversions of the coded fields of a schedule line into display texts. Code page 932 bytes
// in and out; no conversion fails: unknown codes give the table's blank or an empty text.
#pragma once

#include <string>
#include <string_view>

namespace koyomi {

// Venue code (2 characters). Form 0: 6 bytes; 1: one character (2 bytes, "日 " for Japan);
// 2: two characters (4 bytes); 3: 6 bytes; 9: long name, 20 bytes. An unlisted code gives
// 6 spaces in forms 0, 3 and 9, 2 in form 1, 4 in form 2; another form an empty text.
std::string VenueText(std::string_view code, int form);

// Weekday code read as a number. Forms 1 to 3 are 1 to 3 full-width characters; 0 gives that
// many ideographic spaces, a value above 8 or another form an empty text.
std::string WeekdayText(std::string_view code, int form);

// Grade code (1 letter). Form 1: 5 bytes; 8: 3 bytes; 9: 18 bytes.
std::string GradeText(std::string_view code, int form);

// Race kind code (2 digits). Form 4: 8 bytes; 6: 12; 8: 16; 9: 25.
std::string RaceKindText(std::string_view code, int form);

// Race symbol code (3 characters): class, sex and designation texts filled with ideographic
// spaces to 24 bytes; 12 ideographic spaces for an unlisted code.
std::string RaceSymbolText(std::string_view code);

// Weight rule code (1 digit): the rule's name, unpadded; empty for an unlisted code.
std::string WeightKindText(std::string_view code);

// Track code read as a number: a two-character track text, or empty.
std::string TrackText(std::string_view code);

// A numeric field: its value right-aligned in the field's width, spaces when the value is
// zero or missing ("0120" gives " 120").
std::string NumberField(std::string_view field);

// The text without any ideographic space; other characters, ASCII spaces too, stay.
std::string StripFullWidthSpaces(std::string_view text);

// s with r written over it from the 1-based byte position: the bytes from there on are
// replaced by r, as many as r has (s grows when it ends first). A position before the start
// puts r in front of s, one beyond its end after it.
std::string OverwriteAt(std::string_view s, std::string_view r, int position);

}  // namespace koyomi
