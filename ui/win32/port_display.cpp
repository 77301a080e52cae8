#include "ui/win32/port_display.h"

#include "ui/port_display_drawing.h"
#include "ui/win32/later_windows.h"
#include "ui/win32/owned_window.h"

#include <oleauto.h>

#include <array>
#include <string>

namespace pp {

namespace {

constexpr wchar_t ClassName[] = L"PuertoParaleloDisplay";
constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD ExtendedStyle = 0;

COLORREF colour(display::Colour value) {
    return RGB(value.red, value.green, value.blue);
}

// Narrator, on Windows 10 (1709) and later, says a UI Automation
// notification wherever the focus is; UI Automation's library is taken from
// the system folder, and where it or the function is missing the change of
// the reading's name is what screen readers are told.
void notify(HWND element, const std::wstring& text) {
    using HostProvider = HRESULT(WINAPI*)(HWND, IUnknown**);
    using RaiseNotification = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);
    static const auto functions = [] {
        std::array<wchar_t, MAX_PATH> folder{};
        const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
        HMODULE library =
            length == 0 || length >= folder.size()
                ? nullptr
                : LoadLibraryExW(
                      (std::wstring(folder.data(), length) + L"\\UIAutomationCore.dll").c_str(),
                      nullptr, 0);
        const auto look = [library](const char* name) {
            return library == nullptr ? nullptr
                                      : reinterpret_cast<void*>(GetProcAddress(library, name));
        };
        return std::pair{reinterpret_cast<HostProvider>(look("UiaHostProviderFromHwnd")),
                         reinterpret_cast<RaiseNotification>(look("UiaRaiseNotificationEvent"))};
    }();
    const auto [hostProvider, raise] = functions;
    IUnknown* provider = nullptr;
    if (hostProvider == nullptr || raise == nullptr || FAILED(hostProvider(element, &provider)) ||
        provider == nullptr) {
        return;
    }
    BSTR said = SysAllocString(text.c_str());
    BSTR activity = SysAllocString(L"pp-byte");
    // A byte that comes while the last is being said replaces it.
    constexpr int NotificationKindOther = 4;
    constexpr int NotificationProcessingMostRecent = 3;
    raise(provider, NotificationKindOther, NotificationProcessingMostRecent, said, activity);
    SysFreeString(activity);
    SysFreeString(said);
    provider->Release();
}

} // namespace

PortDisplay::PortDisplay(HINSTANCE instance, const std::string& port) {
    static const bool registered = [instance] {
        RegisterOwnedClass(instance, ClassName, OwnedWindowProcedure<PortDisplay>, nullptr);
        return true;
    }();
    static_cast<void>(registered);
    const std::wstring title = Wide(display::Title(port));
    CreateWindowExW(ExtendedStyle, ClassName, title.c_str(), Style, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (window_ != nullptr) {
        reading_ = CreateWindowExW(0, L"STATIC", Wide(display::Reading(byte_)).c_str(),
                                   WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 0, 0, 0, window_,
                                   nullptr, instance, nullptr);
        fit();
    }
}

PortDisplay::~PortDisplay() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void PortDisplay::fit() {
    dpi_ = WindowDpi(window_);
    const SIZE client = {Scaled(display::Width, dpi_), Scaled(display::Height, dpi_)};
    const SIZE frame = FrameSize(client, Style, ExtendedStyle, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, frame.cx, frame.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(reading_, nullptr, 0, 0, client.cx, client.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PortDisplay::showAt(POINT corner) {
    if (window_ == nullptr) {
        return;
    }
    SetWindowPos(window_, nullptr, corner.x, corner.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
}

void PortDisplay::showByte(PortByte value) {
    byte_ = value;
    if (window_ == nullptr) {
        return;
    }
    InvalidateRect(reading_, nullptr, FALSE);
    // A new name, which Windows tells screen readers of.
    const std::wstring words = Wide(display::Reading(value));
    SetWindowTextW(reading_, words.c_str());
    notify(reading_, words);
}

void PortDisplay::attach(HWND window) {
    window_ = window;
}

LRESULT PortDisplay::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        draw(item.hDC, item.rcItem);
        return TRUE;
    }
    case WM_ERASEBKGND:
        return 1; // the reading covers it all and draws everything
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        fit();
        InvalidateRect(reading_, nullptr, FALSE);
        return 0;
    }
    case WM_CLOSE:
        // Closing it leaves the program running; closing Form1 ends both.
        ShowWindow(window_, SW_HIDE);
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

// Into a bitmap first, then at once onto the screen: no flicker.
void PortDisplay::draw(HDC target, const RECT& area) const {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HBRUSH background = CreateSolidBrush(colour(display::Background));
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, background);
    DeleteObject(background);

    HBRUSH lit = CreateSolidBrush(colour(display::Lit));
    HBRUSH unlit = CreateSolidBrush(colour(display::Unlit));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, lit);
    const auto brushFor = [&](int line) { return ((byte_ >> line) & 1) != 0 ? lit : unlit; };
    const auto circle = [&](display::Point centre, int radius) {
        const int x = Scaled(centre.x, dpi_);
        const int y = Scaled(centre.y, dpi_);
        const int r = Scaled(radius, dpi_);
        Ellipse(dc, x - r, y - r, x + r + 1, y + r + 1);
    };
    const auto shapes = display::Segments();
    for (int line = 0; line < 7; ++line) {
        std::array<POINT, 6> corners{};
        for (std::size_t corner = 0; corner < corners.size(); ++corner) {
            const display::Point point = shapes.at(static_cast<std::size_t>(line)).at(corner);
            corners.at(corner) = {Scaled(point.x, dpi_), Scaled(point.y, dpi_)};
        }
        SelectObject(dc, brushFor(line));
        Polygon(dc, corners.data(), static_cast<int>(corners.size()));
    }
    SelectObject(dc, brushFor(7));
    circle(display::SegmentCentre(7), display::PointRadius);

    const int labelHeight = -static_cast<int>((display::LabelPoints * dpi_ / 72.0) + 0.5);
    HFONT font = CreateFontW(labelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour(display::LabelColour));
    for (int line = 7; line >= 0; --line) {
        const display::Point centre = display::LampCentre(line);
        SelectObject(dc, brushFor(line));
        circle(centre, display::LampRadius);
        const double top = centre.y + display::LampRadius + display::LabelGap;
        RECT label = {Scaled(centre.x - (display::LampSpacing / 2.0), dpi_), Scaled(top, dpi_),
                      Scaled(centre.x + (display::LampSpacing / 2.0), dpi_),
                      Scaled(top + display::LabelHeight, dpi_)};
        const std::wstring name = L"D" + std::to_wstring(line);
        DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &label,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    BitBlt(target, area.left, area.top, width, height, dc, 0, 0, SRCCOPY);

    SelectObject(dc, oldFont);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(lit);
    DeleteObject(unlit);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

} // namespace pp
