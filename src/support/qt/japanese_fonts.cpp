#include "support/qt/japanese_fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace koyomi {

QString ProportionalGothicFamily() {
    return QStringLiteral("ＭＳ Ｐゴシック");
}

void InstallJapaneseFontSubstitutes() {
    const QStringList proportional = {
        QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
        QStringLiteral("ＭＳ ＵＩ Gothic"), QStringLiteral("MS UI Gothic")};
    const QStringList fixed = {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic")};
    for (const QString& name : proportional) {
        QFont::insertSubstitutions(name,
                                   {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    }
    for (const QString& name : fixed) {
        QFont::insertSubstitutions(name,
                                   {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")});
    }
}

QFont JapaneseFont(int pixel_size, bool bold) {
    QFont font(ProportionalGothicFamily());
    font.setPixelSize(pixel_size);
    font.setBold(bold);
    return font;
}

}  // namespace koyomi
