// puerto-paralelo.exe: the program, writing to the real parallel port.
#include "ui/win32/application.h"

int main() {
    return pp::RunProgram();
}
