// Screen readers on this platform hear a combo box's current item as its name, whatever name
// it was given. A drop-down list given an accessible name is announced by that name instead,
// with its current item as the value: "1 番目の演算子, ＋".
#pragma once

namespace pelmora::game {

// Call once; later calls do nothing.
void installNamedComboBoxes();

}  // namespace pelmora::game
