// The exposure calculator without its window: the calculation document and
// its rules, the .qvl calculation file, the CSV text of a calculation. The
// dialog moves texts between its controls and these functions.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "common/display_unit_rules.h"

class Profile;
class PrintSurface;

// Limits of the calculator's texts.
constexpr size_t TextLimit = 255;           // description, notes, stored texts
constexpr size_t PathLimit = 259;           // CurrentFile
constexpr size_t TypedNumberChars = 15;     // of F, t, g examined and read
constexpr size_t RowInputNumberChars = 31;  // read when a row is added

// ---- exposure_model.cpp ----

// One activity of the list, held as the texts of its five columns.
enum RowColumn { ColumnDescription, ColumnF, ColumnT, ColumnG, ColumnPartial, RowColumnCount };
struct ExposureRow {
    std::array<std::string, RowColumnCount> columns;
    unsigned itemId = 0;  // the database item F was taken from, 0 when typed
};

// A row's numbers, as readRow gives them back or as they go into writeRow.
struct RowValues {
    std::string description;
    double f = 0;
    double t = 0;
    double g = 0;
    double partial = 0;
};

// The calculator's document; every field is the text its control shows.
struct Calculation {
    bool multiple = false;
    std::string description;
    std::string fText;
    std::string tText;
    std::string gText;
    std::vector<ExposureRow> rows;
    std::string resultCc;
    std::string resultL;
    std::string notes;
    std::string currentFile;
    unsigned itemId = 0;  // single mode: the database item F was taken from, or 0
};

// ((F x t) x g) / 1920, each step rounded to double in both builds.
double annualExposure(double f, double t, double g);

// The ranges of t (hours a day) and g (days a year), 0 < value <= max, with
// the texts that name them.
struct ValueRange {
    double max;
    const char* name;            // "ore/giorno"
    const char* missingMessage;  // "Attenzione: inserire le ore/giorno!"
    const char* invalidMessage;  // "Attenzione: ore/giorno valore non valido!"
    const char* problem;         // "ore/giorno valore non valido", why a row is not summed
    const char* limits;          // "da 0 escluso a 24"

    bool contains(double value) const { return value > 0 && value <= max; }
};
extern const ValueRange HoursRange;
extern const ValueRange DaysRange;
extern const char* const MissingFibreMessage;

// The character check of F, t and g while they are typed.
struct TypedNumberCheck {
    bool accepted = true;
    size_t position = 0;   // of the first rejected character
    std::string caption;   // the examined text from that character on
    std::string keptText;  // the text before it, the field's new text
};
TypedNumberCheck checkTypedNumber(const std::string& text);
extern const char* const InvalidCharacterMessage;

// The checks before a row is added or modified. message is null when the row
// passes; it is then in record (description cut at TextLimit).
struct RowInputCheck {
    const char* message = nullptr;
    RowValues record;
};
RowInputCheck validateRowInput(const std::string& description, const std::string& fText,
                               const std::string& tText, const std::string& gText);
extern const char* const RowInputCaption;

// The row texts of a record; the record's partial becomes annualExposure of
// its own (unrounded) values.
ExposureRow writeRow(RowValues& record, DisplayUnit unit);
RowValues readRow(const ExposureRow& row);

// A row back into the fields (a double click on it): F, t, g in the row formats.
struct FieldTexts {
    std::string description;
    std::string fText;
    std::string tText;
    std::string gText;
};
FieldTexts rowFieldTexts(const ExposureRow& row, DisplayUnit unit);

// A completed in-place edit of a row's description: the row is rewritten
// from its read-back values with the new description (cut at TextLimit).
void editRowDescription(ExposureRow& row, const std::string& description, DisplayUnit unit);

// Result texts of an exposure given in the current unit.
void setResultTexts(Calculation& calculation, double exposure, DisplayUnit unit);

