// puerto-paralelo-demo: the same program, printing each byte on standard
// output instead of writing it to the port.
#include "port/demo_port.h"
#include "ui/application.h"

#include <iostream>

int main(int argc, char** argv) {
    pp::DemoPort port(std::cout);
    return pp::RunProgram(argc, argv, port);
}
