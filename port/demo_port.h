// The port write of puerto-paralelo-demo: instead of touching hardware it
// prints one line per byte, starting with the chosen port, e.g.
//   0x378 <- 0x77  0b01110111  líneas altas: D0 D1 D2 D4 D5 D6
// and flushes it at once, so that the program can be tried, and tested,
// on machines without a parallel port.
#pragma once

#include "port/port_output.h"
#include "port/text_writer.h"

#include <string>
#include <string_view>
#include <utility>

namespace pp {

// The line printed for `value` written to the port labelled `port` (as
// PortLabel gives it), without the line feed.
std::string DemoLine(PortByte value, std::string_view port = "0x378");

// The data lines that `value` sets high, "D0 D1 D2 D4 D5 D6", or "ninguna".
std::string HighLines(PortByte value);

class DemoPort final : public PortOutput {
public:
    explicit DemoPort(TextWriter& out, std::string port = "0x378")
        : out_(out), port_(std::move(port)) {}

    void PortOut(PortByte value) override;

private:
    TextWriter& out_;
    std::string port_;
};

} // namespace pp
