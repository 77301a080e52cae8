#include "core/keypad.h"

namespace pp {

void KeypadHandler(std::size_t digit, PortOutput& port) {
    port.PortOut(SegmentCode.at(digit));
}

} // namespace pp
