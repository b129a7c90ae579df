// The exposure model: E = F x t x g / 1920, the row texts of the list, the
// result texts and the checks of typed numbers and of new rows.
#include "app/calculator/calculator.h"

#include "common/number_format.h"

#include <algorithm>

namespace {

constexpr double ReferenceHours = 1920;  // 8 h x 240 days

double readTypedNumber(const std::string& text)
{
    return readNumber(text.c_str(), TypedNumberChars);
}

std::string cut(const std::string& text, size_t limit)
{
    return text.size() > limit ? text.substr(0, limit) : text;
}

double sum(double a, double b)
{
    DoubleRounding rounding;
    volatile double in = a;
    volatile double out = in + b;
    return out;
}

}  // namespace

const char* const InvalidCharacterMessage =
    "Inserimento carattere non valido: usare il punto come separatore decimale!";
const char* const RowInputCaption = "Errore nell'inserimento dei dati";
const char* const MissingFibreMessage = "Attenzione: inserire la concentrazione di fibre!";
const ValueRange HoursRange = {24, "ore/giorno", "Attenzione: inserire le ore/giorno!",
                               "Attenzione: ore/giorno valore non valido!",
                               "ore/giorno valore non valido", "da 0 escluso a 24"};
const ValueRange DaysRange = {365, "giorni/anno", "Attenzione: inserire i giorni/anno!",
                              "Attenzione: giorni/anno valore non valido!",
                              "giorni/anno valore non valido", "da 0 escluso a 365"};

double annualExposure(double f, double t, double g)
{
    DoubleRounding rounding;
    // Stored at every step, so that no step keeps extra precision.
    volatile double left = f;
    volatile double product = left * t;
    product = product * g;
    volatile double exposure = product / ReferenceHours;
    return exposure;
}

TypedNumberCheck checkTypedNumber(const std::string& text)
{
    TypedNumberCheck check;
    size_t examined = text.size() < TypedNumberChars ? text.size() : TypedNumberChars;
    bool pointSeen = false;
    for (size_t i = 0; i < examined; ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9')
            continue;
        if (c == '.' && !pointSeen) {
            pointSeen = true;
            continue;
        }
        check.accepted = false;
        check.position = i;
        check.caption = text.substr(i, examined - i);
        check.keptText = text.substr(0, i);
        return check;
    }
    return check;
}

RowInputCheck validateRowInput(const std::string& description, const std::string& fText,
                               const std::string& tText, const std::string& gText)
{
    RowInputCheck check;
    if (description.empty()) {
        check.message = "Attenzione: inserire la descrizione attività o lavorazione!";
        return check;
    }
    if (fText.empty()) {
        check.message = MissingFibreMessage;
        return check;
    }
    double f = readNumber(fText.c_str(), RowInputNumberChars);
    const ValueRange* ranges[] = {&HoursRange, &DaysRange};
    const std::string* texts[] = {&tText, &gText};
    double values[2];
    for (int i = 0; i < 2; ++i) {
        if (texts[i]->empty()) {
            check.message = ranges[i]->missingMessage;
            return check;
        }
        values[i] = readNumber(texts[i]->c_str(), RowInputNumberChars);
        if (!ranges[i]->contains(values[i])) {
            check.message = ranges[i]->invalidMessage;
            return check;
        }
    }
    check.record.description = cut(description, TextLimit);
    check.record.f = f;
    check.record.t = values[0];
    check.record.g = values[1];
    return check;
}

ExposureRow writeRow(RowValues& record, DisplayUnit unit)
{
    record.partial = annualExposure(record.f, record.t, record.g);
    ExposureRow row;
    row.columns[ColumnDescription] = cut(record.description, TextLimit);
    row.columns[ColumnF] = unitValueText(record.f, unit);
    row.columns[ColumnT] = fixedText(record.t, 2);
    row.columns[ColumnG] = fixedText(record.g, 1);
    row.columns[ColumnPartial] = unitValueText(record.partial, unit);
    return row;
}

RowValues readRow(const ExposureRow& row)
{
    RowValues values;
    values.description = cut(row.columns[ColumnDescription], TextLimit);
    values.f = readTypedNumber(row.columns[ColumnF]);
    values.t = readTypedNumber(row.columns[ColumnT]);
    values.g = readTypedNumber(row.columns[ColumnG]);
    values.partial = readTypedNumber(row.columns[ColumnPartial]);
    return values;
}

FieldTexts rowFieldTexts(const ExposureRow& row, DisplayUnit unit)
{
    RowValues values = readRow(row);
    FieldTexts texts;
    texts.description = values.description;
    texts.fText = unitValueText(values.f, unit);
    texts.tText = fixedText(values.t, 2);
    texts.gText = fixedText(values.g, 1);
    return texts;
}

void editRowDescription(ExposureRow& row, const std::string& description, DisplayUnit unit)
{
    RowValues values = readRow(row);
    values.description = cut(description, TextLimit);
    const unsigned itemId = row.itemId;  // a new name keeps the figure's source
    row = writeRow(values, unit);
    row.itemId = itemId;
}

void setResultTexts(Calculation& calculation, double exposure, DisplayUnit unit)
{
    if (unit == PerLitre) {
        calculation.resultL = fixedText(exposure, 2);
        calculation.resultCc = fixedText(perThousand(exposure), 5);
    } else {
        calculation.resultCc = fixedText(exposure, 5);
        calculation.resultL = fixedText(timesThousand(exposure), 2);
    }
}

