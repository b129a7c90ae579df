// calc: the exposure of one calculation, from the options or from a .qvl
// file, as the calculator computes and prints it.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "app/calculator/calculator.h"
#include "app/database/database.h"
#include "cli/calc_shared.h"
#include "cli/cli_internal.h"
#include "cli/text_encoding.h"
#include "common/cp1252.h"
#include "common/ini.h"
#include "common/number_format.h"

namespace {

// The lines of the calculator's printed page below its title.
std::string calculationText(const Calculation& calculation, DisplayUnit unit)
{
    const std::string concentration = std::string("Concentrazione (") + unitLabel(unit) + "): ";
    std::string out;
    if (calculation.multiple) {
        out += "Esposizioni multiple\n";
        for (const ExposureRow& row : calculation.rows) {
            RowValues values = readRow(row);
            out += "Descrizione: " + values.description + "\n";
            out += concentration + unitValueText(values.f, unit) + "\n";
            out += "Ore/giorno: " + fixedText(values.t, 3) + "\n";
            out += "Giorni/anno: " + fixedText(values.g, 1) + "\n";
            out += std::string("Esposizione parziale (") + unitLabel(unit) +
                   "): " + unitValueText(values.partial, unit) + "\n";
            if (unsigned item = rowItemId(row, unit))
                out += "Fonte: " + itemOriginText(item) + "\n";
        }
        out += "\n";
    } else {
        if (!calculation.description.empty())
            out += calculation.description + "\n";
        out += concentration + calculation.fText + "\n";
        out += "Ore/giorno: " + calculation.tText + "\n";
        out += "Giorni/anno: " + calculation.gText + "\n";
        if (unsigned item = fieldItemId(calculation, unit))
            out += "Fonte: " + itemOriginText(item) + "\n";
    }
    out += "Esposizione annuale (ff/cc): " + calculation.resultCc + "\n";
    out += "Esposizione annuale (ff/l): " + calculation.resultL + "\n";
    if (!calculation.notes.empty())
        out += "\n" + unixLines(calculation.notes) + "\n";
    return out;
}

// A value of F, t or g given on the command line, checked as the calculator
// field checks what is typed, and then for its range.
bool typedValue(CommandContext& context, const char* option, const std::string& utf8,
                const char* emptyMessage, std::string* text)
{
    std::string value = shownText(utf8);
    if (value.empty()) {
        usageError(context, std::string(option) + ": " + emptyMessage);
        return false;
    }
    if (value.size() > TypedNumberChars) {
        usageError(context, std::string(option) + " " + inQuotes(value) + ": al massimo " +
                                std::to_string(TypedNumberChars) +
                                " caratteri (il calcolatore legge solo i primi 15)");
        return false;
    }
    TypedNumberCheck check = checkTypedNumber(value);
    if (!check.accepted) {
        usageError(context, std::string(option) + " " + inQuotes(value) + ": " +
                                InvalidCharacterMessage + " (carattere " +
                                inQuotes(value.substr(check.position, 1)) + ")");
        return false;
    }
    *text = value;
    return true;
}

bool limitedText(CommandContext& context, const ParsedOptions& options, const char* option,
                 std::string* text)
{
    const std::string* value = options.value(option);
    if (!value)
        return true;
    if (!textArgument(context, *value, option, text))
        return false;
    if (text->size() > TextLimit) {
        usageError(context, std::string(option) + ": " + std::to_string(text->size()) +
                                " caratteri, il calcolatore ne accetta al massimo 255");
        return false;
    }
    return true;
}

// Reads a .qvl file into a calculation as the calculator does when it opens
// it. False (message written) when the file cannot be read or is not one.
bool loadCalculation(CommandContext& context, const CliArgument& argument, std::string* text,
                     Calculation* calculation, DisplayUnit* unit)
{
    std::string name = shownPath(argument.path);
    errno = 0;
    if (!readWholeFile(argument.path.c_str(), text)) {
        std::string reason = errno != 0 ? std::strerror(errno) : "errore di lettura";
        failure(context, "impossibile leggere il file " + inQuotes(name) + " (" + shownPath(reason) + ")");
        return false;
    }
    IniSectionProfile profile(*text);
    if (!profile.hasSection(MainSection)) {
        failure(context, inQuotes(name) + " non è un file di calcolo: manca la sezione [" + MainSection + "]");
        return false;
    }
    CalculationFile file = readCalculationFile(profile);
    // The path is only the calculator's CurrentFile, which the command line
    // does not keep.
    applyCalculationFile(file, std::string(), *calculation, unit);
    return true;
}

// Items whose indicative value went into the result, on the error stream:
// an invented figure is not a measurement.
void warnIndicative(CommandContext& context, const Calculation& calculation, DisplayUnit unit)
{
    std::vector<unsigned> items;
    if (calculation.multiple)
        for (const ExposureRow& row : calculation.rows)
            items.push_back(rowItemId(row, unit));
    else
        items.push_back(fieldItemId(calculation, unit));
    for (unsigned item : items)
        if (item != 0 && !isCitedItem(item))
            warning(context, "la voce " + std::to_string(item) +
                                 " ha un valore indicativo, non una misura pubblicata: il risultato "
                                 "non si basa su una misura");
}

// "-F @ID": the item's concentration as the calculator takes it, in unit.
bool itemValue(CommandContext& context, const std::string& utf8, DisplayUnit unit, Calculation* calculation)
{
    long id;
    const NodeRecord* item = parseCount(utf8.substr(1), &id) && id <= 65535
                                 ? findNode(static_cast<unsigned>(id)) : nullptr;
    if (!item || item->kind != Item) {
        usageError(context, "-F " + inQuotes(shownText(utf8)) +
                                ": nessuna voce con questo ID (vedere quorvel tree --ids)");
        return false;
    }
    calculation->fText = concentrationText(item->concentration, unit);
    calculation->description = item->name;
    calculation->itemId = item->id;
    return true;
}

}  // namespace

