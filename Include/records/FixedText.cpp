// Fixed-length text values.

#include "records/FixedText.hpp"

#include <algorithm>

namespace tarnova {

FixedText::FixedText(std::size_t length, std::string_view initial) : text_(length, ' ')
{
    *this = initial;
}

FixedText& FixedText::operator=(std::string_view text)
{
    std::size_t n = std::min(text.size(), text_.size());
    // The source may be a view of this variable itself: move, then pad.
    std::char_traits<char>::move(text_.data(), text.data(), n);
    std::fill(text_.begin() + static_cast<std::ptrdiff_t>(n), text_.end(), ' ');
    return *this;
}

FixedText& FixedText::operator=(const FixedText& other)
{
    if (this != &other) *this = other.view();
    return *this;
}

std::size_t FixedText::trimmedLength() const { return tarnova::trimmedLength(text_); }

void FixedText::blank() { std::fill(text_.begin(), text_.end(), ' '); }

std::size_t trimmedLength(std::string_view text)
{
    std::size_t n = text.size();
    while (n > 0 && text[n - 1] == ' ') --n;
    return n;
}

bool equalPadded(std::string_view a, std::string_view b)
{
    if (a.size() > b.size()) std::swap(a, b);
    if (b.substr(0, a.size()) != a) return false;
    for (std::size_t i = a.size(); i < b.size(); ++i)
        if (b[i] != ' ') return false;
    return true;
}

} // namespace tarnova
