#pragma once
// Named key codes of readKey. A key with a character returns that character; a key without one
// returns 0 first and then its classic PC scan code (below, after the ordinary keys).

namespace tarnova::fkey {

inline constexpr int backspace = 8;
inline constexpr int tab = 9;
inline constexpr int enter = 13;        // carriage return
inline constexpr int escape = 27;
inline constexpr int space = 32;

// Codes of keys without a character, read after the 0.
inline constexpr int f1 = 59;
inline constexpr int f2 = 60;
inline constexpr int f3 = 61;
inline constexpr int f4 = 62;
inline constexpr int f5 = 63;
inline constexpr int f6 = 64;
inline constexpr int f7 = 65;
inline constexpr int f8 = 66;
inline constexpr int f9 = 67;
inline constexpr int f10 = 68;
inline constexpr int f11 = 133;
inline constexpr int f12 = 134;
inline constexpr int home = 71;
inline constexpr int up = 72;
inline constexpr int pageUp = 73;
inline constexpr int left = 75;
inline constexpr int right = 77;
inline constexpr int end = 79;
inline constexpr int down = 80;
inline constexpr int pageDown = 81;
inline constexpr int insert = 82;
inline constexpr int del = 83;

} // namespace tarnova::fkey
