// Shared helpers of setup.exe's Wine tests: the real backdrop window, a
// driver that answers the folder dialog from a timer, the payload's source
// files, and read-back of files, registry values and shortcuts.
#pragma once

#include <windows.h>
#include <shlobj.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "setup/setup_ids.h"
#include "setup/setup_program.h"
#include "tests/win32/support/import_patch.h"
#include "tests/win32/support/message_box_catcher.h"

const char FolderDialogTitle[] = "Installazione di Quorvel";

// A Unix path of the build as Wine sees it.
inline std::string winePath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

inline bool readFile(const std::string& path, std::string* bytes)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bytes->clear();
    char buffer[65536];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes->append(buffer, count);
    std::fclose(file);
    return true;
}

inline std::string fileText(const std::string& path)
{
    std::string bytes;
    readFile(path, &bytes);
    return bytes;
}

// Equal bytes, reported by size and first difference (no dumps of programs).
inline testing::AssertionResult sameBytes(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    return testing::AssertionFailure() << actual.size() << " bytes instead of " << expected.size()
                                       << ", first difference at " << at;
}

inline bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void writeFile(const std::string& path, const std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// Deletes a folder and everything in it, read-only files too. The steps
// leave the process in the folders they made, and the working directory
// cannot be removed: the test moves out first.
inline void removeTree(const std::string& folder)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    SetCurrentDirectoryA(temp);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

inline std::string tempFolder(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = temp;
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder + "\\" + name;
}

// One payload resource and the build file it was made from.
struct PayloadFile {
    std::string resource;
    std::string source;
};

inline std::vector<PayloadFile> payloadFiles()
{
    std::vector<PayloadFile> files;
    std::string manifest;
    if (!readFile(winePath(QUORVEL_SETUP_MANIFEST), &manifest))
        return files;
    size_t at = 0;
    while (at < manifest.size()) {
        size_t end = manifest.find('\n', at);
        if (end == std::string::npos)
            end = manifest.size();
        const std::string line = manifest.substr(at, end - at);
        const size_t bar = line.find('|');
        const size_t bar2 = line.find('|', bar + 1);
        if (bar != std::string::npos && bar2 != std::string::npos)
            files.push_back({line.substr(0, bar), winePath(line.substr(bar + 1, bar2 - bar - 1))});
        at = end + 1;
    }
    return files;
}

inline std::string payloadSource(const std::string& resource)
{
    for (const PayloadFile& file : payloadFiles())
        if (file.resource == resource)
            return file.source;
    return "";
}

// --- registry ----------------------------------------------------------------

inline bool registryText(HKEY root, const std::string& key, const char* value, std::string* text)
{
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    char buffer[2048];
    DWORD size = sizeof buffer, type = 0;
    const bool read = RegQueryValueExA(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                                       &size) == ERROR_SUCCESS && type == REG_SZ;
    RegCloseKey(opened);
    if (read)
        text->assign(buffer, size > 0 && buffer[size - 1] == '\0' ? size - 1 : size);
    return read;
}

inline std::string registryText(HKEY root, const std::string& key, const char* value)
{
    std::string text = "<missing>";
    registryText(root, key, value, &text);
    return text;
}

inline bool registryKeyExists(HKEY root, const std::string& key)
{
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

inline DWORD registryNumber(HKEY root, const std::string& key, const char* value)
{
    HKEY opened;
    DWORD number = 0xDEADBEEF, size = sizeof number, type = 0;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return number;
    if (RegQueryValueExA(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        number = 0xDEADBEEF;
    RegCloseKey(opened);
    return number;
}

inline void deleteRegistryTree(HKEY root, const std::string& key)
{
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS)
        return;
    char name[256];
    while (RegEnumKeyA(opened, 0, name, sizeof name) == ERROR_SUCCESS)
        deleteRegistryTree(opened, name);
    RegCloseKey(opened);
    RegDeleteKeyA(root, key.c_str());
}

// --- shortcuts -----------------------------------------------------------------

struct LinkData {
    bool loaded = false;
    std::string path;
    std::string arguments;
    std::string description;
    std::string workingDirectory;
};

inline LinkData loadLink(const std::string& file)
{
    LinkData data;
    const HRESULT com = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(persist->Load(wide, STGM_READ))) {
                char text[1024];
                data.loaded = true;
                if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH)))
                    data.path = text;
                if (SUCCEEDED(link->GetArguments(text, sizeof text)))
                    data.arguments = text;
                if (SUCCEEDED(link->GetDescription(text, sizeof text)))
                    data.description = text;
                if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text)))
                    data.workingDirectory = text;
            }
            persist->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return data;
}

