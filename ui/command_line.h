// The command line of puerto-paralelo and puerto-paralelo-demo, whose
// options ui/options.h describes. Without options the program writes to 0x378, as it always has.
// Nothing here needs a display or opens a device: help, version, the list and mistakes in the
// options work over ssh.
#pragma once

#include "port/port_choice.h"
#include "port/system_ports.h"
#include "port/text_writer.h"
#include "ui/options.h"

#include <span>
#include <variant>

namespace pp {

// Reads the options in `args` (the arguments after the program's name). When
// they ask for a text (help, version, the list of ports), prints it on `out`
// and returns 0; when they are wrong, prints the mistake and the usage on
// `err`, in Spanish, and returns 2. Otherwise returns the port to open the
// window on.
std::variant<PortChoice, int> ReadCommandLine(std::span<char* const> args, Program program,
                                              SystemPorts& ports, TextWriter& out, TextWriter& err);

} // namespace pp
