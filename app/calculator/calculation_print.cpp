// The printed lines of a calculation, laid out on pages: the title, the rows
// or the fields, the results and the notes. The note stays with the lines it
// follows: a page break comes before them rather than leave it alone.
#include "app/calculator/calculator.h"

#include "app/ui/page_flow.h"
#include "common/number_format.h"

#include <utility>

std::vector<std::vector<std::string>> calculationEntryLines(const Calculation& calculation, DisplayUnit unit)
{
    const std::string concentration = std::string("Concentrazione (") + unitLabel(unit) + "): ";
    std::vector<std::vector<std::string>> entries;
    if (calculation.multiple) {
        for (const ExposureRow& row : calculation.rows) {
            const RowValues values = readRow(row);
            std::vector<std::string> lines = {
                "Descrizione: " + values.description,
                concentration + unitValueText(values.f, unit),
                "Ore/giorno: " + fixedText(values.t, 3),
                "Giorni/anno: " + fixedText(values.g, 1),
                std::string("Esposizione parziale (") + unitLabel(unit) + "): " +
                    unitValueText(values.partial, unit)};
            if (const unsigned item = rowItemId(row, unit))
                lines.push_back("Fonte: " + itemOriginText(item));
            entries.push_back(std::move(lines));
        }
    } else {
        std::vector<std::string> lines = {calculation.description, concentration + calculation.fText,
                                          "Ore/giorno: " + calculation.tText,
                                          "Giorni/anno: " + calculation.gText};
        if (const unsigned item = fieldItemId(calculation, unit))
            lines.push_back("Fonte: " + itemOriginText(item));
        entries.push_back(std::move(lines));
    }
    return entries;
}

std::vector<std::string> calculationResultLines(const Calculation& calculation)
{
    return {"Esposizione annuale (ff/cc): " + calculation.resultCc,
            "Esposizione annuale (ff/l): " + calculation.resultL};
}

void printCalculationLines(PrintSurface& surface, const Calculation& calculation, DisplayUnit unit,
                           const std::string& title, int lineHeight, int width, int height)
{
    if (lineHeight <= 0)
        return;
    PageFlow page(surface, lineHeight, width, height, {title});
    page.writeWrapped(title);
    page.skip(3);

    // The note's block: three blank lines, then the note wrapped.
    const std::vector<std::string> note =
        calculation.notes.empty() ? std::vector<std::string>() : page.wrap(calculation.notes);
    const int noteLines = note.empty() ? 0 : 3 + static_cast<int>(note.size());
    const std::vector<std::string> results = calculationResultLines(calculation);
    const int resultLines = static_cast<int>(results.size());

    // Lines are written whole, without wrapping: a long description runs
    // past the right edge, as on the screen's one-line fields.
    const std::vector<std::vector<std::string>> entries = calculationEntryLines(calculation, unit);
    if (calculation.multiple)
        page.write("Esposizioni multiple");
    for (size_t i = 0; i < entries.size(); ++i) {
        const int entryLines = static_cast<int>(entries[i].size());
        // The last row, the blank line, the results and the note go
        // together when a page can hold them.
        const bool lastRow = calculation.multiple && i + 1 == entries.size();
        page.keepTogether(lastRow ? entryLines + 1 + resultLines + noteLines : entryLines);
        for (const std::string& line : entries[i])
            page.write(line);
    }
    if (calculation.multiple)
        page.skip(1);
    page.keepTogether(resultLines + noteLines);
    for (const std::string& line : results)
        page.write(line);

    if (!note.empty()) {
        page.skip(3);
        for (const std::string& line : note)
            page.write(line);
    }
    page.finish();
}
