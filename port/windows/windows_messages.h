// What the user is told on Windows, in Spanish: why the chosen port cannot be
// reached, each message naming what to do, and the list printed by --listar.
#pragma once

#include "port/windows/windows_calls.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pp {

// Where InpOut x64 is to be had.
inline constexpr const char* InpOutSite = "https://www.highrez.co.uk/downloads/inpout32/";

// Windows lists no parallel port at `address`, and it is not a legacy one:
// the program does not write there. Lists the ports Windows has.
std::string NoWindowsPortMessage(std::uint16_t address, const std::vector<WindowsParport>& ports);

// inpoutx64.dll could not be had, for the reason in `load`; `folder` is where
// it belongs.
std::string InpOutMessage(const InpOutLoad& load, const std::string& folder);

// InpOut x64 is there, but its driver is not open.
std::string InpOutDriverClosedMessage(const std::string& path);

// What --listar prints on Windows.
std::string WindowsPortListing(const std::vector<WindowsParport>& ports);

} // namespace pp
