// Number to text: every finite double, taken from the input's bits, is written as text that
// reads back within the 15 significant digits written, and writing that again gives the same
// text. Infinities and NaN are no values a window computes and are left out.
#include "fuzzsupport.h"

#include <cmath>
#include <cstring>

using namespace vorn;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::pinFrenchConventions();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    double value = 0;
    if (size != sizeof value)
        return -1; // not a double: kept out of the corpus
    std::memcpy(&value, data, sizeof value);
    if (!std::isfinite(value))
        return -1;
    const QString input = QString::number(value, 'g', 17);
    fuzz::expectReadsBack(value, input);
    return 0;
}
