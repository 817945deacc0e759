// Code page 932 <-> QString at the edge between the core and the widgets.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "support/sjis_text.h"

namespace koyomi {

inline QString SjisToQString(std::string_view sjis) {
    const std::u16string text = SjisToUtf16(sjis);
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline std::string QStringToSjis(const QString& text) {
    return Utf16ToSjis(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
}

}  // namespace koyomi
