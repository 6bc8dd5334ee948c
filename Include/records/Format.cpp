// Parsing of the record-format notation into a compact description.

#include "records/Format.hpp"

#include <charconv>

namespace tarnova::records {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

struct Cursor {
    std::string_view s;   // the whole source, so that offsets in reports are from its start
    std::size_t pos;
    std::size_t end;      // offset of the closing ")"

    void skipBlanks()
    {
        while (pos < end && (s[pos] == ' ' || s[pos] == '\t')) ++pos;
    }
    bool atEnd() { skipBlanks(); return pos >= end; }
    char peek() { skipBlanks(); return pos < end ? s[pos] : '\0'; }
    // Unsigned integer, blanks ignored; -1 when no digit stands here.
    std::int32_t number()
    {
        skipBlanks();
        if (pos >= end || !isDigit(s[pos])) return -1;
        std::int64_t v = 0;
        while (true) {
            skipBlanks();
            if (pos >= end || !isDigit(s[pos])) break;
            v = v * 10 + (s[pos] - '0');
            if (v > 1000000) v = 1000000;   // far beyond any limit checked below
            ++pos;
        }
        return static_cast<std::int32_t>(v);
    }
};

// Offset of the ")" that closes the "(" at `open`, skipping apostrophe literals; npos if none.
std::size_t matchingParenthesis(std::string_view s, std::size_t open)
{
    int depth = 0;
    bool inLiteral = false;
    for (std::size_t i = open; i < s.size(); ++i) {
        char c = s[i];
        if (c == '\'') {
            inLiteral = !inLiteral;   // a doubled '' toggles twice and stays inside
        } else if (!inLiteral) {
            if (c == '(') {
                ++depth;
            } else if (c == ')') {
                if (--depth == 0) return i;
            }
        }
    }
    return std::string_view::npos;
}

} // namespace

bool parseFormat(std::string_view source, ParsedFormat& out, const char*& problem, std::size_t& problemOffset)
{
    out.count = 0;
    out.hasData = false;
    out.text = {};
    out.source = source;
    std::size_t open = 0;
    while (open < source.size() && source[open] == ' ') ++open;
    auto fail = [&](const char* what, std::size_t at) {
        problem = what;
        problemOffset = at;
        return false;
    };
    if (open >= source.size() || source[open] != '(') return fail("a format must begin with \"(\"", open);
    std::size_t close = matchingParenthesis(source, open);
    if (close == std::string_view::npos) return fail("the format has no closing \")\"", source.size());
    out.text = source.substr(open, close - open + 1);

    Cursor c{source, open + 1, close};
    auto add = [&](const Descriptor& d) {
        if (out.count >= maxDescriptors) return false;
        out.items[out.count++] = d;
        if (isData(d.edit)) out.hasData = true;
        return true;
    };
    while (!c.atEnd()) {
        char ch = c.peek();
        if (ch == ',') {
            ++c.pos;
            continue;
        }
        std::size_t start = c.pos;
        Descriptor d = Descriptor::make(Edit::skip);
        if (ch == '\'') {
            std::size_t i = c.pos + 1;
            bool doubled = false;
            while (true) {
                if (i >= close) return fail("unterminated literal", start);
                if (source[i] == '\'') {
                    if (i + 1 < close && source[i + 1] == '\'') {
                        doubled = true;
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            d.edit = Edit::literal;
            d.doubledQuotes = doubled;
            d.literalStart = static_cast<std::uint32_t>(c.pos + 1);
            d.literalLength = static_cast<std::uint32_t>(i - c.pos - 1);
            c.pos = i + 1;
            if (!add(d)) return fail("too many descriptors in one format", start);
            continue;
        }
        std::int32_t count = c.number();
        if (count == 0) return fail("a repeat count must be at least 1", start);
        char letter = upper(c.peek());
        if (letter == '\0') return fail("a repeat count must be followed by a descriptor", start);
        ++c.pos;
        switch (letter) {
        case '/':
            d.edit = Edit::recordEnd;
            d.repeat = count > 0 ? count : 1;
            break;
        case 'X':
            d.edit = Edit::skip;
            d.width = count > 0 ? count : 1;
            break;
        case 'A':
            d.edit = Edit::text;
            d.repeat = count > 0 ? count : 1;
            d.width = c.number();
            if (d.width == 0 || d.width > maxTextWidth) return fail("the width of A must be from 1 to 32767", start);
            if (d.width < 0) d.width = 0;
            break;
        case 'I':
        case 'F':
        case 'E': {
            d.edit = letter == 'I' ? Edit::integer : letter == 'F' ? Edit::fixed : Edit::exponent;
            d.repeat = count > 0 ? count : 1;
            d.width = c.number();
            if (d.width < 1 || d.width > maxNumericWidth) return fail("a numeric field needs a width from 1 to 255", start);
            if (c.peek() == '.') {
                ++c.pos;
                d.digits = c.number();
                if (d.digits < 0) return fail("digits expected after \".\"", c.pos);
                if (d.digits > maxNumericWidth) return fail("too many digits", start);
            }
            if (letter != 'I' && d.digits < 0) return fail("F and E need a number of digits (Fw.d, Ew.d)", start);
            if (letter == 'E' && d.digits < 1) return fail("E needs at least one digit (Ew.d, d >= 1)", start);
            if (letter == 'I' && d.digits > d.width) return fail("Iw.m needs m <= w", start);
            break;
        }
        case '(':
            return fail("nested groups are outside the notation", start);
        default:
            return fail("unknown descriptor", start);
        }
        if (!add(d)) return fail("too many descriptors in one format", start);
    }
    return true;
}

std::string_view describe(const Descriptor& d, char* buffer, std::size_t size)
{
    char* p = buffer;
    char* end = buffer + size;
    auto put = [&](char ch) { if (p < end) *p++ = ch; };
    auto num = [&](std::int32_t v) { p = std::to_chars(p, end, v).ptr; };
    switch (d.edit) {
    case Edit::integer: put('I'); num(d.width); if (d.digits >= 0) { put('.'); num(d.digits); } break;
    case Edit::fixed: put('F'); num(d.width); put('.'); num(d.digits); break;
    case Edit::exponent: put('E'); num(d.width); put('.'); num(d.digits); break;
    case Edit::text: put('A'); if (d.width > 0) num(d.width); break;
    case Edit::skip: num(d.width); put('X'); break;
    case Edit::recordEnd: put('/'); break;
    case Edit::literal: put('\''); put('.'); put('.'); put('\''); break;
    }
    return std::string_view(buffer, static_cast<std::size_t>(p - buffer));
}

} // namespace tarnova::records
