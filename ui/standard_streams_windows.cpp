#include "ui/standard_streams.h"

#include <windows.h>

#include <cstdio>
#include <iostream>

namespace pp {

namespace {

bool redirected(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

void PrepareStandardStreams() {
    const bool output = redirected(STD_OUTPUT_HANDLE);
    const bool error = redirected(STD_ERROR_HANDLE);
    if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    // The text is UTF-8 ("¿", "ñ", "á").
    SetConsoleOutputCP(CP_UTF8);
    FILE* stream = nullptr;
    if (!output && freopen_s(&stream, "CONOUT$", "w", stdout) == 0) {
        std::cout.clear();
    }
    if (!error && freopen_s(&stream, "CONOUT$", "w", stderr) == 0) {
        std::cerr.clear();
    }
}

} // namespace pp
