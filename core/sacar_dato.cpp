#include "core/sacar_dato.h"

#include "core/leading_number.h"

#include <cmath>

namespace pp {

std::optional<PortByte> TypedByte(double number) {
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(number);
    // Written so that NaN, which compares false with everything, is refused.
    if (!(rounded >= 0.0 && rounded <= 255.0)) { // NOLINT(readability-simplify-boolean-expr)
        return std::nullopt;
    }
    return static_cast<PortByte>(rounded);
}

SacarDatoOutcome SacarDatoHandler(WindowOperations& window, PortOutput& port) {
    const std::string text = window.ReadText();
    if (text.empty()) {
        window.ShowMessage(EmptyEntryMessage);
        return SacarDatoOutcome::EmptyEntry;
    }
    const std::optional<PortByte> byte = TypedByte(LeadingNumber(text));
    if (!byte) {
        window.ShowMessage(OutOfRangeMessage);
        window.SetText("");
        return SacarDatoOutcome::OutOfRange;
    }
    port.PortOut(*byte);
    window.SetText("");
    return SacarDatoOutcome::Written;
}

} // namespace pp
