#include "ui/win32/console_streams.h"

#include "ui/form1_controls.h"
#include "ui/win32/later_windows.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace pp {

namespace {

// Writes to a handle: to a console as UTF-16, to a file or a pipe as it is.
// What cannot be written (a pipe whose reader has gone) is dropped: the
// window goes on. Without a handle, everything is dropped.
class HandleText final : public TextWriter {
public:
    void connect(HANDLE handle) {
        DWORD mode = 0;
        handle_ = handle;
        console_ = GetConsoleMode(handle, &mode) != FALSE;
    }

    void write(std::string_view text) override {
        if (handle_ == nullptr || text.empty()) {
            return;
        }
        if (console_) {
            writeConsole(text);
        } else {
            for (std::size_t done = 0; done < text.size();) {
                DWORD written = 0;
                if (WriteFile(handle_, text.data() + done, static_cast<DWORD>(text.size() - done),
                              &written, nullptr) == FALSE ||
                    written == 0) {
                    break;
                }
                done += written;
            }
        }
    }

private:
    void writeConsole(std::string_view text) const {
        const int length =
            MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            length);
        // In pieces: old consoles refuse one write of more than about 64 KB.
        for (std::size_t done = 0; done < wide.size();) {
            const auto piece = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
            DWORD written = 0;
            if (WriteConsoleW(handle_, wide.data() + done, piece, &written, nullptr) == FALSE ||
                written == 0) {
                break;
            }
            done += written;
        }
    }

    HANDLE handle_ = nullptr;
    bool console_ = false;
};

HandleText standardOutput;
HandleText standardError;

// A standard handle the program was given, or none.
HANDLE given(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
                   GetFileType(handle) != FILE_TYPE_UNKNOWN
               ? handle
               : nullptr;
}

} // namespace

void ConnectStandardStreams() {
    HANDLE outputHandle = given(STD_OUTPUT_HANDLE);
    HANDLE errorHandle = given(STD_ERROR_HANDLE);
    if ((outputHandle == nullptr || errorHandle == nullptr) &&
        AttachConsole(ATTACH_PARENT_PROCESS) != FALSE) {
        HANDLE console =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE) {
            outputHandle = outputHandle == nullptr ? console : outputHandle;
            errorHandle = errorHandle == nullptr ? console : errorHandle;
        }
    }
    standardOutput.connect(outputHandle);
    standardError.connect(errorHandle);
}

TextWriter& StandardOutput() {
    return standardOutput;
}

TextWriter& StandardError() {
    return standardError;
}

void Tell(HWND owner, std::string_view text, UINT style) {
    standardError.write(std::string(text) + '\n');
    MessageBoxW(owner, Wide(text).c_str(), Wide(MessageTitle).c_str(), style);
}

} // namespace pp
