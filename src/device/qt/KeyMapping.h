#pragma once
// Qt keys to the Windows virtual-key codes of the key table. Keys of the numeric keypad keep their
// own codes whatever the Num Lock state, as the keypad's keys do on the device they come from.

#include <Qt>

namespace grottix {

// The virtual-key code (1..255) of a key, or 0 for a key without one.
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace grottix
