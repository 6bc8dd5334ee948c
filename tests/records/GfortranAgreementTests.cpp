// Agreement with gfortran on many random fields: writes through F, E and I (float, double and
// integer items) and reads of F, E and I fields. The values come from a fixed seed; a small
// Fortran program converts the same tasks. gfortran may write an optional zero before the point
// ("0.50", "-0.50", "0.123E+03"), which this system never writes; it is removed before comparing.
// The Fortran formats start with RC so that gfortran too rounds halves away from zero.

#include "TestSupport.hpp"
#include "records/FieldRead.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#ifndef REFERENCE_PROGRAM
#error "REFERENCE_PROGRAM must name the compiled Fortran reference program"
#endif

namespace tarnova {
namespace {

constexpr int writeTaskCount = 110000;
constexpr int readTaskCount = 45000;

struct Random {
    std::mt19937_64 engine{20261208};
    std::uint64_t next() { return engine(); }
    double uniform() { return static_cast<double>(next() >> 11) * 0x1p-53; }
    int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }
    bool chance(double p) { return uniform() < p; }
};

enum class Op { writeDouble, writeFloat, writeInteger, readDouble, readFloat, readInteger };

struct Task {
    Op op;
    std::string format;   // ours, without RC
    int width;
    double real = 0;
    std::int32_t integer = 0;
    std::string field;    // reads
    int fraction = 0;     // d of a read format
};

std::string shortest(double v)
{
    char b[40];
    return std::string(b, std::to_chars(b, b + sizeof b, v).ptr);
}
std::string shortest(float v)
{
    char b[40];
    return std::string(b, std::to_chars(b, b + sizeof b, v).ptr);
}

// Exact number of significant decimal digits of a positive finite double (none when zero).
int exactSignificantCount(double v)
{
    char b[1500];
    char* end = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, 1100).ptr;
    while (end > b && (end[-1] == '0')) --end;
    if (end > b && end[-1] == '.') --end;
    char* p = b;
    while (p < end && (*p == '0' || *p == '.')) ++p;
    int n = 0;
    for (; p < end; ++p) n += *p != '.';
    return n;
}

double realForFixed(Random& r, int width, int d, bool single)
{
    double sign = r.chance(0.4) ? -1.0 : 1.0;
    int maxInt = std::max(0, width - d - 2);
    switch (r.range(0, 9)) {
    case 0: case 1: case 2:
        return sign * std::pow(10.0, -d - 2 + r.uniform() * (maxInt + d + 3));
    case 3: case 4: {   // exact tie at d decimals: an odd number over 2^(d+1)
        std::uint64_t limit = single ? (1u << 20) : (std::uint64_t{1} << 40);
        double span = std::pow(10.0, maxInt) * std::ldexp(1.0, d + 1);
        std::uint64_t odd = (r.next() % std::min<std::uint64_t>(limit, static_cast<std::uint64_t>(span) + 1)) | 1u;
        return sign * std::ldexp(static_cast<double>(odd), -(d + 1));
    }
    case 5: {   // next to a tie
        double tie = std::ldexp(static_cast<double>((r.next() % 100000) | 1u), -(d + 1));
        double near = std::nextafter(tie, r.chance(0.5) ? 0.0 : 1e300);
        return sign * (single ? static_cast<double>(std::nextafter(static_cast<float>(tie), r.chance(0.5) ? 0.0f : 1e30f)) : near);
    }
    case 6:   // too wide for the field
        return sign * std::pow(10.0, maxInt + r.uniform() * 3);
    case 7:   // zero, negative zero and negative values that round to zero
        if (r.chance(0.3)) return 0.0;
        if (r.chance(0.3)) return -0.0;
        return -std::pow(10.0, -d - 1 - r.uniform() * 3);
    default:   // a short decimal
        return sign * static_cast<double>(r.range(0, 99999)) / std::pow(10.0, r.range(0, 5));
    }
}

// An E value and, for ties, the d that makes it one.
double realForExponent(Random& r, int& d, bool single)
{
    double sign = r.chance(0.4) ? -1.0 : 1.0;
    switch (r.range(0, 9)) {
    case 0: case 1: case 2: {
        int span = single ? 37 : 300;
        return sign * std::pow(10.0, -span + r.uniform() * 2 * span);
    }
    case 3: case 4: case 5: {   // exact tie: an odd number over a power of two with d+1 digits
        for (int attempt = 0; attempt < 20; ++attempt) {
            double v = std::ldexp(static_cast<double>((r.next() % (single ? (1u << 20) : (1u << 30))) | 1u),
                                  -r.range(1, 12));
            if (r.chance(0.3)) v = std::ldexp(static_cast<double>(r.range(1, 99999) * 10 + 5), r.range(0, 3)) / 1.0;
            int count = exactSignificantCount(v);
            if (count >= 2 && count <= 9) {
                d = count - 1;
                return sign * v;
            }
        }
        return sign * 1.5;
    }
    case 6: {   // next to a value with few digits
        double v = static_cast<double>(r.range(1, 99999)) * std::pow(10.0, r.range(-8, 8));
        return sign * (single ? static_cast<double>(std::nextafter(static_cast<float>(v), 0.0f)) : std::nextafter(v, 1e300));
    }
    case 7:
        return r.chance(0.5) ? 0.0 : -0.0;
    case 8:   // rounds up into the next power of ten
        return sign * (1.0 - std::pow(10.0, -r.range(2, 9))) * std::pow(10.0, r.range(-20, 20));
    default:
        return sign * static_cast<double>(r.range(0, 99999)) / std::pow(10.0, r.range(0, 5));
    }
}

