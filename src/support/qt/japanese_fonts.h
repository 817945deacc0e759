// The window's stored fonts name Windows' Japanese faces, which Debian does not alias. Map
// them to the IPA fonts so Japanese text never falls back to boxes or a Latin face.
#pragma once

#include <QFont>
#include <QString>

namespace koyomi {

void InstallJapaneseFontSubstitutes();

// The face the program draws proportional Japanese text in ("ＭＳ Ｐゴシック").
QString ProportionalGothicFamily();

// A font of the given face and pixel size, bold when asked.
QFont JapaneseFont(int pixel_size, bool bold = false);

}  // namespace koyomi
