#include "app/window/ViewerKeys.h"

namespace grottix {

namespace {

// Windows virtual-key codes of the main keyboard's keys the table uses.
constexpr int kPageUp = 0x21, kPageDown = 0x22, kHome = 0x24;
constexpr int kPlusOrEqual = 0xBB, kMinus = 0xBD;  // the US layout's "=/+" and "-/_" keys
// The numeric keypad's keys, whatever the Num Lock state.
constexpr int kPad2 = 98, kPad3 = 99, kPad4 = 100, kPad6 = 102, kPad7 = 103, kPad8 = 104, kPad9 = 105;
constexpr int kPadPlus = 107, kPadMinus = 109;

}  // namespace

TKeyAssignList DefaultKeyAssigns() {
    TKeyAssignList keys{};
    keys[InputUp] = {38, kPad8, 'W'};       // walk forward
    keys[InputDown] = {40, kPad2, 'S'};     // walk backward
    keys[InputLeft] = {37, kPad4, 'A'};     // turn left
    keys[InputRight] = {39, kPad6, 'D'};    // turn right
    // Pitch decreasing turns the view down: PageDown. The keypad keeps its own assignment (its 9
    // looks down, its 3 up).
    keys[InputButton1] = {kPad9, kPageDown, 0};
    keys[InputButton2] = {kPad3, kPageUp, 0};
    keys[InputButton3] = {kPadPlus, kPlusOrEqual, 0};   // rise
    keys[InputButton4] = {kPadMinus, kMinus, 0};        // descend
    keys[InputButton5] = {16, 0, 0};                    // Shift: run
    keys[InputBackToStart] = {kHome, kPad7, 0};
    return keys;
}

}  // namespace grottix
