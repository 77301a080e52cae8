// What the user is told on Windows, in Spanish: why the chosen port cannot be
// reached, each message naming the cause Windows gives and what to do, and
// the list printed by --listar.
#pragma once

#include "port/windows/windows_calls.h"
#include "port/windows/windows_port.h"

#include <cstdint>
#include <string>

namespace pp {

// Where InpOut (InpOut32 and InpOut x64) is to be had.
inline constexpr const char* InpOutSite = "https://www.highrez.co.uk/downloads/inpout32/";

// Windows lists no parallel port at `address` (or, where `ports` could not be
// read, it is not a legacy one): the program does not write there. Lists the
// ports Windows has, or says where to look when it has none.
std::string NoWindowsPortMessage(std::uint16_t address, const WindowsPortList& ports);

// InpOut's library could not be had, for the reason in `load`; `folder` and
// `system` are where it may be.
std::string InpOutMessage(const InpOutLoad& load, const std::string& folder,
                          const std::string& system);

// InpOut is there, at `path`, but its driver is not open: the cause that
// `state` shows, and its remedy.
std::string InpOutDriverClosedMessage(const std::string& path, const InpOutState& state);

// What --listar prints on Windows: the ports, then InpOut and its driver.
std::string WindowsPortListing(const WindowsPortList& ports, const InpOutState& state);

} // namespace pp
