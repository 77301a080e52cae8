// Any text typed into Text1 and "Sacar Dato" pressed: no crash, always
// exactly one of the three outcomes with exactly its effects, and, for a
// text in plain decimal form, the byte worked out here from its digits.
#include "core/sacar_dato.h"
#include "tests/support/fake_window.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using pp::PortByte;
using pp::SacarDatoOutcome;
using pp::testing::FakeWindow;

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of a run of decimal digits, or 256 for anything above 255.
unsigned digitsValue(std::string_view digits) {
    unsigned value = 0;
    for (char c : digits) {
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 255) {
            return 256;
        }
    }
    return value;
}

// What a text of the form [+|-]DIGITS[.DIGITS] must give: the nearest
// integer, halves to the even one, if it lies in 0-255, or OutOfRange for the
// range message. Any other text: no expectation, nor for a fraction of more
// than nine digits, which the conversion to double may round onto a half.
constexpr unsigned OutOfRange = 256;
std::optional<unsigned> plainDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t period = text.find('.');
    const std::string_view whole = text.substr(0, period);
    const std::string_view fraction =
        period == std::string_view::npos ? std::string_view{} : text.substr(period + 1);
    const auto allDigits = [](std::string_view part) {
        for (char c : part) {
            if (!isDigit(c)) {
                return false;
            }
        }
        return true;
    };
    if (whole.empty() || !allDigits(whole) || !allDigits(fraction) || fraction.size() > 9 ||
        (period != std::string_view::npos && fraction.empty())) {
        return std::nullopt;
    }
    unsigned value = digitsValue(whole);
    const std::size_t beyondHalf = fraction.find_first_not_of('0', 1);
    if (!fraction.empty() && value < 256 &&
        (fraction.front() > '5' ||
         (fraction.front() == '5' && (beyondHalf != std::string_view::npos || value % 2 == 1)))) {
        ++value;
    }
    return value > 255 || (negative && value != 0) ? OutOfRange : value;
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

struct Pressed {
    SacarDatoOutcome outcome;
    std::vector<PortByte> writes;
};

// "Sacar Dato" pressed with TEXT in Text1; each outcome's effects checked.
Pressed press(const std::string& text) {
    pp::testing::RecordingPort port;
    FakeWindow window(text, port);
    const SacarDatoOutcome outcome = pp::SacarDatoHandler(window, port);
    switch (outcome) {
    case SacarDatoOutcome::Written:
        require(!text.empty() && port.writes.size() == 1, "written: one byte, for a text");
        require(window.events == std::vector<std::string>{"read", "set \"\""},
                "written: text cleared after the write, no message");
        break;
    case SacarDatoOutcome::EmptyEntry:
        require(text.empty() && port.writes.empty(), "empty: only for no text, nothing written");
        require(
            window.events ==
                std::vector<std::string>{"read", "message Deve de introducir un numero (0 writes)"},
            "empty: the message, text left alone");
        break;
    case SacarDatoOutcome::OutOfRange:
        require(!text.empty() && port.writes.empty(), "range: nothing written");
        require(window.events ==
                    std::vector<std::string>{"read",
                                             "message los datos deven de ser numericos entre 0 y "
                                             "255 (0 writes)",
                                             "set \"\""},
                "range: the message, then text cleared");
        break;
    default:
        require(false, "one of the three outcomes");
    }
    return {outcome, port.writes};
}

bool same(const Pressed& a, const Pressed& b) {
    return a.outcome == b.outcome && a.writes == b.writes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Pressed pressed = press(text);

    if (const auto expected = plainDecimal(text); expected == OutOfRange) {
        require(pressed.outcome == SacarDatoOutcome::OutOfRange,
                "a plain decimal outside 0-255 gets the range message");
    } else if (expected) {
        require(pressed.outcome == SacarDatoOutcome::Written &&
                    pressed.writes == std::vector<PortByte>{static_cast<PortByte>(*expected)},
                "a plain decimal in 0-255 writes its nearest integer, halves to even");
    }
    // Blanks stand anywhere, and what follows the number is not read.
    const std::string kept = withoutBlanks(text);
    if (!text.empty() && !kept.empty()) {
        require(same(press(kept), pressed), "blanks change nothing");
    }
    if (!text.empty()) {
        require(same(press(text + "x"), pressed), "what follows the number changes nothing");
    }
    return 0;
}
