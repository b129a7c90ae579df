// The install folder's own ACL on Windows NT, and the DLL search of
// setup.exe itself. Every function newer than Windows 98 is looked up at
// run time, so that setup.exe still starts there.
#include "setup/setup_program.h"

namespace {

typedef BOOL(WINAPI* StringToDescriptor)(LPCSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG);
typedef BOOL(WINAPI* SetFileSecurityFunction)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR);
typedef BOOL(WINAPI* SetDllDirectoriesFunction)(DWORD);

const DWORD SddlRevision1 = 1;
const DWORD LoadLibrarySearchSystem32 = 0x800;

// Through void*: the cast from FARPROC to the real type is what it is.
void* advapi32(const char* name)
{
    HMODULE module = GetModuleHandleA("advapi32.dll");
    return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace

// The ACL is set on the folder alone (SetFileSecurityA, no propagation):
// files already there, perhaps the user's own data, keep what they had,
// while every file setup writes is made anew (extractResourceToFile deletes
// first) and so takes the folder's ACL. That also covers Quorvel.inf, which
// the clean-up after an uninstallation runs as an administrator.
FolderProtection protectInstallFolder(const char* folder)
{
    char programFiles[InstallPathSize] = "";
    const InstallPolicy policy = currentInstallPolicy();
    if (!policy.protectFolder)
        return FolderProtection::NotNeeded;
    if (!specialFolderPath(nullptr, CSIDL_PROGRAM_FILES, programFiles))
        programFiles[0] = '\0';
    if (!needsOwnProtection(policy, folder, programFiles))
        return FolderProtection::NotNeeded;

    auto toDescriptor = reinterpret_cast<StringToDescriptor>(
        advapi32("ConvertStringSecurityDescriptorToSecurityDescriptorA"));
    auto setSecurity = reinterpret_cast<SetFileSecurityFunction>(advapi32("SetFileSecurityA"));
    // Windows NT 4 has neither function: it stays as it always was.
    if (!toDescriptor || !setSecurity)
        return FolderProtection::NotNeeded;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!toDescriptor(ProtectedFolderSddl, SddlRevision1, &descriptor, nullptr))
        return FolderProtection::Failed;
    const bool set = setSecurity(folder, DACL_SECURITY_INFORMATION, descriptor) != FALSE;
    const DWORD error = GetLastError();
    LocalFree(descriptor);
    if (set)
        return FolderProtection::Protected;
    return error == ERROR_ACCESS_DENIED ? FolderProtection::Denied : FolderProtection::Failed;
}

void restrictDllSearch()
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto setDirectories = kernel ? reinterpret_cast<SetDllDirectoriesFunction>(reinterpret_cast<void*>(
                                       GetProcAddress(kernel, "SetDefaultDllDirectories")))
                                 : nullptr;
    if (setDirectories)
        setDirectories(LoadLibrarySearchSystem32);
}
