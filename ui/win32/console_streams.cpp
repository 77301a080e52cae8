#include "ui/win32/console_streams.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <iostream>
#include <streambuf>
#include <string>

namespace pp {

namespace {

// How many of the bytes of `text` make whole UTF-8 characters: the end of a
// character cut short waits for the rest.
std::size_t wholeCharacters(const std::string& text) {
    const std::size_t size = text.size();
    for (std::size_t back = 1; back <= std::min<std::size_t>(size, 4); ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if ((byte & 0xC0) == 0x80) {
            continue; // a continuation byte: its lead is further back
        }
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? size - back : size;
    }
    return size;
}

// A stream buffer that writes to a handle line by line, and at each flush.
class HandleBuffer final : public std::streambuf {
public:
    HandleBuffer(HANDLE handle, bool console) : handle_(handle), console_(console) {}

protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            pending_.push_back(traits_type::to_char_type(c));
            if (c == '\n') {
                write();
            }
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pending_.append(text, static_cast<std::size_t>(count));
        if (std::find(text, text + count, '\n') != text + count) {
            write();
        }
        return count;
    }

    int sync() override {
        write();
        return 0;
    }

private:
    // What cannot be written (a pipe whose reader has gone) is dropped: the
    // window goes on.
    void write() {
        const std::size_t whole = wholeCharacters(pending_);
        if (whole == 0) {
            return;
        }
        if (console_) {
            const int length = MultiByteToWideChar(CP_UTF8, 0, pending_.data(),
                                                   static_cast<int>(whole), nullptr, 0);
            std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
            MultiByteToWideChar(CP_UTF8, 0, pending_.data(), static_cast<int>(whole), wide.data(),
                                length);
            // In pieces: old consoles refuse one write of more than about 64 KB.
            for (std::size_t done = 0; done < wide.size();) {
                const auto piece =
                    static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
                DWORD written = 0;
                if (WriteConsoleW(handle_, wide.data() + done, piece, &written, nullptr) == FALSE ||
                    written == 0) {
                    break;
                }
                done += written;
            }
        } else {
            for (std::size_t done = 0; done < whole;) {
                DWORD written = 0;
                if (WriteFile(handle_, pending_.data() + done, static_cast<DWORD>(whole - done),
                              &written, nullptr) == FALSE ||
                    written == 0) {
                    break;
                }
                done += written;
            }
        }
        pending_.erase(0, whole);
    }

    HANDLE handle_;
    bool console_;
    std::string pending_;
};

// A standard handle the program was given, or none.
HANDLE given(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
                   GetFileType(handle) != FILE_TYPE_UNKNOWN
               ? handle
               : nullptr;
}

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != FALSE;
}

void connect(std::ostream& stream, HANDLE handle) {
    // Kept for the whole run, as the streams are.
    static_cast<void>(stream.rdbuf(new HandleBuffer(handle, isConsole(handle))));
    stream.clear();
}

} // namespace

void ConnectStandardStreams() {
    HANDLE output = given(STD_OUTPUT_HANDLE);
    HANDLE error = given(STD_ERROR_HANDLE);
    if ((output == nullptr || error == nullptr) && AttachConsole(ATTACH_PARENT_PROCESS) != FALSE) {
        HANDLE console =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE) {
            output = output == nullptr ? console : output;
            error = error == nullptr ? console : error;
        }
    }
    if (output != nullptr) {
        connect(std::cout, output);
    }
    if (error != nullptr) {
        connect(std::cerr, error);
    }
}

} // namespace pp
