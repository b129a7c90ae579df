// FolderDialog (109): where to install. Also the folder checks behind its
// OK button, the shell's folder browser and the Windows-version label.
#include "setup/setup_program.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "common/win/centre_window.h"
#include "common/win/tooltips.h"
#include "setup/setup_ids.h"

namespace {

char* resultBuffer(HWND dialog)
{
    return reinterpret_cast<char*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR onFolderInit(HWND dialog, char* result)
{
    SetDlgItemTextA(dialog, IDC_FOLDER_EDIT, proposedFolder().c_str());
    centreWindow(dialog);
    registerDialogTools(dialog);
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(result));
    char label[WindowsVersionLabelSize];
    windowsVersionLabel(label);
    SetDlgItemTextA(dialog, IDC_VERSION_LABEL, label);
    return TRUE;
}

void onFolderOk(HWND dialog)
{
    char text[InstallPathSize] = "";
    GetDlgItemTextA(dialog, IDC_FOLDER_EDIT, text, sizeof text);
    // Later steps change the working directory, so a relative folder would
    // name a different place in each of them; setup installs on a drive.
    if (pathRoot(text) != PathRoot::Drive) {
        MessageBoxA(dialog,
                    "Indicare il percorso completo della cartella, a partire dalla lettera "
                    "dell'unità (per esempio C:\\Quorvel).",
                    text[0] ? text : "Cartella di installazione", MB_OK | MB_ICONERROR);
        return;
    }
    // One form for every step and for the uninstaller: "C:\Quorvel\\" would
    // reach the registry with its doubled separator.
    const std::string folder = normaliseFolder(text);
    if (isRefusedDestination(folder.c_str(), true)) {
        MessageBoxA(dialog,
                    "Non è possibile installare il software nella cartella di Windows, nella cartella "
                    "di sistema, nella radice di un'unità o in una cartella già esistente al loro "
                    "interno: i file del sistema verrebbero sostituiti. Scegliere un'altra cartella.",
                    text, MB_OK | MB_ICONERROR);
        return;
    }
    if (!ensureFolder(dialog, folder.c_str()))
        return;
    // Any other account could replace the programs or the clean-up's INF in
    // a folder that inherits "Modify" for every user: no installation there.
    switch (protectInstallFolder(folder.c_str())) {
    case FolderProtection::NotNeeded:
    case FolderProtection::Protected:
        break;
    case FolderProtection::Denied:
        showAccessDenied(dialog, InstallStage::Folder, folder.c_str());
        return;
    case FolderProtection::Failed:
        MessageBoxA(dialog,
                    "Impossibile proteggere la cartella dalle modifiche degli altri utenti del computer: "
                    "non è stato installato nulla. Scegliere una cartella in Programmi o su un disco NTFS.",
                    folder.c_str(), MB_OK | MB_ICONERROR);
        return;
    }
    std::memcpy(resultBuffer(dialog), folder.c_str(), folder.size() + 1);
    EndDialog(dialog, 1);
}

void onFolderCancel(HWND dialog)
{
    if (MessageBoxA(dialog, "Interrompere l'installazione del software?", "Attenzione",
                    MB_YESNOCANCEL) == IDYES)
        EndDialog(dialog, 0);
}

void onFolderBrowse(HWND dialog)
{
    char path[InstallPathSize] = "";
    if (browseForFolder(dialog, path))
        SetDlgItemTextA(dialog, IDC_FOLDER_EDIT, path);
}

INT_PTR onFolderCommand(HWND dialog, WPARAM command)
{
    switch (command) {
    case IDOK:
        onFolderOk(dialog);
        return TRUE;
    case IDCANCEL:
        onFolderCancel(dialog);
        return TRUE;
    case IDC_FOLDER_BROWSE:
        onFolderBrowse(dialog);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK folderDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onFolderInit(dialog, reinterpret_cast<char*>(lParam));
    case WM_COMMAND:
        return onFolderCommand(dialog, wParam);
    case WM_NOTIFY:
        return answerToolTip(reinterpret_cast<NMHDR*>(lParam), FolderDialogTexts);
    }
    return FALSE;
}

bool isDirectory(const char* path)
{
    return SetCurrentDirectoryA(path) != FALSE;
}

// Each level of copy (which ends with "\") in turn, from the prefix before
// its second "\" to the whole path; a copy with a single "\" is one level.
bool createLevels(HWND owner, const char* copy)
{
    const size_t length = std::strlen(copy);
    const char* second = std::strchr(copy, '\\');
    second = second ? std::strchr(second + 1, '\\') : nullptr;
    if (!second) {
        if (isDirectory(copy) || CreateDirectoryA(copy, nullptr))
            return true;
        if (lastErrorIsAccessDenied())
            showAccessDenied(owner, InstallStage::Folder, copy);
        return false;
    }

    char level[InstallPathSize + 2];
    for (size_t at = static_cast<size_t>(second - copy); at < length; ++at) {
        if (copy[at] != '\\')
            continue;
        std::memcpy(level, copy, at);
        level[at] = '\0';
        if (!isDirectory(level) && !CreateDirectoryA(level, nullptr)) {
            if (lastErrorIsAccessDenied())
                showAccessDenied(owner, InstallStage::Folder, level);
            else
                MessageBoxA(owner, "Errore. Impossibile creare la directory!", level, MB_OK | MB_ICONERROR);
            return false;
        }
    }
    return true;
}

int CALLBACK browseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM)
{
    switch (message) {
    case BFFM_INITIALIZED:
        centreWindow(browser);
        break;
    case BFFM_SELCHANGED: {
        char path[InstallPathSize] = "";
        if (!SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path))
            path[0] = '\0';
        SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
        break;
    }
    }
    return 0;
}

}  // namespace

