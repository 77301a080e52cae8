// puerto-paralelo-demo.exe: the same program, printing each byte on standard
// output instead of writing it to the port, and showing it on a simulated
// seven-segment display.
#include "ui/win32/application.h"

int main() {
    return pp::RunDemo();
}
