#include "device/qt/KeyMapping.h"

#include <unordered_map>

namespace grottix {

namespace {

// Keypad keys, with Num Lock on (digits) and off (navigation keys).
int keypadKey(int key) {
    switch (key) {
        case Qt::Key_0: case Qt::Key_Insert: return 0x60;
        case Qt::Key_1: case Qt::Key_End: return 0x61;
        case Qt::Key_2: case Qt::Key_Down: return 0x62;
        case Qt::Key_3: case Qt::Key_PageDown: return 0x63;
        case Qt::Key_4: case Qt::Key_Left: return 0x64;
        case Qt::Key_5: case Qt::Key_Clear: return 0x65;
        case Qt::Key_6: case Qt::Key_Right: return 0x66;
        case Qt::Key_7: case Qt::Key_Home: return 0x67;
        case Qt::Key_8: case Qt::Key_Up: return 0x68;
        case Qt::Key_9: case Qt::Key_PageUp: return 0x69;
        case Qt::Key_Asterisk: return 0x6A;
        case Qt::Key_Plus: return 0x6B;
        case Qt::Key_Minus: return 0x6D;
        case Qt::Key_Period: case Qt::Key_Comma: case Qt::Key_Delete: return 0x6E;
        case Qt::Key_Slash: return 0x6F;
        case Qt::Key_Enter: case Qt::Key_Return: return 0x0D;
        default: return 0;
    }
}

const std::unordered_map<int, int>& mainKeys() {
    static const std::unordered_map<int, int> keys = {
        {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09}, {Qt::Key_Backtab, 0x09}, {Qt::Key_Clear, 0x0C},
        {Qt::Key_Return, 0x0D}, {Qt::Key_Enter, 0x0D}, {Qt::Key_Shift, 0x10}, {Qt::Key_Control, 0x11},
        {Qt::Key_Alt, 0x12}, {Qt::Key_AltGr, 0x12}, {Qt::Key_Pause, 0x13}, {Qt::Key_CapsLock, 0x14},
        {Qt::Key_Escape, 0x1B}, {Qt::Key_Space, 0x20}, {Qt::Key_PageUp, 0x21}, {Qt::Key_PageDown, 0x22},
        {Qt::Key_End, 0x23}, {Qt::Key_Home, 0x24}, {Qt::Key_Left, 0x25}, {Qt::Key_Up, 0x26},
        {Qt::Key_Right, 0x27}, {Qt::Key_Down, 0x28}, {Qt::Key_Print, 0x2C}, {Qt::Key_Insert, 0x2D},
        {Qt::Key_Delete, 0x2E}, {Qt::Key_Meta, 0x5B}, {Qt::Key_Menu, 0x5D}, {Qt::Key_NumLock, 0x90},
        {Qt::Key_ScrollLock, 0x91},
        // Punctuation of a US layout, shifted or not.
        {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Colon, 0xBA}, {Qt::Key_Equal, 0xBB}, {Qt::Key_Plus, 0xBB},
        {Qt::Key_Comma, 0xBC}, {Qt::Key_Less, 0xBC}, {Qt::Key_Minus, 0xBD}, {Qt::Key_Underscore, 0xBD},
        {Qt::Key_Period, 0xBE}, {Qt::Key_Greater, 0xBE}, {Qt::Key_Slash, 0xBF}, {Qt::Key_Question, 0xBF},
        {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB},
        {Qt::Key_BraceLeft, 0xDB}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_Bar, 0xDC}, {Qt::Key_BracketRight, 0xDD},
        {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE}, {Qt::Key_QuoteDbl, 0xDE},
        // Shifted digits of a US layout.
        {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},
        {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'},
        {Qt::Key_ParenLeft, '9'}, {Qt::Key_ParenRight, '0'},
    };
    return keys;
}

}  // namespace

int VirtualKeyOf(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (const int code = keypadKey(key)) return code;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
    const auto& keys = mainKeys();
    const auto found = keys.find(key);
    return found == keys.end() ? 0 : found->second;
}

}  // namespace grottix
