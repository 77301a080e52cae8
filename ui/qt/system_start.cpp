#include "ui/system_start.h"

#include <csignal>
#include <iostream>

namespace pp {

void PrepareProcess() {
    // Writing to a closed pipe fails instead: the lines are lost, the window
    // goes on.
    std::signal(SIGPIPE, SIG_IGN);
}

void ShowStartFailure(const std::string& text) {
    std::cerr << text << '\n';
}

} // namespace pp
