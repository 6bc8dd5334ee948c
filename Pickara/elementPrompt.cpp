#include "elementPrompt.hpp"

#include "Utilitar.hpp"
#include "records/FixedText.hpp"

#include <cstdint>

namespace tarnova::pickara {

std::string appendKey(std::string_view entry, int key)
{
    FixedText next(entryLength);
    next = std::string(entry.substr(0, trimmedLength(entry))) + static_cast<char>(key);
    return next.str();
}

int acceptedElement(std::string_view entry, int elementCount)
{
    const ParsedInteger parsed = textToInteger(entry);
    if (!parsed.ok) return -1;

    // The syntax is sound; take the value again in 64 bits so that ten digits cannot wrap
    // into range.
    std::int64_t value = 0;
    bool negative = false;
    for (char c : entry.substr(0, trimmedLength(entry))) {
        if (c == '-') negative = true;
        if (c >= '0' && c <= '9') value = 10 * value + (c - '0');
    }
    if (negative) value = -value;
    if (value < 1 || value > elementCount) return -1;
    return static_cast<int>(value);
}

} // namespace tarnova::pickara
