#include "ui/system_start.h"

#include <csignal>
#include <iostream>

namespace pp {

void PrepareProcess() {
    // Writing to a closed pipe fails instead: the lines are lost, the window
    // goes on.
    std::signal(SIGPIPE, SIG_IGN);
}

// Nothing outside the process was changed.
void RestoreProcess() {}

void ShowStartFailure(const std::string& text) {
    std::cerr << text << '\n';
}

// Qt on Linux shows no box of its own.
void WhileQtStarts(const std::function<void()>& start) {
    start();
}

} // namespace pp
