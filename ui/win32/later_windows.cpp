#include "ui/win32/later_windows.h"

namespace pp {

UINT WindowDpi(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = LaterFunction<ForWindow>(L"user32.dll", "GetDpiForWindow");
    if (forWindow != nullptr) {
        const UINT dpi = forWindow(window);
        if (dpi != 0) {
            return dpi;
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

SIZE FrameSize(SIZE client, DWORD style, DWORD extendedStyle, UINT dpi) {
    using ForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi = LaterFunction<ForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT frame = {0, 0, client.cx, client.cy};
    if (forDpi == nullptr || forDpi(&frame, style, FALSE, extendedStyle, dpi) == FALSE) {
        AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

std::wstring Wide(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size);
    return result;
}

std::string Utf8(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

} // namespace pp
