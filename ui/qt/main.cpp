// puerto-paralelo: the program, writing to the real parallel port.
#include "ui/qt/application.h"

int main(int argc, char** argv) {
    return pp::RunProgram(argc, argv);
}
