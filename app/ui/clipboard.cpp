// Text on the clipboard, for every copy command of the program.
#include "app/ui/clipboard.h"

#include <cstring>

#include "common/bounded_text.h"

bool putClipboardText(HWND owner, const char* text, size_t length)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, length + 1);
    if (!memory)
        return false;
    char* copy = static_cast<char*>(GlobalLock(memory));
    if (!copy) {
        GlobalFree(memory);
        return false;
    }
    copyBounded(copy, length + 1, text, length);
    GlobalUnlock(memory);

    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    // Once placed, the memory belongs to the clipboard.
    const bool placed = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!placed)
        GlobalFree(memory);
    return placed;
}
