#include "colour/colourmath.h"

#include "platform/conversions.h"

namespace vorn {

QString webHexDigits(ColourValue value) {
    return hexByte(redOf(value)) + hexByte(greenOf(value)) + hexByte(blueOf(value));
}

} // namespace vorn
