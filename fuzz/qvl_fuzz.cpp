// A calculation file of any content read into the calculator's model, as the
// open command does, then saved and opened again.
#include "app/calculator/calculator.h"

#include "common/ini.h"
#include "fuzz/fuzz_support.h"

namespace {

void checkCalculation(const Calculation& calculation) {
    FUZZ_CHECK(calculation.description.size() <= TextLimit);
    FUZZ_CHECK(calculation.notes.size() <= TextLimit);
    FUZZ_CHECK(calculation.rows.size() <= static_cast<size_t>(MaxFileRows));
    for (const std::string* field : {&calculation.fText, &calculation.tText, &calculation.gText}) {
        FUZZ_CHECK(field->size() <= TextLimit);
        // What reaches a field has passed the typed-character check.
        FUZZ_CHECK(checkTypedNumber(*field).accepted);
    }
    for (const ExposureRow& row : calculation.rows)
        FUZZ_CHECK(row.columns[ColumnDescription].size() <= TextLimit);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IniTextProfile profile(std::string(reinterpret_cast<const char*>(data), size));
    // Every key read splits the whole text again, so a large ITEMS costs
    // rows x text length; large counts are read in short texts only, which
    // still reach the row limit.
    if (profile.readInt("QUORVEL", "ITEMS", 0) > 300 && size > 200) return 0;
    CalculationFile file = readCalculationFile(profile);
    FUZZ_CHECK(file.unit == PerCc || file.unit == PerLitre);
    FUZZ_CHECK(file.rows.size() <= static_cast<size_t>(MaxFileRows));
    FUZZ_CHECK(readCalculationNote(profile) == file.notes);

    Calculation calculation;
    // Starts as the other unit, so that the check shows the file set it.
    DisplayUnit unit = file.unit == PerCc ? PerLitre : PerCc;
    FUZZ_CHECK(applyCalculationFile(file, "C:\\Quorvel\\esempio.qvl", calculation, &unit));
    FUZZ_CHECK(unit == file.unit);
    checkCalculation(calculation);
    FUZZ_CHECK(calculation.multiple == file.multiple);
    if (file.multiple) FUZZ_CHECK(calculation.rows.size() == file.rows.size());

    // Saved and opened again, the mode, the unit and the number of rows stay.
    // (Each write splits the whole text again: thousands of rows would only
    // measure that.)
    if (calculation.rows.size() > 200) return 0;
    recomputeResults(calculation, unit);
    calculationCsvText(calculation, unit);
    IniTextProfile saved;
    FUZZ_CHECK(writeCalculationFile(saved, "C:\\Quorvel\\copia.qvl", calculation, unit));
    CalculationFile again = readCalculationFile(saved);
    FUZZ_CHECK(again.unit == unit);
    FUZZ_CHECK(again.multiple == calculation.multiple);
    if (calculation.multiple) FUZZ_CHECK(again.rows.size() == calculation.rows.size());
    return 0;
}
