// The real calls to Windows: InpOut (InpOut x64 in the x64 build, InpOut32 in
// the 32-bit one) through LoadLibraryEx and GetProcAddress, its driver through the process's token,
// the service manager, the kernel's code integrity and the registry, and the parallel ports through
// the Configuration Manager (cfgmgr32), as Device Manager shows them.
#include "port/windows/windows_calls.h"

#include "port/windows/windows_ports.h"

// clang-format off
#include <windows.h>
#include <cfgmgr32.h>
#include <winternl.h>
// clang-format on

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pp {

namespace {

// The InpOut of this build's machine.
#if defined(_WIN64)
constexpr const InpOutEdition& ThisInpOut = InpOutX64;
#else
constexpr const InpOutEdition& ThisInpOut = InpOut32;
#endif

std::wstring wide(std::string_view text) {
    return {text.begin(), text.end()}; // the libraries' and services' names are ASCII
}

std::string utf8(const std::wstring& text) {
    if (text.empty()) {
        return "";
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

std::wstring folderOfProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring systemDirectory() {
    std::array<wchar_t, MAX_PATH> path{};
    const UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
    return {path.data(), length < path.size() ? length : 0};
}

// The two places InpOut's library may be taken from, in order.
std::array<std::wstring, 2> inpOutPlaces() {
    const std::wstring library = L"\\" + wide(ThisInpOut.library);
    return {folderOfProgram() + library, systemDirectory() + library};
}

// Whether LoadLibraryEx takes the LOAD_LIBRARY_SEARCH_* flags: Windows 8 and
// later, and Windows 7 with update KB2533623, which brings them with
// SetDefaultDllDirectories.
bool searchFlagsTaken() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel != nullptr && GetProcAddress(kernel, "SetDefaultDllDirectories") != nullptr;
}

// 64-bit Windows, also under a 32-bit build (WOW64).
bool windows64() {
#if defined(_WIN64)
    return true;
#else
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) != FALSE && wow64 != FALSE;
#endif
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Whether the program runs with an administrator's rights: its token is
// elevated; on Windows XP, which has no elevation (TokenElevation is Vista's),
// its user is in the Administrators group.
bool tokenElevated() {
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) == FALSE) {
        return false;
    }
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    const bool asked =
        GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) != FALSE;
    CloseHandle(token);
    if (asked) {
        return elevation.TokenIsElevated != 0;
    }
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                 DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                 &administrators) == FALSE) {
        return false;
    }
    BOOL member = FALSE;
    const bool checked = CheckTokenMembership(nullptr, administrators, &member) != FALSE;
    FreeSid(administrators);
    return checked && member != FALSE;
}

// The service InpOut installs for its driver, as the service manager has it,
// where its name is known.
void readService(InpOutState& state) {
    if (state.edition.service.empty()) {
        return;
    }
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr) {
        return;
    }
    SC_HANDLE service =
        OpenServiceW(manager, wide(state.edition.service).c_str(), SERVICE_QUERY_STATUS);
    if (service == nullptr) {
        if (GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST) {
            state.service = DriverService::Missing;
        }
        CloseServiceHandle(manager);
        return;
    }
    SERVICE_STATUS_PROCESS status = {};
    DWORD size = 0;
    if (QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                             sizeof status, &size) != FALSE) {
        state.service = status.dwCurrentState == SERVICE_RUNNING ? DriverService::Running
                                                                 : DriverService::Stopped;
        // Its exit code, but for "never started since Windows started".
        state.serviceError = status.dwWin32ExitCode == ERROR_SERVICE_SPECIFIC_ERROR
                                 ? status.dwServiceSpecificExitCode
                             : status.dwWin32ExitCode == ERROR_SERVICE_NEVER_STARTED
                                 ? 0
                                 : status.dwWin32ExitCode;
    }
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

