// hhctrl.ocx of Quorvel: a thin layer in front of the system's HTML Help
// control. Installed beside Quorvel.exe, it is the hhctrl.ocx that the
// programs load; it hands every call to the control of the system folder,
// loaded by its full path, and adds two things:
//  - context 0 opens the default topic: the help compiler keeps no map entry
//    for 0, and F1 in the database tree asks for it;
//  - a text popup of our own where the system control shows none (Wine 8
//    does not implement HH_DISPLAY_TEXT_POPUP) or where there is no system
//    control at all.
// Without a system control, requests for a help window get a clear message.
#include <windows.h>

#include <htmlhelp.h>

namespace {

using HtmlHelpAFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
using HtmlHelpWFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

HINSTANCE layerModule;

struct SystemControl {
    bool tried = false;
    HMODULE module = nullptr;
    HtmlHelpAFunction htmlHelpA = nullptr;
    HtmlHelpWFunction htmlHelpW = nullptr;
};
SystemControl systemControl;
char controlPathOverride[MAX_PATH];

const char* const PopupClass = "QuorvelHelpPopup";
const char* const NoControlText =
    "La Guida di Quorvel non può essere aperta: in questo sistema manca il controllo HTML Help "
    "di Windows (hhctrl.ocx nella cartella di sistema).";
const char* const NoControlCaption = "Guida di Quorvel";

// Full path of the system's control into path (MAX_PATH); false if it does not fit.
bool systemControlPath(char* path)
{
    if (controlPathOverride[0] != '\0') {
        lstrcpynA(path, controlPathOverride, MAX_PATH);
        return true;
    }
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    static const char name[] = "\\hhctrl.ocx";
    if (length == 0 || length + sizeof name > MAX_PATH) return false;
    CopyMemory(path + length, name, sizeof name);
    return true;
}

const SystemControl& loadSystemControl()
{
    if (systemControl.tried) return systemControl;
    systemControl.tried = true;
    char path[MAX_PATH];
    if (!systemControlPath(path)) return systemControl;
    HMODULE module = LoadLibraryA(path);
    // When this layer is the only hhctrl.ocx around (copied into the system
    // folder, or the loader matches it by name), calling on would recurse.
    if (module == nullptr || module == layerModule) {
        if (module) FreeLibrary(module);
        return systemControl;
    }
    auto a = reinterpret_cast<HtmlHelpAFunction>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpA")));
    auto w = reinterpret_cast<HtmlHelpWFunction>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpW")));
    if (a == nullptr || a == &HtmlHelpA) {
        FreeLibrary(module);
        return systemControl;
    }
    systemControl.module = module;
    systemControl.htmlHelpA = a;
    systemControl.htmlHelpW = w != &HtmlHelpW ? w : nullptr;
    return systemControl;
}

bool opensHelpWindow(UINT command)
{
    switch (command) {
    case HH_DISPLAY_TOPIC:
    case HH_DISPLAY_TOC:
    case HH_DISPLAY_INDEX:
    case HH_DISPLAY_SEARCH:
    case HH_HELP_CONTEXT:
    case HH_KEYWORD_LOOKUP:
    case HH_ALINK_LOOKUP:
        return true;
    default:
        return false;
    }
}

void reportNoControl(HWND caller)
{
    MessageBoxA(caller, NoControlText, NoControlCaption, MB_OK | MB_ICONEXCLAMATION);
}

// --- the popup --------------------------------------------------------------

struct PopupData {
    char* text;
    HFONT font;  // owned when not a stock font
    bool ownsFont;
    COLORREF foreground, background;
    RECT margins;
};

HWND currentPopup;

void closePopup(HWND window)
{
    if (IsWindow(window)) DestroyWindow(window);
}

LRESULT onPopupPaint(HWND window, PopupData* data)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(data->background);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    HGDIOBJ oldFont = SelectObject(dc, data->font);
    SetTextColor(dc, data->foreground);
    SetBkMode(dc, TRANSPARENT);
    RECT box = {client.left + data->margins.left, client.top + data->margins.top,
                client.right - data->margins.right, client.bottom - data->margins.bottom};
    DrawTextA(dc, data->text, -1, &box, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
    return 0;
}

LRESULT onPopupDestroy(HWND window, PopupData* data)
{
    if (data) {
        if (data->ownsFont) DeleteObject(data->font);
        HeapFree(GetProcessHeap(), 0, data->text);
        HeapFree(GetProcessHeap(), 0, data);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    if (currentPopup == window) currentPopup = nullptr;
    return 0;
}

LRESULT CALLBACK popupProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* data = reinterpret_cast<PopupData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT: return data ? onPopupPaint(window, data) : DefWindowProcA(window, message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KILLFOCUS: closePopup(window); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) closePopup(window);
        return 0;
    case WM_DESTROY: return onPopupDestroy(window, data);
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool registerPopupClass()
{
    WNDCLASSA existing;
    if (GetClassInfoA(layerModule, PopupClass, &existing)) return true;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_SAVEBITS;
    windowClass.lpfnWndProc = popupProcedure;
    windowClass.hInstance = layerModule;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = PopupClass;
    return RegisterClassA(&windowClass) != 0;
}

char* heapCopy(const char* text)
{
    size_t length = text ? lstrlenA(text) : 0;
    auto* copy = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, length + 1));
    if (copy) {
        if (length) CopyMemory(copy, text, length);
        copy[length] = '\0';
    }
    return copy;
}