int calcCommand(CommandContext& context)
{
    ParsedOptions options;
    if (!parseOptions(context, {{"-F", "--fibre", true}, {"-t", "--ore", true},
                                {"-g", "--giorni", true}, {"--unit", nullptr, true},
                                {"-d", "--descrizione", true}, {"--note", nullptr, true},
                                {"--csv", nullptr, false}},
                      &options))
        return ExitUsage;
    if (options.help)
        return showHelp(context);
    if (options.positionals.size() > 1)
        return usageError(context, "un solo file .qvl per volta (per più file: quorvel check)");

    Calculation calculation;
    DisplayUnit unit = PerCc;
    if (options.positionals.size() == 1) {
        for (const char* option : {"-F", "-t", "-g", "--unit", "-d", "--note"})
            if (options.has(option))
                return usageError(context, std::string("l'opzione ") + inQuotes(option) +
                                               " non si usa con un file: i valori e l'unità sono "
                                               "quelli del file");
        const CliArgument& argument = context.args[options.positionals[0]];
        std::string text;
        if (!loadCalculation(context, argument, &text, &calculation, &unit))
            return ExitFailed;
        std::string storedCc = calculation.resultCc;
        if (!calculation.multiple) {
            IniSectionProfile profile(text);
            CalculationFile file = readCalculationFile(profile);
            for (auto [key, value] : {std::pair{FibreKey, &file.fText}, std::pair{HoursKey, &file.tText},
                                      std::pair{DaysKey, &file.gText}}) {
                TypedNumberCheck check = checkTypedNumber(*value);
                if (!check.accepted)
                    warning(context, std::string(key) + "=" + inQuotes(*value) + ": " +
                                         InvalidCharacterMessage + " Il calcolatore tiene " +
                                         inQuotes(check.keptText) + ".");
            }
        }
        recomputeResults(calculation, unit);
        if (storedCc != calculation.resultCc)
            warning(context, "il file riporta " + std::string(ExposureKey) + "=" + inQuotes(storedCc) +
                                 ", il ricalcolo dà " + calculation.resultCc);
    } else {
        if (!options.has("-F"))
            return usageError(context, "manca la concentrazione: -F valore (oppure un file .qvl)");
        if (!unitOption(context, options, &unit))
            return ExitUsage;
        std::string t = "8", g = "240";  // the calculator's starting values
        const std::string& fibre = *options.value("-F");
        if (!fibre.empty() && fibre[0] == '@') {
            if (!itemValue(context, fibre, unit, &calculation))
                return ExitUsage;
        } else if (!typedValue(context, "-F", fibre, MissingFibreMessage, &calculation.fText)) {
            return ExitUsage;
        }
        if (options.has("-t") &&
            !typedValue(context, "-t", *options.value("-t"), HoursRange.missingMessage, &t))
            return ExitUsage;
        if (options.has("-g") &&
            !typedValue(context, "-g", *options.value("-g"), DaysRange.missingMessage, &g))
            return ExitUsage;
        for (auto [option, text, range] :
             {std::tuple{"-t", &t, &HoursRange}, std::tuple{"-g", &g, &DaysRange}})
            if (!range->contains(readNumber(text->c_str(), TypedNumberChars)))
                return usageError(context, std::string(option) + " " + inQuotes(*text) + ": " +
                                               range->invalidMessage + " (" + range->limits + ")");
        calculation.tText = t;
        calculation.gText = g;
        if (!limitedText(context, options, "-d", &calculation.description) ||
            !limitedText(context, options, "--note", &calculation.notes))
            return ExitUsage;
        applyFieldChange(calculation, unit);
    }
    warnIndicative(context, calculation, unit);
    if (options.has("--csv"))
        context.io.out += unixLines(calculationCsvText(calculation, unit));
    else
        context.io.out += calculationText(calculation, unit);
    return ExitOk;
}