// A DWORD value under HKEY_LOCAL_MACHINE, where it is there. (RegGetValue
// would do it in one call, from Windows Vista on.)
std::optional<DWORD> registryNumber(const wchar_t* key, const wchar_t* value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD size = sizeof data;
    const LONG read =
        RegQueryValueExW(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(opened);
    if (read != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data) {
        return std::nullopt;
    }
    return data;
}

// A DWORD value under HKEY_LOCAL_MACHINE as a protection's state: 1 on, any
// other number off, Unknown where it is not there.
Protection registryProtection(const wchar_t* key, const wchar_t* value) {
    const auto number = registryNumber(key, value);
    if (!number) {
        return Protection::Unknown;
    }
    return *number == 1 ? Protection::On : Protection::Off;
}

// Windows' build number as the kernel has it: RtlGetVersion, which, unlike
// GetVersionEx, does not answer a program without a manifest with the
// version of Windows 8.
unsigned long windowsBuild() {
    using Query = LONG(NTAPI*)(PRTL_OSVERSIONINFOW);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto query = ntdll == nullptr ? nullptr
                                        : reinterpret_cast<Query>(reinterpret_cast<void*>(
                                              GetProcAddress(ntdll, "RtlGetVersion")));
    RTL_OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (query == nullptr || query(&version) < 0) {
        return 0;
    }
    return version.dwBuildNumber;
}

// Memory Integrity as the kernel runs it: its code-integrity options, asked of
// ntdll, which Wine may not answer; where it does not, whether it is
// configured to run.
Protection memoryIntegrity() {
    using Query = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    constexpr ULONG SystemCodeIntegrity = 103; // SystemCodeIntegrityInformation
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto query = ntdll == nullptr ? nullptr
                                        : reinterpret_cast<Query>(reinterpret_cast<void*>(
                                              GetProcAddress(ntdll, "NtQuerySystemInformation")));
    SYSTEM_CODEINTEGRITY_INFORMATION information = {sizeof information, 0};
    if (query != nullptr &&
        query(SystemCodeIntegrity, &information, sizeof information, nullptr) >= 0) {
        return (information.CodeIntegrityOptions & CODEINTEGRITY_OPTION_HVCI_KMCI_ENABLED) != 0
                   ? Protection::On
                   : Protection::Off;
    }
    return registryProtection(L"SYSTEM\\CurrentControlSet\\Control\\DeviceGuard\\Scenarios\\Hypervi"
                              L"sorEnforcedCodeIntegrity",
                              L"Enabled");
}

// The functions as InpOut exports them, undecorated, __stdcall on x86.
using Out32Function = void(WINAPI*)(short, short);
using DriverOpenFunction = BOOL(WINAPI*)();

class LoadedInpOut final : public InpOut {
public:
    LoadedInpOut(Out32Function out32, DriverOpenFunction driverOpen)
        : out32_(out32), driverOpen_(driverOpen) {}

    void out32(std::uint16_t address, PortByte value) override {
        out32_(static_cast<short>(address), static_cast<short>(value));
    }
    bool driverOpen() override { return driverOpen_() != FALSE; }

private:
    Out32Function out32_;
    DriverOpenFunction driverOpen_;
};

template <typename Function> Function lookUp(HMODULE module, const char* name) {
    // GetProcAddress gives every function as FARPROC; this is its real type.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The value `name` of a device's hardware key ("PortName": "LPT3").
std::wstring portName(DEVINST device) {
    HKEY key = nullptr;
    if (CM_Open_DevNode_Key(device, KEY_READ, 0, RegDisposition_OpenExisting, &key,
                            CM_REGISTRY_HARDWARE) != CR_SUCCESS) {
        return L"";
    }
    std::wstring value(64, L'\0');
    DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    DWORD type = 0;
    const LONG read = RegQueryValueExW(key, L"PortName", nullptr, &type,
                                       reinterpret_cast<BYTE*>(value.data()), &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS || type != REG_SZ) {
        return L"";
    }
    value.resize(size / sizeof(wchar_t));
    return value.substr(0, value.find(L'\0'));
}

// A text property of the device (CM_DRP_FRIENDLYNAME, CM_DRP_CLASSGUID), or
// nothing where it has none.
std::wstring deviceText(DEVINST device, ULONG property) {
    std::wstring text(256, L'\0');
    ULONG size = static_cast<ULONG>(text.size() * sizeof(wchar_t));
    if (CM_Get_DevNode_Registry_PropertyW(device, property, nullptr, text.data(), &size, 0) !=
        CR_SUCCESS) {
        return L"";
    }
    return text.substr(0, text.find(L'\0'));
}

// The I/O ranges the device was given, or failing that those it booted with;
// nothing where Windows cannot say: a 32-bit program on 64-bit Windows 8 and
// 8.1 gets CR_CALL_NOT_IMPLEMENTED, as documented, and a port listed without
// its ranges would read as one without an address.
std::optional<std::vector<IoRange>> ioRanges(DEVINST device) {
    std::vector<IoRange> ranges;
    LOG_CONF configuration = 0;
    const CONFIGRET allocated = CM_Get_First_Log_Conf(&configuration, device, ALLOC_LOG_CONF);
    if (allocated == CR_CALL_NOT_IMPLEMENTED) {
        return std::nullopt;
    }
    if (allocated != CR_SUCCESS &&
        CM_Get_First_Log_Conf(&configuration, device, BOOT_LOG_CONF) != CR_SUCCESS) {
        return ranges;
    }
    RES_DES current = 0;
    RES_DES next = 0;
    CONFIGRET found = CM_Get_Next_Res_Des(&next, configuration, ResType_IO, nullptr, 0);
    while (found == CR_SUCCESS) {
        if (current != 0) {
            CM_Free_Res_Des_Handle(current);
        }
        current = next;
        ULONG size = 0;
        if (CM_Get_Res_Des_Data_Size(&size, current, 0) == CR_SUCCESS && size >= sizeof(IO_DES)) {
            std::vector<char> data(size);
            if (CM_Get_Res_Des_Data(current, data.data(), size, 0) == CR_SUCCESS) {
                IO_DES header = {};
                std::copy_n(data.data(), sizeof header, reinterpret_cast<char*>(&header));
                if (header.IOD_Alloc_Base <= 0xFFFF && header.IOD_Alloc_End <= 0xFFFF &&
                    header.IOD_Alloc_Base <= header.IOD_Alloc_End) {
                    ranges.push_back({static_cast<std::uint16_t>(header.IOD_Alloc_Base),
                                      static_cast<std::uint16_t>(header.IOD_Alloc_End)});
                }
            }
        }
        found = CM_Get_Next_Res_Des(&next, current, ResType_IO, nullptr, 0);
    }
    if (current != 0) {
        CM_Free_Res_Des_Handle(current);
    }
    CM_Free_Log_Conf_Handle(configuration);
    return ranges;
}

class RealWindowsCalls final : public WindowsCalls {
public:
    InpOutLoad loadInpOut() override {
        InpOutLoad load;
        load.edition = ThisInpOut;
        const auto places = inpOutPlaces();
        const auto place = std::ranges::find_if(places, exists);
        if (place == places.end()) {
            load.path = utf8(places.front());
            load.failure = InpOutFailure::Missing;
            return load;
        }
        // By its full path, and what it needs only from its own folder and
        // System32: never from the working folder or PATH. Where Windows 7
        // lacks the flags for that, what it needs comes from its own folder
        // first and then the system's, the working folder having left the
        // search at start (SetDllDirectory).
        const DWORD search = searchFlagsTaken()
                                 ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                                 : LOAD_WITH_ALTERED_SEARCH_PATH;
        HMODULE module = LoadLibraryExW(place->c_str(), nullptr, search);
        load.path = utf8(*place);
        if (module == nullptr) {
            load.error = GetLastError();
            load.failure = load.error == ERROR_BAD_EXE_FORMAT ? InpOutFailure::OtherMachine
                                                              : InpOutFailure::LoadFailed;
            return load;
        }
        // Kept loaded for the rest of the run.
        const auto out32 = lookUp<Out32Function>(module, "Out32");
        const auto driverOpen = lookUp<DriverOpenFunction>(module, "IsInpOutDriverOpen");
        if (out32 == nullptr || driverOpen == nullptr) {
            load.failure = out32 == nullptr ? InpOutFailure::NoOut32 : InpOutFailure::NoDriverCheck;
            return load;
        }
        load.library = std::make_unique<LoadedInpOut>(out32, driverOpen);
        return load;
    }

    InpOutState inpOutState() override {
        InpOutState state;
        state.edition = ThisInpOut;
        state.windows64 = windows64();
        const auto places = inpOutPlaces();
        if (const auto place = std::ranges::find_if(places, exists); place != places.end()) {
            state.library = utf8(*place);
        }
        state.elevated = tokenElevated();
        readService(state);
        state.memoryIntegrity = memoryIntegrity();
        // The blocklist's switch, where it was ever set: 1 on, 0 off.
        state.blocklist = registryProtection(L"SYSTEM\\CurrentControlSet\\Control\\CI\\Config",
                                             L"VulnerableDriverBlocklistEnable");
        // Smart App Control: 1 enforcing, 0 off, 2 only evaluating.
        state.smartAppControl = registryProtection(
            L"SYSTEM\\CurrentControlSet\\Control\\CI\\Policy", L"VerifiedAndReputablePolicyState");
        state.windowsBuild = windowsBuild();
        return state;
    }

    std::optional<std::vector<WindowsParport>> parallelPorts() override {
        // The Ports class, serial and parallel ports alike; the LPT ones are
        // kept.
        static const wchar_t* const PortsClass = L"{4d36e978-e325-11ce-bfc1-08002be10318}";
        // Windows before 7 has no filter by class (CR_INVALID_FLAG): there
        // every device is listed, and those of the class kept; a device not
        // present has no node to locate.
        ULONG filter = CM_GETIDLIST_FILTER_CLASS | CM_GETIDLIST_FILTER_PRESENT;
        const wchar_t* classFilter = PortsClass;
        std::vector<WindowsParport> ports;
        // A port plugged in between the two calls makes the list longer than
        // the size just given: the size is asked again, a few times at most.
        constexpr int Attempts = 5;
        std::vector<wchar_t> ids;
        CONFIGRET listed = CR_BUFFER_SMALL;
        for (int attempt = 0; attempt < Attempts && listed == CR_BUFFER_SMALL; ++attempt) {
            ULONG size = 0;
            CONFIGRET sized = CM_Get_Device_ID_List_SizeW(&size, classFilter, filter);
            if (sized == CR_INVALID_FLAG && filter != 0) {
                filter = 0;
                classFilter = nullptr;
                sized = CM_Get_Device_ID_List_SizeW(&size, classFilter, filter);
            }
            if (sized != CR_SUCCESS) {
                return std::nullopt;
            }
            if (size == 0) {
                return ports;
            }
            ids.assign(size + 1, L'\0');
            listed = CM_Get_Device_ID_ListW(classFilter, ids.data(), size, filter);
        }
        if (listed != CR_SUCCESS) {
            return std::nullopt;
        }
        for (const wchar_t* id = ids.data(); *id != L'\0'; id += wcslen(id) + 1) {
            DEVINST device = 0;
            if (CM_Locate_DevNodeW(&device, const_cast<wchar_t*>(id), CM_LOCATE_DEVNODE_NORMAL) !=
                    CR_SUCCESS ||
                (filter == 0 &&
                 _wcsicmp(deviceText(device, CM_DRP_CLASSGUID).c_str(), PortsClass) != 0)) {
                continue;
            }
            const std::wstring name = portName(device);
            if (name.rfind(L"LPT", 0) != 0) {
                continue;
            }
            auto ranges = ioRanges(device);
            if (!ranges) {
                return std::nullopt;
            }
            ports.push_back(
                {utf8(name), utf8(deviceText(device, CM_DRP_FRIENDLYNAME)), std::move(*ranges)});
        }
        std::ranges::sort(ports, [](const auto& a, const auto& b) { return a.name < b.name; });
        return ports;
    }

    std::string programFolder() override { return utf8(folderOfProgram()); }
    std::string systemFolder() override { return utf8(systemDirectory()); }
};

} // namespace

std::unique_ptr<SystemPorts> MakeSystemPorts() {
    static RealWindowsCalls calls;
    return std::make_unique<WindowsSystemPorts>(calls);
}

} // namespace pp
