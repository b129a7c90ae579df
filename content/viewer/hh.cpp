// hh.exe of Quorvel: opens a help file in the HTML Help viewer and stays
// until the viewer's window closes, so that a shortcut can open the help at
// a given topic ("Bibliografia": hh.exe -mapid 115860 C:\Quorvel\Quorvel.chm).
//
//   hh.exe [-mapid NUMBER] FILE.chm[::/topic.htm]
//
// Everything after the number (or the whole command line) is the file name,
// taken whole, so an unquoted path with blanks works as the installer's
// shortcut writes it. The help goes through hhctrl.ocx: ours, beside this
// program, which hands it to the system's control.
#include <windows.h>

#include <htmlhelp.h>

#include <cstdio>

#include "content/viewer/command_line.h"

namespace {

const char* const Caption = "Guida di Quorvel";

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

void complain(const char* text, const char* detail)
{
    char message[MAX_PATH + 256];
    std::snprintf(message, sizeof message, text, detail);
    MessageBoxA(nullptr, message, Caption, MB_OK | MB_ICONEXCLAMATION);
}

// Waits until the help window is gone, serving the messages of this thread
// (where the control creates its window) meanwhile.
void waitForWindow(HWND window)
{
    while (IsWindow(window)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (IsWindow(window)) MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    HelpRequest request;
    if (!parseHelpCommandLine(commandLine, &request)) {
        complain("Uso: hh.exe [-mapid numero] file.chm%s", "");
        return 2;
    }

    // The control resolves the file against its own idea of the current
    // folder; a full path leaves no doubt.
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(request.file, MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH || GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES) {
        complain("Impossibile trovare il file della guida:\n%s", request.file);
        return 1;
    }
    char target[MAX_PATH + 260];
    if (!joinTopic(full, request.topic, target, sizeof target)) {
        complain("Nome del file della guida troppo lungo:\n%s", full);
        return 1;
    }

    HMODULE control = LoadLibraryA("hhctrl.ocx");
    auto htmlHelp = control ? reinterpret_cast<HtmlHelpFunction>(
                                  reinterpret_cast<void*>(GetProcAddress(control, "HtmlHelpA")))
                            : nullptr;
    if (!htmlHelp) {
        complain("Impossibile aprire la guida: manca il controllo HTML Help (hhctrl.ocx).%s", "");
        return 1;
    }

    HWND window = request.hasMapId ? htmlHelp(nullptr, target, HH_HELP_CONTEXT, request.mapId)
                                   : htmlHelp(nullptr, target, HH_DISPLAY_TOPIC, 0);
    // A number the help file does not know still opens the help, at its start.
    if (!window && request.hasMapId) window = htmlHelp(nullptr, target, HH_DISPLAY_TOPIC, 0);
    if (!window) return 1;  // the control has told the user why
    waitForWindow(window);
    htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
    FreeLibrary(control);
    return 0;
}