namespace {

double fieldsExposure(const Calculation& calculation)
{
    return annualExposure(readTypedNumber(calculation.fText), readTypedNumber(calculation.tText),
                          readTypedNumber(calculation.gText));
}

}  // namespace

const char* const RejectedRowsMessage =
    "Attenzione: le righe seguenti hanno valori non validi e non sono sommate nel totale:";

namespace {

// Digits with at most one point, whose whole part is within what readRow
// reads back (a longer one would be summed as another number).
bool plainNumber(const std::string& text)
{
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos)
        return false;
    const size_t point = text.find('.');
    if (point != std::string::npos && text.find('.', point + 1) != std::string::npos)
        return false;
    return (point == std::string::npos ? text.size() : point) < TypedNumberChars;
}

}  // namespace

const char* rowProblem(const ExposureRow& row)
{
    static const struct {
        RowColumn column;
        const char* message;
    } checks[] = {
        {ColumnF, "concentrazione di fibre valore non valido"},
        {ColumnT, HoursRange.problem},
        {ColumnG, DaysRange.problem},
    };
    for (const auto& check : checks)
        if (!plainNumber(row.columns[check.column]))
            return check.message;
    const RowValues values = readRow(row);
    if (!HoursRange.contains(values.t))
        return HoursRange.problem;
    if (!DaysRange.contains(values.g))
        return DaysRange.problem;
    return nullptr;
}

std::string rejectedRowsText(const Calculation& calculation)
{
    std::string text;
    for (size_t i = 0; i < calculation.rows.size(); ++i) {
        const ExposureRow& row = calculation.rows[i];
        const char* problem = rowProblem(row);
        if (!problem)
            continue;
        const std::string& name = row.columns[ColumnDescription];
        text += (name.empty() ? "riga " + std::to_string(i + 1) : name) + ": " + problem + "\r\n";
    }
    return text;
}

double recomputeResults(Calculation& calculation, DisplayUnit unit)
{
    double exposure = 0;
    if (calculation.multiple) {
        // The total is rebuilt from the rounded F, t and g of each row, not
        // from the partial column.
        for (const ExposureRow& row : calculation.rows) {
            if (rowProblem(row))
                continue;
            RowValues values = readRow(row);
            exposure = sum(exposure, annualExposure(values.f, values.t, values.g));
        }
    } else {
        exposure = fieldsExposure(calculation);
    }
    setResultTexts(calculation, exposure, unit);
    return exposure;
}

void resultsForOutput(Calculation& calculation, DisplayUnit unit)
{
    if (calculation.multiple)
        recomputeResults(calculation, unit);
}

bool sameCalculation(const Calculation& a, const Calculation& b)
{
    if (a.multiple != b.multiple || a.notes != b.notes)
        return false;
    if (a.multiple)
        return a.rows.size() == b.rows.size() &&
               std::equal(a.rows.begin(), a.rows.end(), b.rows.begin(),
                          [](const ExposureRow& x, const ExposureRow& y) { return x.columns == y.columns; });
    return a.description == b.description && a.fText == b.fText && a.tText == b.tText &&
           a.gText == b.gText;
}

double applyFieldChange(Calculation& calculation, DisplayUnit unit)
{
    recomputeResults(calculation, unit);
    double exposure = fieldsExposure(calculation);
    setResultTexts(calculation, exposure, unit);
    return exposure;
}

std::string fieldTextInUnit(const std::string& fText, DisplayUnit from, DisplayUnit to)
{
    if (from == to || fText.empty())
        return fText;
    if (!plainNumber(fText))
        return "";
    // Moving the point keeps every typed digit: a number conversion would
    // round 0.004 ff/l to 0.00000 ff/cc.
    const size_t point = fText.find('.');
    std::string whole = fText.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : fText.substr(point + 1);
    if (to == PerLitre) {
        const size_t moved = fraction.size() < 3 ? fraction.size() : 3;
        whole += fraction.substr(0, moved) + std::string(3 - moved, '0');
        fraction.erase(0, moved);
    } else {
        if (whole.size() < 4)
            whole.insert(0, 4 - whole.size(), '0');
        fraction.insert(0, whole.substr(whole.size() - 3));
        whole.erase(whole.size() - 3);
    }
    const size_t digit = whole.find_first_not_of('0');
    whole = digit == std::string::npos ? "0" : whole.substr(digit);
    const std::string text = fraction.empty() ? whole : whole + "." + fraction;
    return text.size() <= TypedNumberChars ? text : "";
}

void convertCalculation(Calculation& calculation, DisplayUnit from, DisplayUnit to)
{
    if (from == to)
        return;
    calculation.fText = fieldTextInUnit(calculation.fText, from, to);
    for (ExposureRow& row : calculation.rows) {
        RowValues values = readRow(row);
        values.f = convertUnit(values.f, to);
        unsigned itemId = row.itemId;
        row = writeRow(values, to);
        row.itemId = itemId;
    }
}

std::string concentrationText(double concentrationPerCc, DisplayUnit unit)
{
    return unitValueText(concentrationInUnit(concentrationPerCc, unit), unit);
}

std::string concentrationHeader(DisplayUnit unit)
{
    return std::string("F (") + unitLabel(unit) + ")";
}

std::string exposureHeader(DisplayUnit unit)
{
    return std::string("E (") + unitLabel(unit) + ")";
}