// The popup's font: "face, points[, charset][, BOLD]" as HH_POPUP gives it,
// or the dialog font when none is named.
HFONT popupFont(const char* description, bool* owned)
{
    *owned = false;
    if (description == nullptr || description[0] == '\0')
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA font = {};
    int i = 0;
    for (; description[i] != '\0' && description[i] != ',' && i < LF_FACESIZE - 1; ++i)
        font.lfFaceName[i] = description[i];
    font.lfFaceName[i] = '\0';
    int points = 0;
    const char* rest = description + i;
    while (*rest && *rest != ',') ++rest;
    if (*rest == ',') {
        ++rest;
        while (*rest == ' ') ++rest;
        while (*rest >= '0' && *rest <= '9' && points < 100) points = points * 10 + (*rest++ - '0');
    }
    if (points <= 0) points = 8;
    HDC screen = GetDC(nullptr);
    font.lfHeight = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    font.lfWeight = FW_NORMAL;
    static const char bold[] = "BOLD";
    for (const char* p = description; *p; ++p) {
        int k = 0;
        while (k < 4 && p[k] != '\0' && (p[k] & ~0x20) == bold[k]) ++k;
        if (k == 4) font.lfWeight = FW_BOLD;
    }
    font.lfCharSet = DEFAULT_CHARSET;
    HFONT created = CreateFontIndirectA(&font);
    if (!created) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    *owned = true;
    return created;
}

