// Standard output and error of a program without a console of its own (a
// window program): std::cout and std::cerr reach the console it was started
// from, where they are not redirected, and the file or pipe they are
// redirected to otherwise. To a console the text goes as UTF-16, which every
// console shows whatever its code page ("¿", "ñ", "á" included), and the
// console is never changed; to a file or a pipe it goes as it is, UTF-8.
#pragma once

namespace pp {

// Called once, before anything is printed.
void ConnectStandardStreams();

} // namespace pp
