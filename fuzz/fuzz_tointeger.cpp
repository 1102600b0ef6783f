// Text to 16-bit integer: the result is the text's number rounded half to even; a rejected
// text raises error 13 when it is no number and error 6 when its rounded value lies outside
// -32768..32767, nothing else.
#include "fuzzsupport.h"

#include <cfenv>
#include <cmath>
#include <limits>
#include <optional>

using namespace vorn;

namespace {

constexpr double kLowest = std::numeric_limits<std::int16_t>::min();
constexpr double kHighest = std::numeric_limits<std::int16_t>::max();

// The reference rounding: the binary value's nearest integer, halves to even.
double nearestEven(double value) {
    std::fesetround(FE_TONEAREST);
    return std::nearbyint(value);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::pinFrenchConventions();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString input = fuzz::textOf(data, size);
    // What the same text reads as a number, or the error that reading raises.
    double number = 0;
    std::optional<ErrorNumber> numberError;
    try {
        number = toDouble(input);
    } catch (const RuntimeError& error) {
        numberError = error.code();
    }

    int integer = 0;
    try {
        integer = toInteger(input);
    } catch (const RuntimeError& error) {
        fuzz::expectError(error, {ErrorNumber::TypeMismatch, ErrorNumber::Overflow}, input);
        if (numberError) {
            if (error.code() != *numberError)
                fuzz::fail("the integer and the number raise different errors", input);
            return 0;
        }
        const double rounded = nearestEven(number);
        if (error.code() != ErrorNumber::Overflow || (rounded >= kLowest && rounded <= kHighest))
            fuzz::fail("rejected a number that rounds into range", input,
                       QString::number(number, 'g', 17));
        return 0;
    }
    if (numberError)
        fuzz::fail("accepted as an integer a text that is no number", input);
    if (integer < kLowest || integer > kHighest)
        fuzz::fail("accepted an integer out of range", input, QString::number(integer));
    if (integer != nearestEven(number))
        fuzz::fail("the integer is not the number rounded half to even", input,
                   QStringLiteral("%1 -> %2").arg(number, 0, 'g', 17).arg(integer));
    return 0;
}
