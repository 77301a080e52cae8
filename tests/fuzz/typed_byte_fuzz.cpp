// Any text typed into Text1 and "Sacar Dato" pressed: no crash, and always
// exactly one of the three outcomes with exactly its effects.
#include "core/leading_number.h"
#include "core/sacar_dato.h"
#include "tests/support/fake_window.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::string withoutBlanks(const std::string& text) {
    std::string kept;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            kept += c;
        }
    }
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pp;
    using testing::FakeWindow;
    const std::string text(reinterpret_cast<const char*>(data), size);

    const double number = LeadingNumber(text);
    require(!std::isnan(number), "a text reads as a number, never NaN");
    require(LeadingNumber(withoutBlanks(text)) == number, "blanks change nothing");
    require(LeadingNumber(text + "x") == number, "what follows the number changes nothing");

    testing::RecordingPort port;
    FakeWindow window(text, port);
    const std::optional<PortByte> byte = TypedByte(number);
    switch (SacarDatoHandler(window, port)) {
    case SacarDatoOutcome::Written:
        require(!text.empty() && byte.has_value(), "written only for a byte");
        require(port.writes == std::vector<PortByte>{*byte}, "the byte written once");
        require(window.events == std::vector<std::string>{"read", "set \"\""},
                "text cleared after the write, no message");
        break;
    case SacarDatoOutcome::EmptyEntry:
        require(text.empty() && port.writes.empty(), "empty text writes nothing");
        require(window.events == std::vector<std::string>{"read", FakeWindow::MessageEvent(
                                                                      EmptyEntryMessage, 0)},
                "empty text: message, text left alone");
        break;
    case SacarDatoOutcome::OutOfRange:
        require(!text.empty() && !byte.has_value() && port.writes.empty(),
                "refused only outside 0-255, nothing written");
        require(window.events ==
                    std::vector<std::string>{"read", FakeWindow::MessageEvent(OutOfRangeMessage, 0),
                                             "set \"\""},
                "out of range: message, then text cleared");
        break;
    default:
        require(false, "one of the three outcomes");
    }
    return 0;
}
