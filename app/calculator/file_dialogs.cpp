// chooseCalculationFile: the common open and save dialogs for .qvl files, and
// the folders they start in.
#include "app/calculator/file_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <string>

#include "app/calculator/calculator.h"
#include "app/calculator/notes_pane.h"
#include "app/ui/app_state.h"

namespace {

// The long form of a full path, so that a short name given on the command
// line compares equal to the program's own folder.
std::string longPath(const char* path)
{
    char full[MAX_PATH];
    const DWORD fullLength = GetFullPathNameA(path, sizeof full, full, nullptr);
    if (fullLength == 0 || fullLength >= sizeof full)
        return path;
    char longer[MAX_PATH];
    const DWORD longLength = GetLongPathNameA(full, longer, sizeof longer);
    return longLength > 0 && longLength < sizeof longer ? longer : full;
}

std::string programFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return "";
    std::string folder = longPath(path);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? "" : folder.substr(0, slash);
}

// My Documents. The shell functions that name it are looked up at run time:
// the first Windows 98 shell has neither.
std::string documentsFolder()
{
    using FolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    using SpecialFolderPath = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
    HMODULE shell = GetModuleHandleA("shell32.dll");
    if (!shell)
        shell = LoadLibraryA("shell32.dll");
    if (!shell)
        return "";
    char folder[MAX_PATH] = "";
    if (auto folderPath = reinterpret_cast<FolderPath>(
            reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathA")))) {
        if (SUCCEEDED(folderPath(nullptr, CSIDL_PERSONAL, nullptr, 0, folder)))
            return folder;
    }
    if (auto specialFolderPath = reinterpret_cast<SpecialFolderPath>(
            reinterpret_cast<void*>(GetProcAddress(shell, "SHGetSpecialFolderPathA")))) {
        if (specialFolderPath(nullptr, folder, CSIDL_PERSONAL, FALSE))
            return folder;
    }
    return "";
}

}  // namespace

bool isInProgramFolder(const char* path)
{
    return path && path[0] && isInsideFolder(longPath(path), programFolder());
}

bool chooseCalculationFile(HWND owner, char* path, DWORD size, char* notes, const char* currentFile)
{
    if (!path || size == 0)
        return false;
    path[0] = '\0';

    char filter[] = "Quorvel (*.qvl)|*.qvl|";
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    const std::string current = currentFile && currentFile[0] ? longPath(currentFile) : "";
    const std::string folder = fileDialogFolder(current, programFolder(), documentsFolder());

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hInstance = appState.instance ? appState.instance : GetModuleHandleA(nullptr);
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = size;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = "qvl";
    dialog.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    dialog.Flags |= notes ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    dialog.lCustData = reinterpret_cast<LPARAM>(notes);
    dialog.lpfnHook = notesPaneHook;
    dialog.lpTemplateName = "IDD_ADDENDUM";

    const BOOL chosen = notes ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!chosen)
        path[0] = '\0';
    return chosen != FALSE;
}
