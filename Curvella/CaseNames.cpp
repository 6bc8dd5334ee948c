#include "CaseNames.hpp"

#include "Utilitar.hpp"
#include "records/FixedText.hpp"
#include "records/Records.hpp"

#include <algorithm>

namespace tarnova {

CasePathParts splitCasePath(std::string_view casePath)
{
    PathParts path = splitPath(casePath);
    CasePathParts parts;
    parts.directory = std::move(path.directory);
    parts.curveFileName = path.fileName.substr(0, std::min(path.fileName.size(), fileNameLength));
    return parts;
}

namespace {

std::string_view leading(std::string_view text, std::size_t dropped)
{
    const std::size_t n = trimmedLength(text);
    return text.substr(0, n > dropped ? n - dropped : 0);
}

} // namespace

std::string geometryFileName(std::string_view curveFileName)
{
    return std::string(leading(curveFileName, 3)) + "geo";
}

std::string shipName(std::string_view curveFileName)
{
    return std::string(leading(curveFileName, 4));
}

ExtensionCheck checkExtension(std::string_view curveFileName)
{
    FixedText name(fileNameLength, curveFileName);
    const std::size_t n = name.trimmedLength();
    const std::size_t dot = name.trimmed().find_last_of('.');
    // Zero-based index of the extension's first letter (the name's first when there is no dot).
    const std::size_t first = dot == std::string_view::npos ? 0 : dot + 1;

    FixedText expected(fileNameLength, name.view());
    if (first < fileNameLength) expected[first] = 't';
    if (first + 1 < fileNameLength) expected[first + 1] = 'e';

    auto letterAt = [&](std::size_t i) { return i < fileNameLength ? upperCaseChar(name[i]) : ' '; };
    ExtensionCheck check;
    check.passes = letterAt(first) == 'T' || letterAt(first + 1) == 'E';
    check.expectedName = std::string(expected.view().substr(0, n));
    return check;
}

std::string elementDigits(int element)
{
    FixedText digits(3);
    formatToText(digits, "(I3)", {static_cast<std::int32_t>(element)});
    if (digits[0] == ' ') digits[0] = '0';
    if (digits[1] == ' ') digits[1] = '0';
    return digits.str();
}

std::string elementListingName(int element)
{
    return "Element." + elementDigits(element);
}

std::string elementImageName(int element)
{
    return "Elem" + elementDigits(element) + ".bmp";
}

} // namespace tarnova
