#include "app/ViewerKeys.h"

namespace grottix {

TKeyAssignList DefaultKeyAssigns() {
    TKeyAssignList keys{};
    keys[InputUp] = {38, 104, 0};     // up arrow, keypad 8
    keys[InputDown] = {40, 98, 0};    // down arrow, keypad 2
    keys[InputLeft] = {37, 100, 0};   // left arrow, keypad 4
    keys[InputRight] = {39, 102, 0};  // right arrow, keypad 6
    keys[InputButton1] = {105, 0, 0};  // keypad 9: pitch decreases
    keys[InputButton2] = {99, 0, 0};   // keypad 3: pitch increases
    keys[InputButton3] = {107, 0, 0};  // keypad +: rise
    keys[InputButton4] = {109, 0, 0};  // keypad -: descend
    keys[InputButton5] = {16, 0, 0};   // Shift: run
    return keys;
}

}  // namespace grottix
