// The calculator's files: a .qvl file read into the calculator (Apri, a
// drop, a start from a file) and a calculation record written, with the
// open and save dialogs in front of them.
#include "app/calculator/calculator_dialog.h"

#include <cstring>
#include <string>

#include "app/calculator/calculator_ids.h"
#include "app/calculator/file_dialogs.h"
#include "common/bounded_text.h"
#include "common/win/windows_profile.h"

namespace {

const char* const MissingFileMessage = "Il file non esiste: nessun calcolo è stato aperto.";
const char* const NotACalculationMessage =
    "Il file non contiene un calcolo di Quorvel: nessun calcolo è stato aperto.";

// A file name beside target for the new content, or false.
bool temporaryBeside(const char* target, char* temporary)
{
    char folder[MAX_PATH];
    copyBounded(folder, sizeof folder, target);
    char* slash = std::strrchr(folder, '\\');
    if (char* other = std::strrchr(folder, '/'))
        slash = !slash || other > slash ? other : slash;
    if (slash)
        slash[1] = '\0';
    else
        copyBounded(folder, sizeof folder, ".");
    return GetTempFileNameA(folder, "qvl", 0, temporary) != 0;
}

// The calculation goes into a copy of the file beside it, which then
// replaces the file in one step: a write that fails part-way leaves the
// original as it was.
bool writeReplacing(const char* target, Calculation& calculation, DisplayUnit unit)
{
    char temporary[MAX_PATH];
    if (!temporaryBeside(target, temporary))
        return false;
    // Keys and sections of the old file that are not written stay.
    const bool existed = GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES;
    bool ok = !existed || CopyFileA(target, temporary, FALSE);
    if (ok) {
        WindowsProfile profile(temporary);
        ok = writeCalculationFile(profile, target, calculation, unit);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, temporary);  // flush the cache
    }
    ok = ok && MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileA(temporary);
    return ok;
}

}  // namespace

bool readCalculationIntoDialog(HWND dialog, const char* path, bool askFirst)
{
    DisplayUnit unit = PerCc;
    if (!path || std::strlen(path) > PathLimit || !calculatorUnit(dialog, &unit))
        return false;
    WindowsProfile profile(path);
    const char* name = profile.path()[0] ? profile.path() : path;
    // Read blindly, a foreign file would show as an empty calculation and
    // become the file that "Salva" writes into.
    const DWORD attributes = GetFileAttributesA(name);
    const char* refusal = nullptr;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        refusal = MissingFileMessage;
    else if (!isCalculationProfile(profile))
        refusal = NotACalculationMessage;
    if (refusal) {
        MessageBoxA(dialog, refusal, name, MB_OK | MB_ICONERROR);
        return false;
    }
    // Asked once the file is known to hold a calculation: a refused file
    // costs the user nothing.
    if (askFirst && !calculatorMayBeDiscarded(dialog))
        return false;
    const CalculationFile file = readCalculationFile(profile);
    Calculation calculation = calculatorContents(dialog);
    if (!calculatorUnit(dialog, &unit) || !applyCalculationFile(file, name, calculation, &unit))
        return false;
    showOpenedCalculation(dialog, file, calculation, unit);
    if (calculation.multiple) {
        const std::string rejected = rejectedRowsText(calculation);
        if (!rejected.empty())
            MessageBoxA(dialog, (std::string(RejectedRowsMessage) + "\r\n" + rejected).c_str(),
                        RowInputCaption, MB_OK | MB_ICONWARNING);
    }
    return true;
}

void chooseAndOpenCalculation(HWND dialog)
{
    char path[PathLimit + 1] = "";
    if (chooseCalculationFile(dialog, path, sizeof path, nullptr, calculatorCurrentFile(dialog)))
        readCalculationIntoDialog(dialog, path, true);
}

bool saveCalculation(HWND dialog, Calculation calculation, DisplayUnit unit, const char* path)
{
    WindowsProfile resolved(path);
    const std::string target = resolved.path()[0] ? resolved.path() : path;
    // The replacing move would drop the attribute along with the file.
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (MessageBoxA(dialog, ReadOnlyFileMessage, path, MB_YESNO | MB_ICONWARNING) == IDYES)
            return saveCalculationAs(dialog, calculation, unit);
        return false;
    }
    if (target.size() > PathLimit || !writeReplacing(target.c_str(), calculation, unit)) {
        MessageBoxA(dialog, WriteFailedMessage, path, MB_OK | MB_ICONERROR);
        return false;
    }
    setCalculatorFile(dialog, calculation.currentFile);
    return true;
}

bool saveCalculationAs(HWND dialog, Calculation calculation, DisplayUnit unit)
{
    char notes[TextLimit + 1] = "";
    copyBounded(notes, sizeof notes, calculation.notes.c_str());
    char path[PathLimit + 1] = "";
    if (!chooseCalculationFile(dialog, path, sizeof path, notes, calculatorCurrentFile(dialog)))
        return false;
    // The save dialog's notes pane may have replaced the notes.
    SetDlgItemTextA(dialog, IDC_CALC_NOTES, notes);
    calculation.notes = notes;
    return saveCalculation(dialog, calculation, unit, path);
}

void saveCalculationInPlace(HWND dialog, Calculation calculation, DisplayUnit unit)
{
    const char* current = calculatorCurrentFile(dialog);
    // A file of the program's folder (a shipped example) is not written over
    // in place: where the program is installed the user may not write, and
    // the next installation would replace it.
    if (current[0] && !isInProgramFolder(current)) {
        const std::string path = current;  // current changes with the save
        saveCalculation(dialog, calculation, unit, path.c_str());
    } else {
        saveCalculationAs(dialog, calculation, unit);
    }
}
