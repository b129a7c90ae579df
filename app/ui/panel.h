// The description panel as the features see it: they set its title, text
// and image and ask for a repaint; the shell's panel window paints it.
#pragma once

#include <windows.h>

#include <string>

// The panel window's content record, allocated with the window. Its sizes
// are those of the panel texts (PanelTitleSize, PanelTextSize in item_text.h).
struct PanelContent {
    char title[2048];
    char text[320];
    int imageIndex;
};

// The panel's content record, or nullptr when it has none.
PanelContent* panelContent(HWND panel);

// Each cuts a text that does not fit its field; false when the panel has no
// content record.
bool setPanelTitle(HWND panel, const char* title);
bool setPanelText(HWND panel, const char* text);
bool setPanelImage(HWND panel, int imageIndex);
// Paints the panel now with what it holds.
void repaintPanel(HWND panel);

// The shown title and text; false when the panel has no content record.
bool panelTexts(HWND panel, std::string* title, std::string* text);
