// The controls name the gothic font "ＭＳ ゴシック"; this system draws it with whichever
// Japanese gothic font the desktop has.
#pragma once

#include <QString>

namespace pelmora::game {

// The family the controls ask for.
QString gothicFamily();

// Maps the gothic family onto the Japanese fonts installed, best first. Call once at start-up,
// after the application object exists. False when no installed font covers Japanese at all.
bool installFontSubstitution();

}  // namespace pelmora::game
