#include "ui/system_start.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

namespace pp {

namespace {

// Later loads only from the program's folder and System32. Windows 7 has
// SetDefaultDllDirectories only with update KB2533623, hence looked up; where
// it is missing, the working folder at least leaves the search order.
void restrictLibrarySearch() {
    using SetDefault = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto setDefault = kernel == nullptr
                                ? nullptr
                                : reinterpret_cast<SetDefault>(reinterpret_cast<void*>(
                                      GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault != nullptr) {
        setDefault(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    SetDllDirectoryW(L"");
}

bool redirected(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The code page the console had before the program switched it to UTF-8, or
// 0 where it did not: the console is the user's, and outlives the program.
UINT consoleCodePage = 0;

// --help, --version, --listar and the messages to the console the program
// was started from, where they are not redirected.
void attachConsole() {
    const bool output = redirected(STD_OUTPUT_HANDLE);
    const bool error = redirected(STD_ERROR_HANDLE);
    if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    // The text is UTF-8 ("¿", "ñ", "á").
    const UINT codePage = GetConsoleOutputCP();
    if (codePage != 0 && codePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
        consoleCodePage = codePage;
    }
    FILE* stream = nullptr;
    if (!output && freopen_s(&stream, "CONOUT$", "w", stdout) == 0) {
        std::cout.clear();
    }
    if (!error && freopen_s(&stream, "CONOUT$", "w", stderr) == 0) {
        std::cerr.clear();
    }
}

std::wstring wide(const std::string& text) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size);
    return result;
}

// Qt's box when it cannot open a window (its window plugin missing or
// damaged): Qt shows it, in English, just before it ends, and ShowStartFailure
// then says the same in Spanish and names the file. While Qt starts, a
// thread hook keeps any dialog of this thread (class #32770, message boxes
// among them) from being made; a box Windows cannot make returns at once, and
// Qt goes on to end as it would. Qt's own windows have classes of their own.
HHOOK qtStartHook = nullptr;

LRESULT CALLBACK holdBackDialogs(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        std::array<wchar_t, 16> name{};
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (GetClassNameW(window, name.data(), static_cast<int>(name.size())) > 0 &&
            std::wstring_view(name.data()) == L"#32770") {
            return 1;
        }
    }
    return CallNextHookEx(qtStartHook, code, wParam, lParam);
}

void releaseDialogs() {
    if (qtStartHook != nullptr) {
        UnhookWindowsHookEx(qtStartHook);
        qtStartHook = nullptr;
    }
}

} // namespace

void WhileQtStarts(const std::function<void()>& start) {
    qtStartHook = SetWindowsHookExW(WH_CBT, holdBackDialogs, nullptr, GetCurrentThreadId());
    start();
    releaseDialogs();
}

void PrepareProcess() {
    restrictLibrarySearch();
    attachConsole();
}

void RestoreProcess() {
    // What is still to be written is in UTF-8, as the console has it now.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(stdout);
    std::fflush(stderr);
    if (consoleCodePage != 0) {
        SetConsoleOutputCP(consoleCodePage);
        consoleCodePage = 0;
    }
}

void ShowStartFailure(const std::string& text) {
    releaseDialogs();
    std::cerr << text << '\n';
    std::cerr.flush();
    MessageBoxW(nullptr, wide(text).c_str(), L"Velmarin", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

} // namespace pp
