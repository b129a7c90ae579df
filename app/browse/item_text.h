// Texts of the shown element: the path of a tree node, the panel title made
// from it, the concentration and source of an item, and the text that copy
// and print of the shown element use. The tree and the panel only call these.
#pragma once

#include <cstddef>
#include <string>

#include "common/display_unit_rules.h"

struct NodeRecord;

// Limits of the panel's content record.
constexpr size_t PanelTitleSize = 2048;
constexpr size_t PanelTextSize = 320;

// Upward path, leaf first: "Bonifica<-Ciclo di vita<-Amianto". Appends label
// to path (after "<-" unless path is empty), never past size - 1 characters.
// False when the label did not fit whole; the path then holds what fitted.
bool appendUpwardLabel(char* path, size_t size, const char* label);

// The panel title of an upward path: its labels from the root down, joined by
// "->". Labels are split only at "<-", so a label that holds a lone "<" stays
// whole. Writes at most size - 1 characters.
void upwardPathToTitle(const char* upwardPath, char* title, size_t size);

// "Concentrazione: %8.4f ff/cc\r\n\r\nFonte bibliografica: %s", or in ff/l
// the value x 1000 with "%8.1f", into out (cut to size - 1). Returns the
// full length of the text.
int formatItemDisplayText(const NodeRecord& item, DisplayUnit unit, char* out, size_t size);

// What copy and print of the shown element carry: title, two line breaks,
// the text, two line breaks.
std::string itemCopyText(const char* title, const char* text);
