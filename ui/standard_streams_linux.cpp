#include "ui/standard_streams.h"

#include <csignal>

namespace pp {

void PrepareStandardStreams() {
    // Writing to a closed pipe fails instead: the lines are lost, the window
    // goes on.
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace pp
