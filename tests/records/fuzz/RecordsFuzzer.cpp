// libFuzzer target for the format parser and the field conversions: the first line of the input
// is a format, the rest a field. Every parsed data descriptor reads the field and writes a value
// taken from the input; written fields must have exactly their width.

#include "records/FieldRead.hpp"
#include "records/FieldWrite.hpp"
#include "records/Format.hpp"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnova::records;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t newline = input.find('\n');
    std::string_view formatText = input.substr(0, newline);
    std::string_view field = newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

    static ParsedFormat parsed;
    const char* problem = nullptr;
    std::size_t at = 0;
    if (!parseFormat(formatText, parsed, problem, at)) return 0;

    double value = 0;
    if (size >= sizeof value) std::memcpy(&value, data + size - sizeof value, sizeof value);
    std::string record;
    for (int k = 0; k < parsed.count; ++k) {
        const Descriptor& d = parsed.items[k];
        std::string_view f = field.substr(0, static_cast<std::size_t>(d.width > 0 ? d.width : 8));
        record.clear();
        switch (d.edit) {
        case Edit::integer: {
            std::int32_t i = 0;
            (void)readInteger(f, i);
            writeInteger(record, i, d.width, d.digits);
            break;
        }
        case Edit::fixed:
        case Edit::exponent: {
            double r = 0;
            float s = 0;
            (void)readReal(f, d.digits, r);
            (void)readReal(f, d.digits, s);
            if (d.edit == Edit::fixed) writeFixed(record, value, d.width, d.digits);
            else writeExponent(record, value, d.width, d.digits);
            break;
        }
        default:
            continue;
        }
        if (record.size() != static_cast<std::size_t>(d.width)) std::abort();
    }
    return 0;
}
