// puerto-paralelo-demo: the same program, printing each byte on standard
// output instead of writing it to the port, and showing it on a simulated
// seven-segment display.
#include "ui/qt/application.h"

#include <iostream>

int main(int argc, char** argv) {
    return pp::RunDemo(argc, argv, std::cout);
}
