// Text to number: any text either gives a finite number or raises error 13 or 6, and the
// number written back as text reads back within the 15 significant digits it is written with.
#include "fuzzsupport.h"

#include <cfloat>
#include <cmath>

using namespace vorn;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::pinFrenchConventions();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString input = fuzz::textOf(data, size);
    double value = 0;
    try {
        value = toDouble(input);
    } catch (const RuntimeError& error) {
        fuzz::expectError(error, {ErrTypeMismatch, ErrOverflow}, input);
        return 0;
    }
    if (!std::isfinite(value))
        fuzz::fail("accepted a value that is not finite", input);

    const QString written = toText(value);
    double back = 0;
    try {
        back = toDouble(written);
    } catch (const RuntimeError& error) {
        fuzz::fail("a written number does not read back", input,
                   written + QStringLiteral(" raised ") + QString::number(error.number()));
    }
    if (std::abs(back - value) > std::abs(value) * 1e-14)
        fuzz::fail("a written number reads back as another value", input,
                   QStringLiteral("%1 -> %2 -> %3")
                       .arg(value, 0, 'g', 17)
                       .arg(written)
                       .arg(back, 0, 'g', 17));
    // Fifteen digits survive the trip through a double, so writing again gives the same text
    // (subnormal values carry fewer digits and are left out).
    if (std::abs(value) >= DBL_MIN && toText(back) != written)
        fuzz::fail("writing a number read back changes its text", input,
                   written + QStringLiteral(" -> ") + toText(back));
    return 0;
}
