#pragma once
// The input state set (directions and 32 buttons) and the rules that fill it from keys and a
// joystick, free of any window system.

#include <array>
#include <bitset>
#include <cstdint>

namespace grottix {

enum TDXInputState {
    InputUp, InputDown, InputLeft, InputRight,
    InputButton1, InputButton2, InputButton3, InputButton4, InputButton5, InputButton6, InputButton7,
    InputButton8, InputButton9, InputButton10, InputButton11, InputButton12, InputButton13, InputButton14,
    InputButton15, InputButton16, InputButton17, InputButton18, InputButton19, InputButton20, InputButton21,
    InputButton22, InputButton23, InputButton24, InputButton25, InputButton26, InputButton27, InputButton28,
    InputButton29, InputButton30, InputButton31, InputButton32,
};
constexpr int kInputStateCount = 36;

class TDXInputStates {
public:
    bool Contains(TDXInputState state) const { return bits_.test(size_t(state)); }
    void Include(TDXInputState state) { bits_.set(size_t(state)); }
    void Exclude(TDXInputState state) { bits_.reset(size_t(state)); }
    bool Empty() const { return bits_.none(); }
    uint64_t Bits() const { return bits_.to_ullong(); }
    TDXInputStates& operator|=(const TDXInputStates& other) {
        bits_ |= other.bits_;
        return *this;
    }
    bool operator==(const TDXInputStates&) const = default;

private:
    std::bitset<kInputStateCount> bits_;
};

// Up to three Windows virtual-key codes per state (0 = none); 36 x 3 x 4 = 432 bytes.
using TKeyAssign = std::array<int32_t, 3>;
using TKeyAssignList = std::array<TKeyAssign, kInputStateCount>;
static_assert(sizeof(TKeyAssignList) == 432);

// Which virtual keys (0..255) are down.
using TKeyDownTable = std::bitset<256>;

// A state is set while any of its assigned keys is down; codes outside 0..255 match nothing.
TDXInputStates KeyboardStates(const TKeyAssignList& assigns, const TKeyDownTable& keysDown);

// A raw axis reading (-32768..32767) scaled to -range..range, with the dead zone (percent of the
// range, around the centre) reading 0 and the rest of the travel spread over the whole range.
int ScaleAxis(int raw, int range, int deadZonePercent);

// X below 0 is left, above 0 right; Y below 0 up, above 0 down; button n sets InputButton(n).
TDXInputStates JoystickStates(int x, int y, uint32_t buttons);

}  // namespace grottix
