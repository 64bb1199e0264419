#include "game/window/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace pelmora::game {

namespace {

// The Japanese gothic fonts a Linux desktop has, in the order we like them; the first one
// installed draws the window.
const char* const kPreferred[] = {
    "IPAGothic",   "IPAexGothic",  "Noto Sans CJK JP",    "Source Han Sans JP", "VL Gothic",
    "TakaoGothic", "TakaoPGothic", "Droid Sans Japanese", "Droid Sans Fallback"};

}  // namespace

QString gothicFamily() {
    return QStringLiteral("ＭＳ ゴシック");
}

bool installFontSubstitution() {
    const QStringList installed = QFontDatabase::families();
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    QStringList fallbacks;
    for (const char* family : kPreferred)
        if (installed.contains(QLatin1String(family))) fallbacks << QLatin1String(family);
    // Any other font that covers Japanese beats one that does not.
    for (const QString& family : japanese)
        if (!fallbacks.contains(family)) fallbacks << family;
    const QString gothic = gothicFamily();
    QFont::removeSubstitutions(gothic);
    QFont::insertSubstitutions(gothic, fallbacks);
    return !japanese.isEmpty();
}

}  // namespace pelmora::game