inline std::string shellFolder(int id)
{
    char path[InstallPathSize] = "";
    specialFolderPath(nullptr, id, path);
    return path;
}

// --- another Windows, through the program's import of GetVersionExA ---------------

// While it lives, the installer reads this version (platform 1 is 9x, 2 NT).
class FakeWindowsVersion {
public:
    FakeWindowsVersion(DWORD major, DWORD minor, DWORD platform)
    {
        version() = {sizeof(OSVERSIONINFOA), major, minor, 1000, platform, ""};
        original_ = replaceImport("kernel32.dll", "GetVersionExA", &fake);
    }
    ~FakeWindowsVersion() { replaceImport("kernel32.dll", "GetVersionExA", original_); }
    bool active() const { return original_ != nullptr; }

private:
    typedef BOOL(WINAPI* Function)(OSVERSIONINFOA*);
    static OSVERSIONINFOA& version()
    {
        static OSVERSIONINFOA fixed;
        return fixed;
    }
    static BOOL WINAPI fake(OSVERSIONINFOA* info)
    {
        if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA))
            return FALSE;
        const DWORD size = info->dwOSVersionInfoSize;
        *info = version();
        info->dwOSVersionInfoSize = size;
        return TRUE;
    }
    Function original_;
};

// The ACL of a file or folder as SDDL text; empty when it has none.
inline std::string folderAcl(const std::string& path)
{
    char buffer[4096];
    DWORD needed = 0;
    if (!GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, buffer, sizeof buffer, &needed))
        return "";
    char* text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorA(buffer, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                              &text, nullptr))
        return "";
    std::string result = text;
    LocalFree(text);
    return result;
}

// --- the folder dialog, answered from a timer ------------------------------------

// Steps run one per timer tick while the modal loops run; a step returns
// false to be tried again at the next tick (its window is not there yet,
// or a message box is open over it).
class DialogDriver {
public:
    using Step = std::function<bool()>;

    explicit DialogDriver(std::vector<Step> steps) : steps_(std::move(steps))
    {
        active() = this;
        timer_ = SetTimer(nullptr, 0, 20, tick);
    }
    ~DialogDriver()
    {
        KillTimer(nullptr, timer_);
        active() = nullptr;
    }
    size_t done() const { return next_; }

    static HWND folderDialog()
    {
        HWND dialog = FindWindowA("#32770", FolderDialogTitle);
        return dialog && IsWindowEnabled(dialog) ? dialog : nullptr;
    }
    // Types text into the folder edit and presses the button.
    static Step press(int button, const std::string& text = "\x01")
    {
        return [button, text]() {
            HWND dialog = folderDialog();
            if (!dialog)
                return false;
            if (text != "\x01")
                SetDlgItemTextA(dialog, IDC_FOLDER_EDIT, text.c_str());
            PostMessageA(dialog, WM_COMMAND, button, 0);
            return true;
        };
    }

private:
    static DialogDriver*& active()
    {
        static DialogDriver* driver = nullptr;
        return driver;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogDriver* self = active();
        if (!self)
            return;
        if (self->next_ < self->steps_.size() && self->steps_[self->next_]())
            ++self->next_;
        // A test that went wrong must not hang the run.
        if (++self->ticks_ == 500) {
            ADD_FAILURE() << "the folder dialog was still open after 10 s";
            if (HWND dialog = FindWindowA("#32770", FolderDialogTitle))
                EndDialog(dialog, 0);
        }
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
    int ticks_ = 0;
    UINT_PTR timer_;
};

// The boxes the catcher saw, without the dialogs that merely look like
// message boxes to it (both have a static of id -1).
inline std::vector<CaughtMessageBox> messageBoxes(const MessageBoxCatcher& catcher)
{
    std::vector<CaughtMessageBox> boxes;
    for (const CaughtMessageBox& box : catcher.caught())
        if (box.caption != FolderDialogTitle && box.caption != "Installazione di Quorvel in corso")
            boxes.push_back(box);
    return boxes;
}

// The backdrop window as the program makes it, for the tests' dialogs.
class SetupWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        static bool registered = registerSetupClass(GetModuleHandleA(nullptr));
        ASSERT_TRUE(registered);
        mainWindow = createSetupWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(mainWindow, nullptr);
        pumpMessages(20);
    }
    void TearDown() override
    {
        endInstallation(mainWindow);
        DestroyWindow(mainWindow);
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    HWND mainWindow = nullptr;
};
