// The Windows half of the install rules, shared by setup.exe and remove.exe.
// remove.exe links it without the C runtime's start-up code: no static
// objects with constructors here.
#include "setup/install_rules_win32.h"

#include "common/win/windows_profile.h"

bool specialFolderPath(HWND owner, int folderId, char (&path)[InstallPathSize])
{
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, folderId, &list)) || !list)
        return false;
    const bool converted = SHGetPathFromIDListA(list, path) != FALSE;
    freeItemList(list);
    return converted;
}

void freeItemList(LPITEMIDLIST list)
{
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(list);
        allocator->Release();
    }
}

bool linkPlaceFolder(HWND owner, LinkPlace place, bool allUsers, char (&path)[InstallPathSize])
{
    static const int folders[][2] = {{CSIDL_DESKTOP, CSIDL_COMMON_DESKTOPDIRECTORY},
                                     {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS},
                                     {CSIDL_STARTUP, CSIDL_COMMON_STARTUP}};
    return specialFolderPath(owner, folders[static_cast<int>(place)][allUsers ? 1 : 0], path);
}

void showNoLinkFolder(HWND owner, LinkPlace place)
{
    if (place == LinkPlace::Desktop)
        MessageBoxA(owner, "Impossibile trovare il folder Desktop", "", MB_OK | MB_ICONERROR);
    else
        MessageBoxA(owner, "Impossibile trovare il folder nel menu Start", "Programmi", MB_OK | MB_ICONERROR);
}

void readSystemFolders(char (&windows)[InstallPathSize], char (&system)[InstallPathSize])
{
    const UINT windowsLength = GetWindowsDirectoryA(windows, InstallPathSize);
    if (windowsLength == 0 || windowsLength >= InstallPathSize)
        windows[0] = '\0';
    const UINT systemLength = GetSystemDirectoryA(system, InstallPathSize);
    if (systemLength == 0 || systemLength >= InstallPathSize)
        system[0] = '\0';
}

bool isRefusedDestination(const char* folder, bool installing)
{
    char windows[InstallPathSize];
    char system[InstallPathSize];
    readSystemFolders(windows, system);
    char full[InstallPathSize] = "";
    const DWORD fullLength = GetFullPathNameA(folder, sizeof full, full, nullptr);
    if (fullLength == 0 || fullLength >= sizeof full)
        return isForbiddenInstallFolder(folder, windows, system, installing);
    const DWORD attributes = GetFileAttributesA(full);
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    char longPath[InstallPathSize] = "";
    const DWORD longLength = existed ? GetLongPathNameA(full, longPath, sizeof longPath) : 0;
    const char* checked = longLength > 0 && longLength < sizeof longPath ? longPath : full;
    const bool below = installing && existed;
    return isForbiddenInstallFolder(folder, windows, system, below) ||
           isForbiddenInstallFolder(checked, windows, system, below);
}

const WindowsVersion* readWindowsVersion(OSVERSIONINFOA& info, WindowsVersion& version)
{
    info = OSVERSIONINFOA{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info))
        return nullptr;
    version = {info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId, info.szCSDVersion};
    return &version;
}

InstallFolderNames installFolderNames(const char* folder)
{
    char shortPath[InstallPathSize];
    const DWORD length = GetShortPathNameA(folder, shortPath, sizeof shortPath);
    InstallFolderNames names{folder, length > 0 && length < sizeof shortPath ? shortPath : folder};
    if (!names.shortForm.empty() && names.shortForm.back() == '\\')
        names.shortForm.pop_back();
    return names;
}

bool infFileNamesFolder(const char* infPath, const InstallFolderNames& folder)
{
    WindowsProfile inf(infPath);
    return infNamesFolder(inf, folder);
}

HRESULT openShellLink(IShellLinkA** link, IPersistFile** file)
{
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      reinterpret_cast<void**>(link));
    if (SUCCEEDED(result)) {
        result = (*link)->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file));
        if (FAILED(result))
            (*link)->Release();
    }
    return result;
}
