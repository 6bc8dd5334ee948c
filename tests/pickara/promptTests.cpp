// The prompt strip's entry and acceptance rules: keys typed, then Enter, give the element number
// or a refusal (-1), after which the prompt is shown again.

#include "elementPrompt.hpp"

#include <gtest/gtest.h>

#include <string>

namespace tarnova::pickara {
namespace {

// Feeds the keys as the prompt does until Enter and returns what the entry gives.
int typed(const std::string& keys, int elementCount)
{
    std::string entry(entryLength, ' ');
    for (unsigned char key : keys) {
        if (key == enterKey) break;
        entry = appendKey(entry, key);
    }
    return acceptedElement(entry, elementCount);
}

struct PromptCase {
    std::string keys;
    int elementCount;
    int result;
};

TEST(PickaraPrompt, TypedEntriesGiveTheElementOrARefusal)
{
    const PromptCase cases[] = {
        {"42", 120, 42},
        {"4" "2", 120, 42},
        {"1", 120, 1},
        {"120", 120, 120},
        {"+7", 120, 7},
        {"007", 120, 7},
        {" 7", 120, 7},          // a blank on an empty entry adds nothing
        {"4 2", 120, 42},        // nor does one after a digit: blanks never stay inside
        {"", 120, -1},           // Enter alone
        {"0", 120, -1},
        {"121", 120, -1},
        {"601", 600, -1},
        {"- 5", 120, -1},        // the entry reads -5
        {"-5", 120, -1},
        {"1a", 120, -1},
        {"a1", 120, -1},
        {"--1", 120, -1},
        {"3-", 120, -1},
        {"+", 120, -1},
        {"4\b", 120, -1},        // Backspace is a character like any other
        {"4\b2", 120, -1},
        {"\x1b" "7", 120, -1},   // Escape too
        {std::string("\0H", 2), 120, -1},  // an arrow key: 0, then its code
        {"7\r99", 120, 7},       // keys after Enter belong to the next prompt
    };
    for (const PromptCase& c : cases) {
        EXPECT_EQ(typed(c.keys, c.elementCount), c.result) << '"' << c.keys << '"';
    }
}

TEST(PickaraPrompt, EntryKeepsOnlyItsFirstTenCharacters)
{
    std::string entry(entryLength, ' ');
    for (char key : std::string("000000000712")) entry = appendKey(entry, key);
    EXPECT_EQ(entry, "0000000007");
    EXPECT_EQ(acceptedElement(entry, 600), 7);
    EXPECT_EQ(typed("000000000000000001", 600), -1);  // the 1 never arrives
}

TEST(PickaraPrompt, NumbersBeyondThirtyTwoBitsAreRefusedNotWrapped)
{
    EXPECT_EQ(typed("9999999999", 600), -1);
    EXPECT_EQ(typed("4294967303", 600), -1);    // 2^32 + 7
    EXPECT_EQ(typed("-4294967289", 600), -1);   // -(2^32 - 7), cut to ten characters
    EXPECT_EQ(typed("2147483648", 600), -1);
}

} // namespace
} // namespace tarnova::pickara
