// The window part of setup.exe: the backdrop, the two dialogs, the install
// driver and its six steps. The rules they follow (script lists, log texts,
// package format, version label) live in the portable files of this folder.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/tooltips.h"
#include "setup/install_context.h"
#include "setup/install_policy.h"
#include "setup/install_rules.h"
#include "setup/install_rules_win32.h"
#include "setup/windows_version.h"

// The run state shared by the steps (one installation per process).
extern InstallContext installContext;

// --- setup_window.cpp: program entry and backdrop ---------------------------
extern const char SetupWindowClass[];  // "Class_GENERAL_Setup"
extern const char SetupWindowTitle[];  // "Installazione di Quorvel"

// WinMain's body: single-instance check, backdrop, posted start command,
// message loop. Returns 0 in every case.
int runSetup(HINSTANCE instance);
// The window of a copy already running, whatever its title shows.
HWND findRunningSetup();
bool registerSetupClass(HINSTANCE instance);
HWND createSetupWindow(HINSTANCE instance);
// The handling of the start command: the installation, the clean-up, the
// final box and the quit message. Returns the installation's result.
bool installAndReport(HWND mainWindow);

// --- folder_dialog.cpp: FolderDialog (109) ---------------------------------
// Modal; fills folder on OK and returns 1, returns 0 when the user gave up.
INT_PTR showFolderDialog(HWND owner, char (&folder)[InstallPathSize]);
// True when the folder exists afterwards, created level by level with the
// user's consent when it was missing.
bool ensureFolder(HWND owner, const char* path);
bool browseForFolder(HWND owner, char (&path)[InstallPathSize]);
// The label of the running Windows (GetVersionExA); empty when unknown.
void windowsVersionLabel(char (&label)[WindowsVersionLabelSize]);
// What this Windows asks of the installer (GetVersionExA, installPolicyFor).
InstallPolicy currentInstallPolicy();
// The folder that the dialog proposes: Program Files from the shell on
// Vista and later, "C:\Quorvel" before.
std::string proposedFolder();
// Tooltips of the folder and progress dialogs' controls (*_texts.cpp),
// answered through answerToolTip (common/win/tooltips.h).
extern const ControlTextTable FolderDialogTexts;
extern const ControlTextTable ProgressDialogTexts;

// --- folder_protection.cpp ---------------------------------------------------
enum class FolderProtection { NotNeeded, Protected, Denied, Failed };
// On NT, a folder outside Program Files gets ProtectedFolderSddl, through
// functions looked up at run time (Windows 9x has none of them).
FolderProtection protectInstallFolder(const char* folder);
// Where kernel32 offers SetDefaultDllDirectories: later loads come from
// System32 only, never from the folder setup.exe was started from.
void restrictDllSearch();

// --- progress_dialog.cpp: ProgressDialog (110) -----------------------------
HWND createProgressDialog(HWND owner);
// Both do nothing when the dialog does not exist.
void setProgressText(const char* text);
void stepProgress();

// --- install_driver.cpp -----------------------------------------------------
// Folder dialog, log, script, progress dialog and the six steps in order.
bool runInstallation(HWND mainWindow);
// After a run: main window enabled, progress dialog and log closed.
void endInstallation(HWND mainWindow);

// --- install_files.cpp: steps 1 and 5 ---------------------------------------
bool extractResourceToFile(const char* path, const char* type, const char* name);
bool copyInstallFiles(HWND owner, const char* folder);
bool installDataFile(HWND owner, const char* folder);

// --- registration.cpp: steps 2 and 6 ----------------------------------------
bool registerAppPathAndFileTypes(HWND owner, const char* folder);
bool registerUninstall(const char* folder);

// --- shortcuts.cpp: steps 3 and 4 -------------------------------------------
// The Start menu's Programs folder and the desktop that get the links: those
// of all users where the policy asks for them and they exist, otherwise the
// user's own.
bool linkFolder(HWND owner, LinkPlace place, char (&path)[InstallPathSize]);
bool createProgramGroup(HWND owner, const char* folder);
bool createShortcuts(HWND owner, const char* folder);
HRESULT createShellLink(const char* target, const char* linkFile, const char* description,
                        const char* arguments, const char* workingFolder = nullptr);

// A script value read with the given buffer size (cut at size - 1).
std::string scriptText(const char* section, const char* key, unsigned size);

// Owner of every error box of the steps: the main window.
void showInstallError(HWND owner, const char* text, const char* caption);
// Windows refused access to object at this stage: the box that says that
// administrator rights are needed and what was done; the run then fails.
void showAccessDenied(HWND owner, InstallStage stage, const char* object);
// The last call failed because Windows refused access; with path, not
// merely because that file is read-only or is a folder.
bool lastErrorIsAccessDenied(const char* path = nullptr);
