// Tooltips for dialog controls, shared by Quorvel and setup: one tooltip
// window serves the controls of the dialog that registered them last; a
// get-message hook relays the mouse moves over those controls to it.
#pragma once

#include <windows.h>

#include <cstddef>

struct ToolTipState {
    HWND tooltipWindow;
    HWND toolOwner;
    HHOOK messageHook;
};

// One per program, for the life of its main window.
extern ToolTipState toolTips;

HWND createToolTips(HWND mainWindow);
void destroyToolTips();

// Makes dialog the tool owner and registers every non-static descendant.
void registerDialogTools(HWND dialog);
HWND setToolOwner(HWND window);

// What a dialog says about one of its controls: its tooltip and the text of
// its help popup; either may be missing (nullptr).
struct ControlText {
    int controlId;
    const char* toolTip;
    const char* help;
};

// One dialog's table, each in a file of its own beside the dialog.
struct ControlTextTable {
    const ControlText* rows;
    size_t count;

    // The control's tooltip or help text, nullptr when it has none.
    const char* toolTipOf(int controlId) const;
    const char* helpOf(int controlId) const;
};

template <size_t N>
constexpr ControlTextTable controlTextTable(const ControlText (&rows)[N])
{
    return {rows, N};
}

// Answers TTN_GETDISPINFOA or W with the tooltip of the control the request
// names; FALSE for other notifications and for a control without one.
INT_PTR answerToolTip(NMHDR* header, const ControlTextTable& table);
