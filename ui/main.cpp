// puerto-paralelo: the program, writing to the real parallel port.
#include "port/linux_port.h"
#include "port/system_calls.h"
#include "ui/application.h"

int main(int argc, char** argv) {
    pp::LinuxSystemCalls system;
    pp::LinuxPort port(system);
    return pp::RunProgram(argc, argv, port);
}
