#pragma once
// Translation of window-system key presses into what readKey returns: a character as typed, or
// 0 followed by the classic PC scan code for a key without one.

#include <SDL_keycode.h>

#include <vector>

namespace tarnova::sdl {

struct KeyPress {
    bool produced = false;  // false: the key yields nothing here (its character comes as text)
    int character = 0;      // 0 for a key without a character
    int code = 0;           // classic scan code when character is 0
};

// Key codes of the classic PC keyboard that the programs compare with.
namespace scanCode {
inline constexpr int f1 = 59, f10 = 68, f11 = 133, f12 = 134;
inline constexpr int home = 71, up = 72, pageUp = 73, left = 75, right = 77;
inline constexpr int end = 79, down = 80, pageDown = 81, insert = 82, del = 83;
inline constexpr int backTab = 15;  // Shift+Tab
} // namespace scanCode

// A key-down event's contribution to the program's key queue. Printable characters are not
// produced here: they arrive as text input, so that the keyboard layout is honoured.
KeyPress translateKeyDown(SDL_Keycode key, unsigned modifiers);

// The characters of one text-input event (UTF-8). Only ASCII is passed on: the programs' texts
// are single-byte in a code page the window system does not know, so other characters are
// dropped rather than guessed.
std::vector<int> textInputCharacters(const char* utf8);

} // namespace tarnova::sdl
