// The Windows half of what setup and remove share, compiled into both: where
// the shell keeps the folders of the links, the folders nothing may be
// installed in, the running Windows, the install folder's two names, the
// reading of the INF and the shell's link object.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "setup/install_context.h"
#include "setup/install_rules.h"
#include "setup/windows_version.h"

// SHGetSpecialFolderLocation's folder as a path; false where the shell has none.
bool specialFolderPath(HWND owner, int folderId, char (&path)[InstallPathSize]);
void freeItemList(LPITEMIDLIST list);

// The folders of the links, the running user's or those of all users
// (Windows 9x has none of the latter).
enum class LinkPlace { Desktop, Programs, Startup };
bool linkPlaceFolder(HWND owner, LinkPlace place, bool allUsers, char (&path)[InstallPathSize]);
// The box of either program when the shell names no Programs or Desktop folder.
void showNoLinkFolder(HWND owner, LinkPlace place);

// GetWindowsDirectoryA and GetSystemDirectoryA; empty when unknown.
void readSystemFolders(char (&windows)[InstallPathSize], char (&system)[InstallPathSize]);
// isForbiddenInstallFolder for the folder as given and as its full long path
// ("C:\Quorvel\..\Windows" and short names are the same folders); an
// existing folder below Windows or System counts only when installing.
bool isRefusedDestination(const char* folder, bool installing);

// GetVersionExA's basic structure, which every Windows fills; null when it
// cannot be read. The service pack points into info.
const WindowsVersion* readWindowsVersion(OSVERSIONINFOA& info, WindowsVersion& version);

// The folder as given and its 8.3 form (the long one where the file system
// has none), without a trailing "\".
InstallFolderNames installFolderNames(const char* folder);

// infNamesFolder of the INF file, read through the platform's profile
// functions: setup reads it back after writing it, remove before trusting it.
bool infFileNamesFolder(const char* infPath, const InstallFolderNames& folder);

// The shell's link object and its file interface, both to be released;
// nothing to release on failure.
HRESULT openShellLink(IShellLinkA** link, IPersistFile** file);