// Why a list row cannot be summed (its numbers fail the checks of typed
// input: digits and one point, t in (0, 24], g in (0, 365]), or null.
const char* rowProblem(const ExposureRow& row);

// The rows that fail rowProblem, one line each, named by their description
// (or their position when it is empty); "" when every row counts.
std::string rejectedRowsText(const Calculation& calculation);
extern const char* const RejectedRowsMessage;

// The list's total (multiple, rows that fail rowProblem left out) or the
// fields' exposure (single), into the result texts. Returns the exposure in
// the current unit.
double recomputeResults(Calculation& calculation, DisplayUnit unit);

// The results a save, print or copy carries: in multiple mode always the
// list total, whatever the fields last showed.
void resultsForOutput(Calculation& calculation, DisplayUnit unit);

// True when a save would write the same calculation: mode, rows or fields,
// notes. Results follow from these and are not compared.
bool sameCalculation(const Calculation& a, const Calculation& b);

// What follows a change of F, t or g: the full recomputation, then the
// result texts of the three fields alone. Returns the exposure shown.
double applyFieldChange(Calculation& calculation, DisplayUnit unit);

// The F field's text, typed in unit from, in unit to: the decimal point
// moves three places and the typed digits stay (0.5 ff/cc is 500 ff/l).
// "" when the text is not a plain number or would grow past the characters
// the field's check reads; the text itself when the units are the same.
std::string fieldTextInUnit(const std::string& fText, DisplayUnit from, DisplayUnit to);

// What a calculation shows, from one unit into the other: the F field
// (cleared when it cannot be converted) and every row's F and partial. The
// results are left: they show both units.
void convertCalculation(Calculation& calculation, DisplayUnit from, DisplayUnit to);

// F text of a database concentration (always stored in ff/cc).
std::string concentrationText(double concentrationPerCc, DisplayUnit unit);

// The list headers "F (ff/cc)", "E (ff/l)" ...
std::string concentrationHeader(DisplayUnit unit);
std::string exposureHeader(DisplayUnit unit);

// ---- item_origin.cpp ----

extern const char* const MethodNotStated;  // "metodo non indicato"

bool isDatabaseItem(unsigned itemId);
// The item cites a publication (it has a row in the sources table).
bool isCitedItem(unsigned itemId);
// "PCM", "TEM", "SEM", "altro", or "" when the source does not state it.
std::string itemMethod(unsigned itemId);
// "[citato, PCM]", "[citato, metodo non indicato]" or "[indicativo]".
std::string itemStatusMark(unsigned itemId);
// "voce 541, citata, PCM: <reference>" or "voce 877, valore indicativo (...)";
// "" for 0 or an id that is no item.
std::string itemOriginText(unsigned itemId);

// The item id while F (in unit) still shows the item's concentration; 0 once
// the value was changed by hand, so the name of a source never goes with a
// figure it did not give.
unsigned keptItemId(unsigned itemId, double f, DisplayUnit unit);
unsigned fieldItemId(const Calculation& calculation, DisplayUnit unit);
unsigned rowItemId(const ExposureRow& row, DisplayUnit unit);

// Phase-contrast (PCM) and electron-microscope (TEM, SEM) counts side by side:
// they count different fibres and do not add up as one measure.
bool mixesMicroscopy(const std::vector<std::string>& methods);

// ---- calculation_file.cpp ----

// Names of the .qvl file: section QUORVEL, and section EXPO_n for row n of a
// multiple calculation.
constexpr const char* MainSection = "QUORVEL";
constexpr const char* UnitKey = "UNIT";
constexpr const char* MultipleKey = "MULTI";
constexpr const char* RowCountKey = "ITEMS";
constexpr const char* DescriptionKey = "LAVORAZIONE";  // single
constexpr const char* FibreKey = "FIBRE";
constexpr const char* HoursKey = "ORE";
constexpr const char* DaysKey = "GIORNI";
constexpr const char* ExposureKey = "ESPOSIZIONE";        // always ff/cc
constexpr const char* ExposureLitreKey = "ESPOSIZIONE_FL";
constexpr const char* NotesKey = "NOTE";
constexpr const char* RowDescriptionKey = "VOCE";  // rows
constexpr const char* PartialKey = "PARZIALE";     // rows, never read back
// The database item a value was taken from. A key of its own: readers that
// do not know it skip it, and VOCE already holds a row's description.
constexpr const char* ItemKey = "ID_VOCE";
std::string rowSection(int index);