Task makeWrite(Random& r)
{
    Task t;
    int kind = r.range(0, 9);
    if (kind < 2) {
        t.op = Op::writeInteger;
        t.width = r.range(1, 12);
        bool minimum = r.chance(0.3);
        int m = r.range(0, t.width);
        t.format = "(I" + std::to_string(t.width) + (minimum ? "." + std::to_string(m) : "") + ")";
        if (r.chance(0.2)) {
            t.integer = static_cast<std::int32_t>(static_cast<std::uint32_t>(r.next()));
        } else {
            double magnitude = std::pow(10.0, r.uniform() * t.width);
            t.integer = static_cast<std::int32_t>(magnitude) * (r.chance(0.4) ? -1 : 1);
        }
        return t;
    }
    bool single = kind < 6;
    t.op = single ? Op::writeFloat : Op::writeDouble;
    if (r.chance(0.5)) {
        int d = r.range(0, 6);
        t.width = r.range(std::max(2, d + 1), 16);
        t.real = realForFixed(r, t.width, d, single);
        t.format = "(F" + std::to_string(t.width) + "." + std::to_string(d) + ")";
    } else {
        int d = r.range(1, 8);
        t.real = realForExponent(r, d, single);
        t.width = d + r.range(4, 9);
        t.format = "(E" + std::to_string(t.width) + "." + std::to_string(d) + ")";
    }
    if (single) t.real = static_cast<double>(static_cast<float>(t.real));
    return t;
}

std::string digits(Random& r, int n)
{
    std::string s;
    for (int k = 0; k < n; ++k) s.push_back(static_cast<char>('0' + r.range(0, 9)));
    return s;
}

Task makeRead(Random& r)
{
    Task t;
    int kind = r.range(0, 9);
    std::string text;
    if (kind < 2) {
        t.op = Op::readInteger;
        if (r.chance(0.3)) text += r.chance(0.6) ? "-" : "+";
        text += digits(r, r.range(1, 9));
    } else {
        t.op = kind < 6 ? Op::readFloat : Op::readDouble;
        if (r.chance(0.3)) text += r.chance(0.6) ? "-" : "+";
        int whole = r.range(0, 7);
        int part = r.range(whole == 0 ? 1 : 0, 7);   // a mantissa digit always (see the error tests)
        text += digits(r, whole);
        if (r.chance(0.6)) text += "." + digits(r, part);
        else if (whole == 0) text += digits(r, 1 + part % 4);
        if (r.chance(0.35)) {
            static const char* letters[] = {"E", "e", "D", "d", ""};
            std::string letter = letters[r.range(0, 4)];
            std::string sign = r.chance(0.5) ? (r.chance(0.5) ? "-" : "+") : "";
            if (letter.empty() && sign.empty()) sign = "+";
            int limit = t.op == Op::readFloat ? 25 : 250;
            text += letter + sign + std::to_string(r.range(0, limit));
        }
    }
    if (r.chance(0.1)) text.insert(static_cast<std::size_t>(r.range(0, static_cast<int>(text.size()))), " ");
    if (r.chance(0.03)) {
        static const char bad[] = {'x', '*', '#', '/'};
        text.insert(static_cast<std::size_t>(r.range(0, static_cast<int>(text.size()))), 1, bad[r.range(0, 3)]);
    }
    text = std::string(static_cast<std::size_t>(r.range(0, 4)), ' ') + text +
           std::string(static_cast<std::size_t>(r.range(0, 3)), ' ');
    t.field = text;
    t.width = static_cast<int>(text.size());
    if (t.op == Op::readInteger) {
        t.format = "(I" + std::to_string(t.width) + ")";
    } else {
        t.fraction = r.range(t.op == Op::readFloat && r.chance(0.5) ? 1 : 0, 5);
        bool exponentForm = r.chance(0.3) && t.fraction > 0;
        t.format = std::string(exponentForm ? "(E" : "(F") + std::to_string(t.width) + "." + std::to_string(t.fraction) + ")";
    }
    return t;
}

