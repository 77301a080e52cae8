// What the user is told, in Spanish, when the window cannot open: no display
// at all, or a display whose window system Qt cannot reach because a part of
// Qt or a library it needs is missing. Plain C++, tested without a display.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pp {

// `display` is the display the session names (DISPLAY, else WAYLAND_DISPLAY),
// empty where it names none; `said` is what Qt printed while it started, its
// fatal message last.
std::string WindowFailureMessage(std::string_view program, std::string_view display,
                                 const std::vector<std::string>& said);

} // namespace pp
