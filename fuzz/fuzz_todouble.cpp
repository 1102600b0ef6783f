// Text to number: any text either gives a finite number or raises error 13 or 6, and the
// number written back as text reads back within the 15 significant digits it is written with.
#include "fuzzsupport.h"

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
        fuzz::expectError(error, {ErrorNumber::TypeMismatch, ErrorNumber::Overflow}, input);
        return 0;
    }
    if (!std::isfinite(value))
        fuzz::fail("accepted a value that is not finite", input);

    fuzz::expectReadsBack(value, input);
    return 0;
}
