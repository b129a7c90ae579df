// The printed lines of a calculation, laid out on pages: the title, the rows
// or the fields, the results and the notes. The note stays with the lines it
// follows: a page break comes before them rather than leave it alone.
#include "app/calculator/calculator.h"

#include "app/ui/page_flow.h"
#include "common/number_format.h"

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
    const int resultLines = 2;

    // Lines are written whole, without wrapping: a long description runs
    // past the right edge, as on the screen's one-line fields.
    const bool perLitre = unit == PerLitre;
    const std::string concentration = perLitre ? "Concentrazione (ff/l): " : "Concentrazione (ff/cc): ";
    if (calculation.multiple) {
        page.write("Esposizioni multiple");
        for (size_t i = 0; i < calculation.rows.size(); ++i) {
            const RowValues values = readRow(calculation.rows[i]);
            const unsigned item = rowItemId(calculation.rows[i], unit);
            const int rowLines = item ? 6 : 5;
            const bool last = i + 1 == calculation.rows.size();
            // The last row, the blank line, the results and the note go
            // together when a page can hold them.
            page.keepTogether(last ? rowLines + 1 + resultLines + noteLines : rowLines);
            page.write("Descrizione: " + values.description);
            page.write(concentration + unitValueText(values.f, unit));
            page.write("Ore/giorno: " + fixedText(values.t, 3));
            page.write("Giorni/anno: " + fixedText(values.g, 1));
            page.write(std::string(perLitre ? "Esposizione parziale (ff/l): " : "Esposizione parziale (ff/cc): ") +
                       unitValueText(values.partial, unit));
            if (item)
                page.write("Fonte: " + itemOriginText(item));
        }
        page.skip(1);
    } else {
        const unsigned item = fieldItemId(calculation, unit);
        page.keepTogether(item ? 5 : 4);
        page.write(calculation.description);
        page.write(concentration + calculation.fText);
        page.write("Ore/giorno: " + calculation.tText);
        page.write("Giorni/anno: " + calculation.gText);
        if (item)
            page.write("Fonte: " + itemOriginText(item));
    }
    page.keepTogether(resultLines + noteLines);
    page.write("Esposizione annuale (ff/cc): " + calculation.resultCc);
    page.write("Esposizione annuale (ff/l): " + calculation.resultL);

    if (!note.empty()) {
        page.skip(3);
        for (const std::string& line : note)
            page.write(line);
    }
    page.finish();
}
