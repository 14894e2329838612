// SPDX-License-Identifier: MIT
#include "compat/JapaneseFonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace compat {

namespace {

// In a Japanese locale fontconfig answers the interface's "Sans Serif" with
// the fixed-width face of whichever Japanese font is installed, and the menu
// looks typewritten. The faces are named as Qt reports them, in English or
// in Japanese depending on the locale.
void preferProportionalInterfaceFace()
{
    struct Partner {
        QStringList fixed;
        QString proportional;
    };
    const Partner partners[] = {
        {{QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")}, QStringLiteral("IPAPGothic")},
        {{QStringLiteral("VL Gothic"), QStringLiteral("VL ゴシック")}, QStringLiteral("VL PGothic")},
        {{QStringLiteral("Noto Sans Mono CJK JP")}, QStringLiteral("Noto Sans CJK JP")},
        {{QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝")}, QStringLiteral("IPAPMincho")},
    };
    const QFont interface = QApplication::font();
    const QString face = QFontInfo(interface).family();
    for (const Partner &partner : partners) {
        if (!partner.fixed.contains(face, Qt::CaseInsensitive))
            continue;
        if (QFontDatabase::hasFamily(partner.proportional)) {
            QFont proportional = interface;
            proportional.setFamily(partner.proportional);
            QApplication::setFont(proportional);
        }
        return;
    }
}

} // namespace

void installJapaneseFontStandIns()
{
    // Left alone, fontconfig answers these names with a Latin face and the
    // captions fall back glyph by glyph. IPA comes first (Debian's
    // fonts-ipafont), then Noto CJK, then VL Gothic, the fonts the package
    // depends on one of; each list keeps the right style where it can.
    const QStringList mincho{QStringLiteral("IPAMincho"), QStringLiteral("IPAexMincho"),
                             QStringLiteral("Noto Serif CJK JP"), QStringLiteral("Noto Sans CJK JP"),
                             QStringLiteral("VL PGothic")};
    const QStringList pMincho{QStringLiteral("IPAPMincho"), QStringLiteral("IPAexMincho"),
                              QStringLiteral("Noto Serif CJK JP"), QStringLiteral("Noto Sans CJK JP"),
                              QStringLiteral("VL PGothic")};
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                             QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP"),
                             QStringLiteral("VL Gothic")};
    const QStringList pGothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
                              QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), mincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), pMincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pGothic);
    preferProportionalInterfaceFace();
}

} // namespace compat
