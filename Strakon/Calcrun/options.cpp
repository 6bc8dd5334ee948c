// Analysis options: one option record per case study, its echoes and the case results file name.

#include "Engine.hpp"
#include "records/Records.hpp"

#include <cmath>
#include <cstdint>

namespace tarnova::calcrun {

namespace {

constexpr std::string_view echoFormat =
    "(/,/,'E/B/T',I2,10X,'SHED/CONST',I2,10X,'CORR/NO COR',I2,/,'TENS.BLOCK WIDTH=',F4.1,2X,"
    "'INITIAL DISTORSION=',F6.4,3X,'ANGLE OF HEEL=',F6.1,' DEGREE')";

// One name character for a code: its digit (0 to 9 give "0" to "9", larger codes the characters
// after "9", up to "~" for 78). A code outside that range gives "-": below "0" stand "/" and ".",
// which would send the file to another directory or confuse its extension, and beyond "~" come
// DEL and bytes that wrap round to NUL and "/" again.
char codeCharacter(int code)
{
    constexpr int largestPrintable = '~' - '0';
    return code < 0 || code > largestPrintable ? '-' : static_cast<char>('0' + code);
}

// A real cut toward zero to a code, or nothing when it has no 32-bit value (NaN, infinite, too
// large): the conversion itself would be undefined then.
bool cutToCode(double value, int& code)
{
    if (!(value > -2147483649.0 && value < 2147483648.0)) return false;
    code = static_cast<int>(value);
    return true;
}

// Leading characters of zeroPaddedDigits, or "-" in every place for a value without a code.
std::string codeDigits(double value, std::size_t places, int minDigits)
{
    int code = 0;
    if (!cutToCode(value, code)) return std::string(places, '-');
    FixedText digits(10);
    zeroPaddedDigits(digits, code, minDigits);
    return std::string(digits.view().substr(0, places));
}

} // namespace

void zeroPaddedDigits(FixedText& text, int& value, int minDigits)
{
    text.blank();
    std::size_t first = 0;
    // The magnitude in 64 bits: the most negative int has no positive counterpart in 32.
    std::int64_t magnitude = value;
    if (magnitude < 0) {
        text[0] = '-';
        magnitude = -magnitude;
        first = 1;
        minDigits = minDigits > 1 ? minDigits - 1 : 1;
    }
    value = 0;
    int n = magnitude <= 9 ? 1 : static_cast<int>(std::log10(static_cast<double>(magnitude))) + 1;
    if (n < minDigits) n = minDigits;
    for (int i = 1; i <= n; ++i) {
        const auto p = static_cast<std::int64_t>(std::pow(10.0, n - i));
        const std::int64_t d = magnitude / p;
        magnitude -= d * p;
        std::size_t at = first + static_cast<std::size_t>(i - 1);
        if (at < text.length()) text[at] = static_cast<char>(48 + d);
    }
}

std::string caseResultsFileName(const CaseOptions& o)
{
    std::string name = "jc";
    name += codeCharacter(o.behaviourCode);
    name += codeCharacter(o.sheddingCode);
    name += codeCharacter(o.corrosionCode);
    int tensionBlockCode = -1;
    name += cutToCode(static_cast<double>(o.tensionBlockWidth), tensionBlockCode) ? codeCharacter(tensionBlockCode)
                                                                                   : '-';
    // The single-precision coefficient times 10000 in double precision: 0.0050 gives 49.
    name += codeDigits(static_cast<double>(o.distortionCoefficient) * 10000.0, 2, 2);
    name += '.';
    // A negative heel is named by its equivalent angle from 0 to 360 (-90 as 270): its own digits
    // would keep the sign and two digits only, so -130 to -139.9 would all be "-13".
    const double heel = static_cast<double>(o.heelAngle);
    name += codeDigits(heel < 0.0 ? heel + 360.0 : heel, 3, 3);
    return name;
}

void RunContext::readCaseOptions(CaseOptions& o)
{
    readRecords(optionsUnit, optionFormat,
                {o.behaviourCode, o.sheddingCode, o.corrosionCode, o.tensionBlockWidth, o.heelAngle,
                 o.distortionCoefficient, o.spareOption});
    applyCaseOptions(o);
}

void RunContext::applyCaseOptions(CaseOptions& o)
{
    writeRecords(traceUnit, optionFormat,
                 {o.behaviourCode, o.sheddingCode, o.corrosionCode, o.tensionBlockWidth, o.heelAngle,
                  o.distortionCoefficient, o.spareOption});

    openUnit(caseResultsUnit, caseResultsFileName(o));
    rewindUnit(caseResultsUnit);
    for (int unit : {caseResultsUnit, reportUnit}) {
        writeRecords(unit, echoFormat,
                     {o.behaviourCode, o.sheddingCode, o.corrosionCode, o.tensionBlockWidth,
                      o.distortionCoefficient, o.heelAngle});
    }

    // Degrees to radians with the single-precision pi.
    o.heelAngle = o.heelAngle * pi / 180.0f;
}

} // namespace tarnova::calcrun
