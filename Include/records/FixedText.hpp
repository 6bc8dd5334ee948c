#pragma once
// Fixed-length text values: every text variable of the case files and screens has a declared
// length; assignment pads with blanks or cuts, and comparison treats the shorter as blank-padded.

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnova {

class FixedText {
public:
    explicit FixedText(std::size_t length, std::string_view initial = {});

    // Copies from the left, then pads with blanks or cuts what does not fit.
    FixedText& operator=(std::string_view text);
    FixedText& operator=(const FixedText& other);   // keeps this variable's own length
    FixedText(const FixedText&) = default;

    std::size_t length() const { return text_.size(); }
    // The whole declared length, blanks included.
    std::string_view view() const { return text_; }
    operator std::string_view() const { return text_; }
    const std::string& str() const { return text_; }

    // Position of the last non-blank character (0 when all blank).
    std::size_t trimmedLength() const;
    std::string_view trimmed() const { return std::string_view(text_).substr(0, trimmedLength()); }

    // Zero-based character access (the declared length never changes).
    char& operator[](std::size_t i) { return text_[i]; }
    char operator[](std::size_t i) const { return text_[i]; }
    char* data() { return text_.data(); }

    void blank();

private:
    std::string text_;
};

// Position of the last non-blank character of any text (0 when all blank).
std::size_t trimmedLength(std::string_view text);
// Comparison as if the shorter text were padded with blanks on the right.
bool equalPadded(std::string_view a, std::string_view b);

inline bool operator==(const FixedText& a, const FixedText& b) { return equalPadded(a.view(), b.view()); }
inline bool operator==(const FixedText& a, std::string_view b) { return equalPadded(a.view(), b); }

// Concatenation joins the full declared lengths, blanks included.
inline std::string operator+(const FixedText& a, std::string_view b) { return a.str() + std::string(b); }
inline std::string operator+(std::string_view a, const FixedText& b) { return std::string(a) + b.str(); }
inline std::string operator+(const FixedText& a, const FixedText& b) { return a.str() + b.str(); }

} // namespace tarnova
