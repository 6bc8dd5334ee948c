#pragma once
// The typed entry of Pickara's prompt strip and the rule that accepts it, free of any display.
// There is no editing: every key but Enter is appended (Backspace and Escape too), a blank adds
// nothing, and the entry keeps only its first ten characters.

#include <string>
#include <string_view>

namespace tarnova::pickara {

inline constexpr std::size_t entryLength = 10;
inline constexpr int enterKey = 13;

// The entry after one more key: the entry up to its trimmed length followed by the key's
// character, cut to ten characters.
std::string appendKey(std::string_view entry, int key);

// The element number the entry names, or -1 when it is refused: not a whole number (empty, a
// blank or letter inside, a stray sign) or outside 1 to elementCount. A number too long for 32
// bits is simply out of range.
int acceptedElement(std::string_view entry, int elementCount);

} // namespace tarnova::pickara
