// Standard output and error of a program without a console of its own (a
// window program): they reach the console it was started from, where they
// are not redirected, and the file or pipe they are redirected to otherwise.
// To a console the text goes as UTF-16, which every console shows whatever
// its code page ("¿", "ñ", "á" included), and the console is never changed;
// to a file or a pipe it goes as it is, UTF-8.
#pragma once

#include "port/text_writer.h"

#include <windows.h>

#include <string_view>

namespace pp {

// Called once, before anything is printed.
void ConnectStandardStreams();

// Standard output and error; what is written before ConnectStandardStreams,
// or where the program has neither, is dropped.
TextWriter& StandardOutput();
TextWriter& StandardError();

// Says `text` on standard error and in a message box (owned by `owner`, or
// by none; MB_ICONERROR and the like in `style`), and returns once the user
// has closed it.
void Tell(HWND owner, std::string_view text, UINT style);

} // namespace pp
