// A port that remembers every byte written to it, in order.
#pragma once

#include "port/port_output.h"

#include <vector>

namespace pp::testing {

class RecordingPort final : public PortOutput {
public:
    void PortOut(PortByte value) override { writes.push_back(value); }

    std::vector<PortByte> writes;
};

} // namespace pp::testing
