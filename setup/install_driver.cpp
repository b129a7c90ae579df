// The install driver: folder, log, script, progress dialog, then the six
// steps in their fixed order. Each step shows its own error boxes.
#include "setup/setup_program.h"

#include <cstring>
#include <memory>

#include "common/win/windows_profile.h"

InstallContext installContext;

namespace {

const char JokeTitle[] = "Quorvel sta traslocando: si prega di non disturbare il facchino";

class FileLog : public LogWriter {
public:
    explicit FileLog(HANDLE file) : file_(file) {}
    void write(const char* bytes, size_t count) override
    {
        DWORD written = 0;
        WriteFile(file_, bytes, static_cast<DWORD>(count), &written, nullptr);
    }

private:
    HANDLE file_;
};

HANDLE logFile = INVALID_HANDLE_VALUE;
std::unique_ptr<FileLog> logWriter;
std::unique_ptr<WindowsProfile> scriptProfile;

// The log is written from its first byte; an older, longer log must not
// leave its tail behind the new one.
bool openLog(const char* path)
{
    logFile = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (logFile == INVALID_HANDLE_VALUE)
        return false;
    SetEndOfFile(logFile);
    logWriter.reset(new FileLog(logFile));
    installContext.log = logWriter.get();
    return true;
}

bool runSteps(HWND mainWindow)
{
    const char* folder = installContext.installFolder;
    if (!copyInstallFiles(mainWindow, folder))
        return false;
    if (!registerAppPathAndFileTypes(mainWindow, folder))
        return false;
    if (!createProgramGroup(mainWindow, folder))
        return false;
    if (!createShortcuts(mainWindow, folder))
        return false;
    // A refused data file still fails the run: the box has said that
    // administrator rights are missing, and the Uninstall entry would be too.
    if (!installDataFile(mainWindow, folder) && installContext.accessDenied)
        return false;
    return registerUninstall(folder);
}

}  // namespace

void showInstallError(HWND owner, const char* text, const char* caption)
{
    MessageBoxA(owner, text, caption, MB_OK | MB_ICONERROR);
}

void showAccessDenied(HWND owner, InstallStage stage, const char* object)
{
    installContext.accessDenied = true;
    MessageBoxA(owner, accessDeniedText(stage).c_str(), object, MB_OK | MB_ICONERROR);
}

bool lastErrorIsAccessDenied(const char* path)
{
    if (GetLastError() != ERROR_ACCESS_DENIED)
        return false;
    // A read-only file, or a folder where the file should be, is refused
    // with the same code to an administrator too.
    const DWORD attributes = path ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
    return attributes == INVALID_FILE_ATTRIBUTES ||
           !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

std::string scriptText(const char* section, const char* key, unsigned size)
{
    std::string buffer(size, '\0');
    readScriptString(installContext, section, key, "", &buffer[0], size);
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

bool runInstallation(HWND mainWindow)
{
    installContext = InstallContext{};
    char folder[InstallPathSize];
    if (showFolderDialog(mainWindow, folder) == 0)
        return false;
    // A refusal that the dialog reported and the user went past (another
    // folder) does not concern the run.
    installContext.accessDenied = false;
    // The dialog accepts at most 259 characters; one that leaves no room
    // for "\setup.log" cannot hold the log either.
    char logPath[InstallPathSize] = "";
    if (!setInstallFolder(installContext, folder) ||
        !joinPath(installContext.installFolder, "setup.log", logPath, sizeof logPath)) {
        showInstallError(mainWindow, "Impossibile creare il file per il log di installazione", folder);
        return false;
    }
    if (!openLog(logPath)) {
        if (lastErrorIsAccessDenied(logPath))
            showAccessDenied(mainWindow, InstallStage::Folder, logPath);
        else
            showInstallError(mainWindow, "Impossibile creare il file per il log di installazione", logPath);
        return false;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    logHeader(installContext, now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond);

    if (!extractResourceToFile(installContext.scriptPath, "RT_RCDATA", "INI")) {
        if (lastErrorIsAccessDenied(installContext.scriptPath))
            showAccessDenied(mainWindow, InstallStage::Folder, installContext.scriptPath);
        else
            showInstallError(mainWindow, "Impossibile copiare il file di inizializzazione",
                             installContext.scriptPath);
        return false;
    }
    logScriptCopied(installContext);
    scriptProfile.reset(new WindowsProfile(installContext.scriptPath));
    installContext.script = scriptProfile.get();

    HWND progress = createProgressDialog(mainWindow);
    installContext.progressDialog = progress;
    EnableWindow(mainWindow, FALSE);
    EnableWindow(progress, TRUE);
    InvalidateRect(mainWindow, nullptr, FALSE);
    UpdateWindow(mainWindow);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    SetWindowTextA(mainWindow, JokeTitle);

    return runSteps(mainWindow);
}

void endInstallation(HWND mainWindow)
{
    EnableWindow(mainWindow, TRUE);
    HWND progress = static_cast<HWND>(installContext.progressDialog);
    if (progress && IsWindow(progress))
        DestroyWindow(progress);
    installContext.progressDialog = nullptr;
    if (logFile != INVALID_HANDLE_VALUE)
        CloseHandle(logFile);
    logFile = INVALID_HANDLE_VALUE;
    installContext.log = nullptr;
    logWriter.reset();
    installContext.script = nullptr;
    scriptProfile.reset();
}
