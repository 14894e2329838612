#include "platform/JapaneseFonts.h"

#include <QFont>
#include <QStringList>

namespace platform {

void installJapaneseFontStandIns()
{
    // Left alone, fontconfig answers these names with a Latin face and the
    // captions fall back glyph by glyph. IPA comes first (Debian's
    // fonts-ipafont); the others keep the right style where IPA is missing.
    const QStringList mincho{QStringLiteral("IPAMincho"), QStringLiteral("IPAexMincho"),
                             QStringLiteral("Noto Serif CJK JP"), QStringLiteral("Noto Sans CJK JP")};
    const QStringList pMincho{QStringLiteral("IPAPMincho"), QStringLiteral("IPAexMincho"),
                              QStringLiteral("Noto Serif CJK JP"), QStringLiteral("Noto Sans CJK JP")};
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                             QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP")};
    const QStringList pGothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
                              QStringLiteral("Noto Sans CJK JP")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), mincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), pMincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pGothic);
}

} // namespace platform
