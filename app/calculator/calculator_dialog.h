// The calculator dialog (resource 190): the modeless window that holds one
// calculation in its controls and moves their texts through the exposure
// model, the .qvl file, print and CSV copy; and its file code.
#pragma once

#include <windows.h>

#include "app/calculator/calculator.h"
#include "common/win/tooltips.h"

// What a new calculator starts from: nothing, a database item (its
// concentration and name pre-filled) or a calculation file.
struct CalculatorRequest {
    enum Kind { Empty, Item, File };
    Kind kind = Empty;
    unsigned itemId = 0;
    const char* path = nullptr;

    static CalculatorRequest item(unsigned id) { return {Item, id, nullptr}; }
    static CalculatorRequest file(const char* name) { return {File, 0, name}; }
};

// Creates the calculator owned by owner, started as request says. The
// window is recorded in appState.calculator.window (cleared again at
// destruction).
HWND openCalculatorDialog(HWND owner, const CalculatorRequest& request);

// Tooltips and help popups of the dialog's controls (calculator_dialog_texts.cpp).
extern const ControlTextTable CalculatorDialogTexts;

INT_PTR CALLBACK calculatorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What the calculator shows: the texts of its fields and the rows of its list.
Calculation calculatorContents(HWND dialog);

// What a save, print or copy carries: the contents, with the list total as
// the result in multiple mode.
Calculation calculatorOutput(HWND dialog);

// True when the calculator may go: its calculation is as last opened or
// saved, or the user answered Yes to losing the changes.
bool calculatorMayBeDiscarded(HWND dialog);

// Saves what the calculator shows in path as saveCalculation does.
bool writeCalculationFromDialog(HWND dialog, const char* path);

// The file last read or written, "" when there is none.
const char* calculatorCurrentFile(HWND dialog);

// For the file code: the unit the F field and the rows are in (false when
// dialog is no calculator); a read calculation into the controls (file: the
// single mode's fields as typed); path as the file last read or written
// (CurrentFile, status bar, the unsaved-work baseline).
bool calculatorUnit(HWND dialog, DisplayUnit* unit);
void showOpenedCalculation(HWND dialog, const CalculationFile& file, const Calculation& calculation,
                           DisplayUnit unit);
void setCalculatorFile(HWND dialog, const std::string& path);

// ---- calculator_files.cpp ----

// Reads a .qvl file into the controls as the open command does (unit, mode,
// rows or fields, results as stored, notes, CurrentFile and status bar),
// asking first about unsaved work when askFirst (Apri, a drop).
// False, with nothing changed, when the path is too long to be used, or,
// after saying so, when the file is missing or holds no calculation. Rows
// that fail the row checks are reported by name.
bool readCalculationIntoDialog(HWND dialog, const char* path, bool askFirst = false);
// Apri: the open dialog, then the read.
void chooseAndOpenCalculation(HWND dialog);

// Writes calculation through a temporary file that replaces the file in one
// step; on success the file becomes CurrentFile. A failed write is reported
// with the path as caption and changes nothing, on disk or in the dialog. A
// read-only file is left as it is, attribute and all: the user is told, and
// Yes saves under another name instead.
bool saveCalculation(HWND dialog, Calculation calculation, DisplayUnit unit, const char* path);
// Salva con nome: the save dialog, whose notes pane may replace the notes,
// then saveCalculation. Salva: into CurrentFile unless there is none or it
// is a shipped example in the program's folder.
bool saveCalculationAs(HWND dialog, Calculation calculation, DisplayUnit unit);
void saveCalculationInPlace(HWND dialog, Calculation calculation, DisplayUnit unit);
