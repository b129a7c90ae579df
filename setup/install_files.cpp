// Steps 1 and 5: the payload resources written into the install folder,
// and the data package written, split into its members and deleted.
#include "setup/setup_program.h"

#include <cstdio>
#include <string>

#include "setup/data_package.h"

namespace {

const char PayloadType[] = "RT_RCDATA";

// One payload file written into the folder under its own name and logged;
// false after the step's box.
bool extractPayload(HWND owner, const char* folder, const char* name, InstallStage stage,
                    char (&path)[InstallPathSize])
{
    // A name that is not a plain file name would land outside the folder.
    const bool placed = isSafeFileName(name) && joinPath(folder, name, path, sizeof path);
    if (!placed || !extractResourceToFile(path, PayloadType, name)) {
        if (placed && lastErrorIsAccessDenied(path)) {
            showAccessDenied(owner, stage, path);
            return false;
        }
        if (!placed)
            snprintf(path, sizeof path, "%s\\%s", folder, name);
        showInstallError(owner, "Impossibile copiare il file", path);
        return false;
    }
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    setProgressText(path);
    stepProgress();
    logEntry(installContext, LogCopiedFile, path);
    return true;
}

}  // namespace

bool extractResourceToFile(const char* path, const char* type, const char* name)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, name, type);
    if (!resource)
        return false;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return false;
    const DWORD size = SizeofResource(module, resource);

    // A file made anew takes the folder's ACL; one that was already there
    // keeps its own, which another account may have chosen.
    DeleteFileA(path);
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;  // GetLastError says why
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    CloseHandle(file);
    return whole;
}

bool copyInstallFiles(HWND owner, const char* folder)
{
    if (!SetCurrentDirectoryA(folder)) {
        if (!CreateDirectoryA(folder, nullptr)) {
            if (lastErrorIsAccessDenied())
                showAccessDenied(owner, InstallStage::Files, folder);
            else
                showInstallError(owner, "Impossibile creare la directory", folder);
            return false;
        }
        logEntry(installContext, LogCreatedFolder, folder);
    }

    for (const std::string& name : readScriptList(installContext, "INSTALLFILELIST", InstallPathSize)) {
        char path[InstallPathSize];
        if (!extractPayload(owner, folder, name.c_str(), InstallStage::Files, path))
            return false;
    }
    return true;
}

bool installDataFile(HWND owner, const char* folder)
{
    if (isCancelled(installContext))
        return false;
    char dataFile[InstallPathSize];
    readScriptString(installContext, "GENERAL", "DataFile", "", dataFile, sizeof dataFile);
    if (!dataFile[0])
        return false;

    char path[InstallPathSize];
    if (!extractPayload(owner, folder, dataFile, InstallStage::Examples, path))
        return false;
    unpackPackage(installContext, folder, path);
    DeleteFileA(path);
    return true;
}
