// The calculation as tab-separated text for a spreadsheet, with the Italian
// decimal comma in every number.
#include "app/calculator/calculator.h"

#include "common/number_format.h"

namespace {

const char Separator = '\t';
const char* const LineEnd = "\r\n";
constexpr size_t SingleDescriptionLimit = 315;

std::string decimalComma(std::string number)
{
    size_t point = number.find('.');
    if (point != std::string::npos)
        number[point] = ',';
    return number;
}

void appendLabelled(std::string& text, const std::string& label, const std::string& number)
{
    text += label;
    text += Separator;
    text += decimalComma(number);
    text += LineEnd;
}

}  // namespace

std::string calculationCsvText(const Calculation& calculation, DisplayUnit unit)
{
    std::string text = "Calcolo dell'esposizione media annuale a fibre d'amianto";
    text += LineEnd;
    if (calculation.multiple) {
        appendLabelled(text, "Esposizioni multiple:", std::to_string(calculation.rows.size()));
        // A source column only when a row's F comes from the database.
        bool sources = false;
        for (const ExposureRow& row : calculation.rows)
            sources = sources || rowItemId(row, unit) != 0;
        text += "Descrizione\tFibre\tOre\tGiorni\tEsposizione";
        if (sources)
            text += "\tFonte";
        text += LineEnd;
        for (const ExposureRow& row : calculation.rows) {
            RowValues values = readRow(row);
            text += values.description;
            text += Separator;
            text += decimalComma(unitValueText(values.f, unit));
            text += Separator;
            text += decimalComma(fixedText(values.t, 3));
            text += Separator;
            text += decimalComma(fixedText(values.g, 1));
            text += Separator;
            text += decimalComma(unitValueText(values.partial, unit));
            if (sources) {
                text += Separator;
                text += itemOriginText(rowItemId(row, unit));
            }
            text += LineEnd;
        }
    } else {
        text += calculation.description.substr(0, SingleDescriptionLimit);
        text += LineEnd;
        appendLabelled(text, std::string("Concentrazione (") + unitLabel(unit) + "):",
                       calculation.fText);
        appendLabelled(text, "Ore/giorno:", calculation.tText);
        appendLabelled(text, "Giorni/anno:", calculation.gText);
        if (unsigned item = fieldItemId(calculation, unit)) {
            text += "Fonte:";
            text += Separator;
            text += itemOriginText(item);
            text += LineEnd;
        }
    }
    appendLabelled(text, "Esposizione annuale (ff/cc):", calculation.resultCc);
    appendLabelled(text, "Esposizione annuale (ff/l):", calculation.resultL);
    text += "Note:";
    text += Separator;
    text += calculation.notes;
    text += LineEnd;
    return text;
}