HWND showTextPopup(HWND caller, const HH_POPUP* request)
{
    if (request == nullptr || request->cbStruct < static_cast<int>(sizeof(HH_POPUP))) return nullptr;
    char resourceText[1024];
    const char* text = request->pszText;
    if (request->idString != 0 && request->hinst != nullptr &&
        LoadStringA(request->hinst, request->idString, resourceText, sizeof resourceText) > 0)
        text = resourceText;
    if (text == nullptr || text[0] == '\0' || !registerPopupClass()) return nullptr;

    closePopup(currentPopup);
    auto* data = static_cast<PopupData*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(PopupData)));
    if (!data) return nullptr;
    data->text = heapCopy(text);
    if (!data->text) {
        HeapFree(GetProcessHeap(), 0, data);
        return nullptr;
    }
    data->font = popupFont(request->pszFont, &data->ownsFont);
    data->foreground = request->clrForeground == static_cast<COLORREF>(-1) ? GetSysColor(COLOR_INFOTEXT)
                                                                          : request->clrForeground;
    data->background = request->clrBackground == static_cast<COLORREF>(-1) ? GetSysColor(COLOR_INFOBK)
                                                                          : request->clrBackground;
    const RECT& m = request->rcMargins;
    data->margins = {m.left < 0 ? 8 : m.left, m.top < 0 ? 6 : m.top, m.right < 0 ? 8 : m.right,
                     m.bottom < 0 ? 6 : m.bottom};

    // Text box no wider than a third of the screen, at least 260 pixels.
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int maxWidth = (work.right - work.left) / 3;
    if (maxWidth < 260) maxWidth = 260;
    RECT box = {0, 0, maxWidth, 0};
    HDC screen = GetDC(nullptr);
    HGDIOBJ oldFont = SelectObject(screen, data->font);
    DrawTextA(screen, data->text, -1, &box, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(screen, oldFont);
    ReleaseDC(nullptr, screen);

    int width = box.right + data->margins.left + data->margins.right + 2 * GetSystemMetrics(SM_CXBORDER);
    int height = box.bottom + data->margins.top + data->margins.bottom + 2 * GetSystemMetrics(SM_CYBORDER);
    POINT at = request->pt;
    if (at.x == -1 && at.y == -1) GetCursorPos(&at);
    // Centred under the point, kept inside the work area.
    int x = at.x - width / 2, y = at.y;
    if (x + width > work.right) x = work.right - width;
    if (y + height > work.bottom) y = work.bottom - height;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;

    HWND owner = caller ? GetAncestor(caller, GA_ROOT) : nullptr;
    // The text is also the window text, for screen readers and tests.
    HWND popup = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, PopupClass, data->text, WS_POPUP | WS_BORDER, x, y,
                                 width, height, owner, nullptr, layerModule, nullptr);
    if (!popup) {
        if (data->ownsFont) DeleteObject(data->font);
        HeapFree(GetProcessHeap(), 0, data->text);
        HeapFree(GetProcessHeap(), 0, data);
        return nullptr;
    }
    SetWindowLongPtrA(popup, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    currentPopup = popup;
    ShowWindow(popup, SW_SHOW);
    SetForegroundWindow(popup);
    SetFocus(popup);
    UpdateWindow(popup);
    return popup;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        layerModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

HWND WINAPI HtmlHelpA(HWND caller, LPCSTR file, UINT command, DWORD_PTR data)
{
    // The compiler stores no map entry for context 0: show the default topic.
    if (command == HH_HELP_CONTEXT && data == 0) command = HH_DISPLAY_TOPIC;

    const SystemControl& control = loadSystemControl();
    if (control.htmlHelpA) {
        HWND result = control.htmlHelpA(caller, file, command, data);
        if (result == nullptr && command == HH_DISPLAY_TEXT_POPUP)
            result = showTextPopup(caller, reinterpret_cast<const HH_POPUP*>(data));
        return result;
    }
    if (command == HH_DISPLAY_TEXT_POPUP) return showTextPopup(caller, reinterpret_cast<const HH_POPUP*>(data));
    if (opensHelpWindow(command)) reportNoControl(caller);
    return nullptr;
}

HWND WINAPI HtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data)
{
    if (command == HH_HELP_CONTEXT && data == 0) command = HH_DISPLAY_TOPIC;
    const SystemControl& control = loadSystemControl();
    if (control.htmlHelpW) return control.htmlHelpW(caller, file, command, data);
    if (command == HH_DISPLAY_TEXT_POPUP && data) {
        // Our popup draws ANSI text: convert the wide request's text.
        HH_POPUP request;
        CopyMemory(&request, reinterpret_cast<const void*>(data), sizeof request);
        char text[2048] = "";
        char font[128] = "";
        const auto* wide = reinterpret_cast<const HH_POPUP*>(data);
        if (wide->pszText)
            WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(wide->pszText), -1, text, sizeof text - 1,
                                nullptr, nullptr);
        if (wide->pszFont)
            WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(wide->pszFont), -1, font, sizeof font - 1,
                                nullptr, nullptr);
        text[sizeof text - 1] = '\0';
        font[sizeof font - 1] = '\0';
        request.pszText = text;
        request.pszFont = font;
        return showTextPopup(caller, &request);
    }
    if (opensHelpWindow(command)) reportNoControl(caller);
    return nullptr;
}

// Tests point the layer at another "system" control (or at itself, to prove
// that it does not recurse). An empty or null path restores the system folder.
void WINAPI QuorvelSetSystemHelpControl(const char* path)
{
    if (systemControl.module) FreeLibrary(systemControl.module);
    systemControl = SystemControl();
    controlPathOverride[0] = '\0';
    if (path) lstrcpynA(controlPathOverride, path, MAX_PATH);
}

}  // extern "C"