// A file never names more rows than this; a larger ITEMS reads this many.
constexpr int MaxFileRows = 10000;

// What a .qvl file holds, in the order the calculator applies it.
struct CalculationFile {
    DisplayUnit unit = PerCc;
    bool multiple = false;
    std::vector<RowValues> rows;  // multiple: one per EXPO section
    std::vector<unsigned> rowItems;  // ID_VOCE of each row, 0 when none
    unsigned itemId = 0;             // single: ID_VOCE of section QUORVEL
    std::string description;      // single: the four field texts
    std::string fText;
    std::string tText;
    std::string gText;
    std::string resultCc;  // ESPOSIZIONE as stored
    std::string resultL;   // from ESPOSIZIONE x 1000
    std::string notes;
};

// Reads the file behind profile; missing keys give their defaults.
CalculationFile readCalculationFile(Profile& profile);

// NOTE of a calculation file, as the open dialog's notes pane shows it.
std::string readCalculationNote(Profile& profile);

// True when the profile holds a calculation: a QUORVEL section with keys.
bool isCalculationProfile(Profile& profile);

// Puts a read file into the calculation as the dialog does: unit, mode, rows
// (multiple: the list replaced; the F field is carried into the file's
// unit) or fields (single: through the character check; the hidden rows are
// carried into the file's unit), results and notes as stored,
// CurrentFile := path. *unit is the unit in force before and
// the file's after. False, and nothing changed, when the path is longer than
// PathLimit.
bool applyCalculationFile(const CalculationFile& file, const std::string& path,
                          Calculation& calculation, DisplayUnit* unit);

// Writes the calculation as shown. Text values are written on one line
// (every line break becomes a blank). False as soon as a write fails, or
// when the path is longer than PathLimit; CurrentFile := path only on success.
bool writeCalculationFile(Profile& profile, const std::string& path, Calculation& calculation,
                          DisplayUnit unit);
extern const char* const WriteFailedMessage;
// Said before a save over a read-only file, which is left as it is; Yes
// chooses another name.
extern const char* const ReadOnlyFileMessage;

// True when a dropped file's name ends in ".qvl", in any case.
bool isCalculationFileName(const char* path);

// True when path names something inside folder or below it. Windows paths:
// either slash, letters compared as the platform folds them.
bool isInsideFolder(const std::string& path, const std::string& folder);

// The folder the open and save dialogs start in: the current file's, unless
// there is none or it lies in the program's folder (the shipped examples,
// never written over in place); then the user's documents. "" when none of
// these is known: the dialog then starts in the current folder.
std::string fileDialogFolder(const std::string& currentFile, const std::string& programFolder,
                             const std::string& documentsFolder);

// ---- calculation_csv.cpp ----

// The tab-separated text of the calculation for the clipboard, numbers with
// the decimal comma. It is as long as the calculation needs: the caller
// allocates its size + 1 bytes.
std::string calculationCsvText(const Calculation& calculation, DisplayUnit unit);

// ---- calculation_print.cpp ----

// The calculation's printed lines on pages of width x height, lines
// lineHeight apart: title (repeated on every page), the rows (multiple) or
// the four field texts, the results, the notes wrapped at the page width.
// The last row and the results stay on the page of the notes when a page
// can hold them. Nothing when lineHeight is not positive.
void printCalculationLines(PrintSurface& surface, const Calculation& calculation, DisplayUnit unit,
                           const std::string& title, int lineHeight, int width, int height);