INT_PTR showFolderDialog(HWND owner, char (&folder)[InstallPathSize])
{
    std::memset(folder, 0, sizeof folder);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FOLDER), owner,
                           folderDialogProc, reinterpret_cast<LPARAM>(folder));
}

bool ensureFolder(HWND owner, const char* path)
{
    char previous[InstallPathSize] = "";
    const DWORD kept = GetCurrentDirectoryA(sizeof previous, previous);
    if (kept == 0 || kept >= sizeof previous)
        previous[0] = '\0';

    bool exists = isDirectory(path);
    if (!exists && MessageBoxA(owner, "La directory specificata non esiste. Creare la directory?", path,
                               MB_YESNOCANCEL) != IDYES) {
        if (previous[0])
            SetCurrentDirectoryA(previous);
        return false;
    }
    if (!exists && CreateDirectoryA(path, nullptr))
        exists = true;

    if (!exists) {
        // A missing parent (or an existing folder): go level by level.
        char copy[InstallPathSize + 2];
        const size_t length = std::strlen(path);
        if (length >= InstallPathSize) {
            if (previous[0])
                SetCurrentDirectoryA(previous);
            return false;
        }
        std::memcpy(copy, path, length + 1);
        if (length == 0 || copy[length - 1] != '\\') {
            copy[length] = '\\';
            copy[length + 1] = '\0';
        }
        exists = createLevels(owner, copy);
    }
    if (previous[0])
        SetCurrentDirectoryA(previous);
    return exists;
}

bool browseForFolder(HWND owner, char (&path)[InstallPathSize])
{
    char displayName[InstallPathSize] = "";
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = "Scegli la directory dove installare il software";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(owner);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen)
        return false;
    const bool converted = SHGetPathFromIDListA(chosen, path) != FALSE;
    freeItemList(chosen);
    return converted;
}

void windowsVersionLabel(char (&label)[WindowsVersionLabelSize])
{
    OSVERSIONINFOA info;
    WindowsVersion version;
    windowsVersionLabel(readWindowsVersion(info, version), label, sizeof label);
}

InstallPolicy currentInstallPolicy()
{
    OSVERSIONINFOA info;
    WindowsVersion version;
    return installPolicyFor(readWindowsVersion(info, version));
}

// A 32-bit setup on 64-bit Windows is given "Program Files (x86)" by the shell.
std::string proposedFolder()
{
    char programFiles[InstallPathSize] = "";
    const InstallPolicy policy = currentInstallPolicy();
    if (!policy.programFilesFolder || !specialFolderPath(nullptr, CSIDL_PROGRAM_FILES, programFiles))
        programFiles[0] = '\0';
    return proposedInstallFolder(policy, programFiles);
}
