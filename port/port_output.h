// The one operation the program uses to reach the hardware: put a byte on the
// data lines of the parallel port whose data register is at DataPort.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace pp {

// Bit n of a port byte drives data line Dn (D0-D7 are pins 2-9 of the D-sub).
using PortByte = std::uint8_t;

// I/O address of the data register of the first parallel port: the port the
// program writes to unless the user chooses another (--puerto). Whichever it
// is, only its data register is ever written.
inline constexpr std::uint16_t DataPort = 888; // 0x378

// Writes bytes to the chosen port's data register (DataPort by default).
// Implementations acquire the port on the first write, never at construction,
// and keep it for the rest of the run.
class PortOutput {
public:
    virtual ~PortOutput() = default;

    // Puts `value` on the data register and returns once it is written.
    // Throws PortUnavailable when the port cannot be acquired at all, and
    // PortWriteFailed when this one byte could not be written.
    virtual void PortOut(PortByte value) = 0;

protected:
    PortOutput() = default;
    PortOutput(const PortOutput&) = default;
    PortOutput& operator=(const PortOutput&) = default;
};

// The port cannot be reached: what() is a message for the user, in Spanish,
// naming the cause and the remedy. The program cannot go on without the port.
class PortUnavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One byte did not reach the port, which the program had reached before (it
// is held by another program, or it went away): what() tells the user which
// byte and why, in Spanish. Nothing was written; the program goes on, and the
// next write tries again.
class PortWriteFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace pp
