// Resource and control ids of setup.exe, as the installer has always
// numbered them.
#pragma once

// Icon group of the program and of its window class.
#define IDI_ICON1 104

// Dialogs.
#define IDD_FOLDER 109
#define IDD_PROGRESS 110

// FolderDialog controls (OK and Annulla are IDOK and IDCANCEL).
#define IDC_FOLDER_EDIT 1005
#define IDC_FOLDER_BROWSE 3
#define IDC_VERSION_LABEL 1008

// ProgressDialog controls; the status line shares 1008 with the label above.
#define IDC_PROGRESS_STATUS 1008
#define IDC_PROGRESS_BAR 1011
#define IDC_PROGRESS_ANIMATION 1012
