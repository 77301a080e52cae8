// Writes a program's manual page from its template, the OPCIONES section
// made from the program's own table of options, so that the manual and
// --help always name the same options.
// Usage: make_manual PROGRAM TEMPLATE OUTPUT
// where the template's line ".\" OPCIONES" stands for the section.

#include "ui/options.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "Usage: make_manual puerto-paralelo|puerto-paralelo-demo TEMPLATE OUTPUT\n";
        return 2;
    }
    const std::string name = argv[1];
    const pp::Program program =
        name == pp::NameOf(pp::Program::Demo) ? pp::Program::Demo : pp::Program::PuertoParalelo;
    if (name != pp::NameOf(program)) {
        std::cerr << "make_manual: no program " << name << "\n";
        return 2;
    }
    std::ifstream in(argv[2]);
    if (!in) {
        std::cerr << "make_manual: cannot read " << argv[2] << "\n";
        return 1;
    }
    std::string page;
    int sections = 0;
    for (std::string line; std::getline(in, line);) {
        if (line == ".\\\" OPCIONES") {
            page += pp::OptionsManual(program);
            ++sections;
        } else {
            page += line + '\n';
        }
    }
    if (sections != 1) {
        std::cerr << "make_manual: " << argv[2] << " needs one line .\\\" OPCIONES, not "
                  << sections << "\n";
        return 1;
    }
    std::ofstream out(argv[3], std::ios::binary);
    out << page;
    out.close();
    if (!out) {
        std::remove(argv[3]); // no half-written page that looks made
        std::cerr << "make_manual: cannot write " << argv[3] << "\n";
        return 1;
    }
    return 0;
}
