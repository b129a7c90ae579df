// Late binding to hhctrl.ocx's HtmlHelpA.
#include "common/win/html_help.h"

namespace {

HtmlHelpFunction replacement;
HtmlHelpFunction loaded;
bool loadTried;

HtmlHelpFunction realHtmlHelp()
{
    if (!loadTried) {
        loadTried = true;
        if (HMODULE module = LoadLibraryA("hhctrl.ocx"))
            loaded = reinterpret_cast<HtmlHelpFunction>(
                reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpA")));
    }
    return loaded;
}

}  // namespace

HWND htmlHelp(HWND caller, const char* file, UINT command, DWORD_PTR data)
{
    HtmlHelpFunction function = replacement ? replacement : realHtmlHelp();
    return function ? function(caller, file, command, data) : nullptr;
}

void setHtmlHelpFunction(HtmlHelpFunction function)
{
    replacement = function;
}
