// Where a program's text goes: its standard output or error, or a test's
// string. Each piece is whole UTF-8 and is written out at once, since the
// demo's lines are read as they come. The Linux front end writes it to a
// std::ostream (StreamWriter); the Windows one to its console, file or pipe
// itself, without iostreams, whose locales would weigh more than all the rest
// of the program.
#pragma once

#include <ostream>
#include <string_view>

namespace pp {

class TextWriter {
public:
    virtual ~TextWriter() = default;

    virtual void write(std::string_view text) = 0;

protected:
    TextWriter() = default;
    TextWriter(const TextWriter&) = default;
    TextWriter& operator=(const TextWriter&) = default;
};

// A std::ostream as a TextWriter: each piece written and flushed.
class StreamWriter final : public TextWriter {
public:
    explicit StreamWriter(std::ostream& stream) : stream_(stream) {}

    void write(std::string_view text) override { stream_ << text << std::flush; }

private:
    std::ostream& stream_;
};

} // namespace pp
