// The options of puerto-paralelo and puerto-paralelo-demo, described once:
// the usage line, --help and the manual pages' OPCIONES sections are all
// written from these tables, and the command line is read by their names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pp {

enum class Program : std::uint8_t {
    PuertoParalelo, // writes to the port
    Demo,           // prints each byte and shows it on a simulated display
};

std::string_view NameOf(Program program);

inline constexpr std::string_view PortOption = "--puerto";
inline constexpr std::string_view ListOption = "--listar";
inline constexpr std::string_view HelpOption = "--help";
inline constexpr std::string_view HelpAlias = "-h";
inline constexpr std::string_view VersionOption = "--version";

// "Uso: puerto-paralelo [--puerto P] [--listar] [--help] [--version]\n"
std::string Usage(Program program);
// The options as --help prints them, `portForms` (lines already indented)
// after the port's own line, and the notes that apply (`qt`: whether the
// window is Qt's).
std::string OptionsHelp(Program program, std::string_view portForms, bool qt);
// The manual page's OPCIONES section, in troff, heading included.
std::string OptionsManual(Program program);

} // namespace pp
