// The demo's port: each byte handed on to the printing port, then shown on
// the front end's simulated display (anything with showByte(PortByte)).
#pragma once

#include "port/port_output.h"

namespace pp {

template <typename Display> class DisplayingPort final : public PortOutput {
public:
    DisplayingPort(PortOutput& next, Display& display) : next_(next), display_(display) {}

    void PortOut(PortByte value) override {
        next_.PortOut(value);
        display_.showByte(value);
    }

private:
    PortOutput& next_;
    Display& display_;
};

} // namespace pp