std::string taskLine(const Task& t)
{
    static const char* codes[] = {"W8", "W4", "WI", "R8", "R4", "RI"};
    bool write = t.op == Op::writeDouble || t.op == Op::writeFloat || t.op == Op::writeInteger;
    std::string fmt = write && t.op != Op::writeInteger ? "(RC," + t.format.substr(1) : t.format;
    char head[40];
    std::snprintf(head, sizeof head, "%-2s %-20s %3d ", codes[static_cast<int>(t.op)], fmt.c_str(), t.width);
    std::string value;
    switch (t.op) {
    case Op::writeDouble: value = shortest(t.real); break;
    case Op::writeFloat: value = shortest(static_cast<float>(t.real)); break;
    case Op::writeInteger: value = std::to_string(t.integer); break;
    default: value = t.field; break;
    }
    return head + value;
}

// gfortran's field without its optional zero before the point, right-justified again.
std::string withoutOptionalZero(const std::string& field)
{
    std::size_t first = field.find_first_not_of(' ');
    if (first == std::string::npos) return field;
    std::size_t zero = field[first] == '-' ? first + 1 : first;
    if (zero + 2 < field.size() + 0 && field[zero] == '0' && field[zero + 1] == '.' && zero + 2 < field.size() &&
        std::isdigit(static_cast<unsigned char>(field[zero + 2]))) {
        return " " + field.substr(0, zero) + field.substr(zero + 1);
    }
    return field;
}

std::string ourResult(const Task& t)
{
    char hex[24];
    switch (t.op) {
    case Op::writeDouble:
    case Op::writeFloat:
    case Op::writeInteger: {
        FixedText out(static_cast<std::size_t>(t.width));
        if (t.op == Op::writeInteger) formatToText(out, t.format, {t.integer});
        else if (t.op == Op::writeFloat) formatToText(out, t.format, {static_cast<float>(t.real)});
        else formatToText(out, t.format, {t.real});
        return out.str();
    }
    case Op::readDouble: {
        double v = 0;
        if (records::readReal(t.field, t.fraction, v) != records::FieldStatus::ok) return "ERR";
        std::snprintf(hex, sizeof hex, "%016llX", static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(v)));
        return hex;
    }
    case Op::readFloat: {
        float v = 0;
        if (records::readReal(t.field, t.fraction, v) != records::FieldStatus::ok) return "ERR";
        std::snprintf(hex, sizeof hex, "%08X", std::bit_cast<std::uint32_t>(v));
        return hex;
    }
    case Op::readInteger: {
        std::int32_t v = 0;
        if (records::readInteger(t.field, v) != records::FieldStatus::ok) return "ERR";
        std::snprintf(hex, sizeof hex, "%12d", v);
        return hex;
    }
    }
    return "";
}

TEST(GfortranAgreement, RandomFieldsWriteAndReadAlike)
{
    testing::ScratchDirectory dir("gfortran");
    Random random;
    std::vector<Task> tasks;
    tasks.reserve(writeTaskCount + readTaskCount);
    for (int k = 0; k < writeTaskCount; ++k) tasks.push_back(makeWrite(random));
    for (int k = 0; k < readTaskCount; ++k) tasks.push_back(makeRead(random));
    {
        std::ofstream in("tasks.txt", std::ios::binary);
        for (const Task& t : tasks) in << taskLine(t) << '\n';
    }
    std::string command = std::string("\"") + REFERENCE_PROGRAM + "\" tasks.txt results.txt";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    std::ifstream results("results.txt", std::ios::binary);
    std::string line;
    int compared = 0;
    int differences = 0;
    int ties = 0;
    std::ostringstream firstDifferences;
    for (const Task& t : tasks) {
        ASSERT_TRUE(std::getline(results, line)) << "the reference program stopped after " << compared << " tasks";
        bool write = t.op == Op::writeDouble || t.op == Op::writeFloat || t.op == Op::writeInteger;
        std::string theirs = write ? withoutOptionalZero(line) : line;
        std::string ours = ourResult(t);
        ++compared;
        if (ours != theirs) {
            if (++differences <= 20)
                firstDifferences << taskLine(t) << "\n   ours [" << ours << "] gfortran [" << theirs << "]\n";
        }
        if (write && t.op != Op::writeInteger && t.format[1] == 'F') {
            int d = std::atoi(t.format.c_str() + t.format.find('.') + 1);
            double scaled = std::fabs(t.real) * std::pow(10.0, d);
            ties += scaled - std::floor(scaled) == 0.5;
        }
    }
    EXPECT_EQ(differences, 0) << firstDifferences.str();
    EXPECT_EQ(compared, writeTaskCount + readTaskCount);
    EXPECT_GT(ties, 1000);   // exact halves really were exercised
    RecordProperty("fieldsCompared", compared);
}

} // namespace
} // namespace tarnova
