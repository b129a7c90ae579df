// calc, check and history: the exposure model and the .qvl files of the
// calculator, without its window.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "app/calculator/calculator.h"
#include "app/database/database.h"
#include "cli/cli_internal.h"
#include "cli/text_encoding.h"
#include "common/cp1252.h"
#include "common/ini.h"
#include "common/number_format.h"

namespace {

const char* const MainSection = "QUORVEL";
// ff/cc x years: the lung-cancer reference of the Helsinki criteria and of
// the German BK 4104; mesothelioma has none.
constexpr double ReferenceFibreYears = 25;
// ff/cc: the annual mean (as 8-hour average) that the Italian asbestos
// pension benefits ask for, over at least ten years.
constexpr double ItalianAnnualMean = 0.1;
constexpr size_t MaxHistoryPeriods = 10000;

int showHelp(CommandContext& context)
{
    context.io.out += helpText(context.command, context.language);
    return ExitOk;
}

// A file name for messages: UTF-8 names (Linux) become Windows-1252, other
// names are taken as Windows-1252 already.
std::string shownPath(const std::string& path)
{
    std::string text;
    if (isUtf8(path) && utf8ToCp1252(path, &text, nullptr))
        return text;
    return path;
}

std::string unitName(int unit)
{
    return unitLabel(unit);
}

// A number as a file or a history line should hold it: optional sign,
// digits with an optional point and fraction, an optional exponent, and
// nothing else.
bool isPlainNumber(const std::string& text)
{
    size_t i = 0, n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9')
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        size_t exponent = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i, ++exponent;
        if (exponent == 0)
            return false;
    }
    return i == n;
}

bool hoursInRange(double t)
{
    return t > 0 && t <= 24;
}

bool daysInRange(double g)
{
    return g > 0 && g <= 365;
}

// ---- the calculation as text ----

// The lines of the calculator's printed page below its title.
std::string calculationText(const Calculation& calculation, int unit)
{
    const bool litre = unit != 0;
    std::string out;
    if (calculation.multiple) {
        out += "Esposizioni multiple\n";
        for (const ExposureRow& row : calculation.rows) {
            RowValues values = readRow(row);
            out += "Descrizione: " + values.description + "\n";
            out += std::string(litre ? "Concentrazione (ff/l): " : "Concentrazione (ff/cc): ") +
                   unitValueText(values.f, unit) + "\n";
            out += "Ore/giorno: " + fixedText(values.t, 3) + "\n";
            out += "Giorni/anno: " + fixedText(values.g, 1) + "\n";
            out += std::string(litre ? "Esposizione parziale (ff/l): "
                                     : "Esposizione parziale (ff/cc): ") +
                   unitValueText(values.partial, unit) + "\n";
        }
        out += "\n";
    } else {
        if (!calculation.description.empty())
            out += calculation.description + "\n";
        out += std::string(litre ? "Concentrazione (ff/l): " : "Concentrazione (ff/cc): ") +
               calculation.fText + "\n";
        out += "Ore/giorno: " + calculation.tText + "\n";
        out += "Giorni/anno: " + calculation.gText + "\n";
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
                     Calculation* calculation, int* unit)
{
    std::string name = shownPath(argument.path);
    errno = 0;
    if (!readWholeFile(argument.path.c_str(), text)) {
        std::string reason = errno != 0 ? std::strerror(errno) : "errore di lettura";
        failure(context, "impossibile leggere il file " + inQuotes(name) + " (" + shownPath(reason) + ")");
        return false;
    }
    SectionProfile profile(*text);
    if (!profile.hasSection(MainSection)) {
        failure(context, inQuotes(name) + " non è un file di calcolo: manca la sezione [QUORVEL]");
        return false;
    }
    CalculationFile file = readCalculationFile(profile);
    // The path is only the calculator's CurrentFile, which the command line
    // does not keep.
    applyCalculationFile(file, std::string(), *calculation, unit);
    return true;
}

// ---- check ----

class FileCheck {
public:
    explicit FileCheck(const std::string& text) : text_(text), profile_(text) {}

    std::vector<std::string> run();

private:
    // The whole value of a key as the profile reader gives it (quotes
    // removed), or false when the key is missing.
    bool raw(const std::string& section, const char* key, std::string* value)
    {
        // No value is longer than the file; the buffer is made once.
        if (buffer_.size() < text_.size() + 2)
            buffer_.resize(text_.size() + 2);
        const char* missing = "\x01";
        profile_.readString(section.c_str(), key, missing, buffer_.data(),
                            static_cast<unsigned>(buffer_.size()));
        *value = buffer_.data();
        return *value != missing;
    }

    void problem(const std::string& text) { problems_.push_back(text); }
    std::string name(const std::string& section, const char* key) const
    {
        return section == MainSection ? std::string(key) : "[" + section + "] " + key;
    }
    void checkLength(const std::string& section, const char* key);
    void checkFlag(const char* key, const char* meaningZero, const char* meaningOther);
    void checkSingle(const CalculationFile& file);
    void checkRows(const CalculationFile& file, int unit);
    void checkRowNumber(const std::string& section, const char* key, double* value);
    void checkResult(const char* key, const std::string& recomputed, int decimals);

    const std::string& text_;
    SectionProfile profile_;
    std::vector<std::string> problems_;
    std::vector<char> buffer_;
};

void FileCheck::checkLength(const std::string& section, const char* key)
{
    std::string value;
    if (raw(section, key, &value) && value.size() > TextLimit)
        problem(name(section, key) + ": " + std::to_string(value.size()) +
                " caratteri, il programma legge solo i primi 255");
}

void FileCheck::checkFlag(const char* key, const char* meaningZero, const char* meaningOther)
{
    std::string value;
    if (!raw(MainSection, key, &value) || value == "0" || value == "1")
        return;
    int read = profile_.readInt(MainSection, key, 0);
    problem(std::string(key) + "=" + inQuotes(value) + " non è 0 o 1: letto come " +
            std::to_string(read) + " (" + (read != 0 ? meaningOther : meaningZero) + ")");
}

void FileCheck::checkSingle(const CalculationFile& file)
{
    struct Field {
        const char* key;
        const std::string* text;
    } fields[] = {{"FIBRE", &file.fText}, {"ORE", &file.tText}, {"GIORNI", &file.gText}};
    for (const Field& field : fields) {
        std::string value;
        if (!raw(MainSection, field.key, &value)) {
            problem(std::string(field.key) + " mancante: il calcolatore lo legge come 0");
            continue;
        }
        if (field.text->empty()) {
            problem(std::string(field.key) + " vuoto: il calcolatore lo legge come 0");
            continue;
        }
        TypedNumberCheck check = checkTypedNumber(*field.text);
        if (!check.accepted) {
            problem(std::string(field.key) + "=" + inQuotes(*field.text) + ": carattere non valido " +
                    inQuotes(field.text->substr(check.position, 1)) + ", il programma mostra " +
                    inQuotes(InvalidCharacterMessage) + " e tiene " + inQuotes(check.keptText));
        } else if (field.text->size() > TypedNumberChars) {
            problem(std::string(field.key) + "=" + inQuotes(*field.text) +
                    ": il calcolatore legge solo i primi 15 caratteri, " +
                    inQuotes(field.text->substr(0, TypedNumberChars)));
        }
    }
    std::string kept;
    TypedNumberCheck t = checkTypedNumber(file.tText);
    double hours = readNumber((t.accepted ? file.tText : t.keptText).c_str(), TypedNumberChars);
    if (!file.tText.empty() && !hoursInRange(hours))
        problem("ORE=" + inQuotes(file.tText) + ": ore/giorno fuori dall'intervallo da 0 (escluso) a 24");
    TypedNumberCheck g = checkTypedNumber(file.gText);
    double days = readNumber((g.accepted ? file.gText : g.keptText).c_str(), TypedNumberChars);
    if (!file.gText.empty() && !daysInRange(days))
        problem("GIORNI=" + inQuotes(file.gText) +
                ": giorni/anno fuori dall'intervallo da 0 (escluso) a 365");
}

void FileCheck::checkRowNumber(const std::string& section, const char* key, double* value)
{
    std::string text;
    if (!raw(section, key, &text))
        problem(name(section, key) + " mancante: letto come 0");
    else if (!isPlainNumber(text))
        problem(name(section, key) + "=" + inQuotes(text) + " non è un numero: letto come " +
                shortestDecimal(*value) +
                (text.find(',') != std::string::npos ? " (usare il punto come separatore decimale)"
                                                     : ""));
}

void FileCheck::checkRows(const CalculationFile& file, int unit)
{
    std::string items;
    if (!raw(MainSection, "ITEMS", &items)) {
        if (profile_.hasSection("EXPO_0"))
            problem("ITEMS mancante: il calcolo multiplo si legge senza righe e le sezioni EXPO "
                    "sono ignorate");
    } else {
        long count;
        int read = profile_.readInt(MainSection, "ITEMS", 0);
        if (!parseCount(items, &count))
            problem("ITEMS=" + inQuotes(items) + " non è un numero di righe: letto come " +
                    std::to_string(read < 0 ? 0 : read));
        else if (count > MaxFileRows)
            problem("ITEMS=" + items + ": il programma legge al massimo " +
                    std::to_string(MaxFileRows) + " righe");
    }
    for (size_t i = 0; i < file.rows.size(); ++i) {
        std::string section = "EXPO_" + std::to_string(i);
        if (!profile_.hasSection(section.c_str())) {
            problem("sezione [" + section + "] mancante: la riga è vuota, con valori 0");
            continue;
        }
        RowValues values = file.rows[i];
        if (values.description.empty())
            problem(name(section, "VOCE") + " vuota: il calcolatore non accetta una riga senza descrizione");
        checkLength(section, "VOCE");
        checkRowNumber(section, "FIBRE", &values.f);
        checkRowNumber(section, "ORE", &values.t);
        checkRowNumber(section, "GIORNI", &values.g);
        if (values.f < 0)
            problem(name(section, "FIBRE") + ": concentrazione negativa");
        if (!hoursInRange(values.t))
            problem(name(section, "ORE") + "=" + shortestDecimal(values.t) +
                    ": ore/giorno fuori dall'intervallo da 0 (escluso) a 24");
        if (!daysInRange(values.g))
            problem(name(section, "GIORNI") + "=" + shortestDecimal(values.g) +
                    ": giorni/anno fuori dall'intervallo da 0 (escluso) a 365");
        // The list keeps the values rounded to its decimals; the total is
        // computed from what the list shows.
        RowValues written = values;
        ExposureRow row = writeRow(written, unit);
        RowValues shown = readRow(row);
        struct Rounded {
            const char* key;
            double stored, listed;
            const std::string& text;
        } rounded[] = {{"FIBRE", values.f, shown.f, row.columns[ColumnF]},
                       {"ORE", values.t, shown.t, row.columns[ColumnT]},
                       {"GIORNI", values.g, shown.g, row.columns[ColumnG]}};
        for (const Rounded& r : rounded)
            if (r.stored != r.listed)
                problem(name(section, r.key) + "=" + shortestDecimal(r.stored) +
                        " è arrotondato a " + r.text + " nella lista, e il totale usa " + r.text);
    }
}

void FileCheck::checkResult(const char* key, const std::string& recomputed, int decimals)
{
    std::string stored;
    if (!raw(MainSection, key, &stored)) {
        problem(std::string(key) + " mancante: il ricalcolo dà " + recomputed);
        return;
    }
    double value;
    if (!isPlainNumber(stored) || !parseNumber(stored.c_str(), &value)) {
        problem(std::string(key) + "=" + inQuotes(stored) + " non è un numero: il ricalcolo dà " +
                recomputed);
        return;
    }
    if (fixedText(value, decimals) != recomputed)
        problem(std::string(key) + "=" + stored + " non concorda con il ricalcolo, " + recomputed);
}

std::vector<std::string> FileCheck::run()
{
    if (!profile_.hasSection(MainSection)) {
        problem("manca la sezione [QUORVEL]: non è un file di calcolo");
        return problems_;
    }
    checkFlag("UNIT", "ff/cc", "ff/l");
    checkFlag("MULTI", "calcolo singolo", "calcolo multiplo");
    CalculationFile file = readCalculationFile(profile_);
    for (const char* key : {"ESPOSIZIONE", "NOTE"})
        checkLength(MainSection, key);
    if (file.multiple) {
        checkRows(file, file.unit);
    } else {
        for (const char* key : {"LAVORAZIONE", "FIBRE", "ORE", "GIORNI"})
            checkLength(MainSection, key);
        checkSingle(file);
    }
    Calculation calculation;
    int unit = 0;
    applyCalculationFile(file, std::string(), calculation, &unit);
    recomputeResults(calculation, unit);
    checkResult("ESPOSIZIONE", calculation.resultCc, 5);
    checkResult("ESPOSIZIONE_FL", calculation.resultL, 2);
    return problems_;
}

struct CheckTarget {
    std::string path;   // for the file functions
    std::string shown;  // for messages
};

// The files an argument names: the file itself, or the .qvl files of a
// folder in name order. False (message written) for a folder that cannot
// be listed.
bool targetsOf(CommandContext& context, const CliArgument& argument,
               std::vector<CheckTarget>* targets, bool* emptyFolder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    *emptyFolder = false;
    fs::path path(argument.path);
    if (!fs::is_directory(path, error)) {
        targets->push_back({argument.path, shownPath(argument.path)});
        return true;
    }
    std::vector<std::string> names;
    fs::directory_iterator it(path, error), end;
    if (error) {
        failure(context, "impossibile elencare la cartella " + inQuotes(shownPath(argument.path)));
        return false;
    }
    for (; it != end; it.increment(error)) {
        if (error)
            break;
        std::string name = it->path().filename().string();
        if (isCalculationFileName(name.c_str()) && !it->is_directory(error))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    *emptyFolder = names.empty();
    for (const std::string& name : names) {
        std::string full = (path / name).string();
        targets->push_back({full, shownPath(full)});
    }
    return true;
}

// ---- history ----

struct Period {
    int line;
    long from, to;  // months since year 0: year * 12 + month - 1, both included
    std::string fromText, toText;
    double f, t, g;
    std::string description;
    const NodeRecord* item = nullptr;  // the item F was taken from, if any
};

std::string trimmedText(const std::string& text)
{
    size_t a = text.find_first_not_of(" \t\r");
    if (a == std::string::npos)
        return std::string();
    size_t b = text.find_last_not_of(" \t\r");
    return text.substr(a, b - a + 1);
}

// "1975" or "1975-03"; a year alone starts in January (start) or ends in
// December (end).
bool parseMonth(const std::string& text, bool end, long* month)
{
    size_t dash = text.find('-');
    long year, number = end ? 12 : 1;
    if (!parseCount(text.substr(0, dash), &year) || year < 1900 || year > 2100)
        return false;
    if (dash != std::string::npos) {
        std::string part = text.substr(dash + 1);
        if (part.size() != 2 || !parseCount(part, &number) || number < 1 || number > 12)
            return false;
    }
    *month = year * 12 + number - 1;
    return true;
}

// Reads one line of a work history; false with the message in *error.
bool readPeriod(const std::string& line, int number, int unit, Period* period, std::string* error)
{
    std::vector<std::string> fields;
    size_t pos = 0;
    while (fields.size() < 5) {
        size_t start = line.find_first_not_of(" \t", pos);
        if (start == std::string::npos)
            break;
        size_t end = line.find_first_of(" \t", start);
        fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
        pos = end == std::string::npos ? line.size() : end;
    }
    if (fields.size() < 5) {
        *error = "servono almeno cinque valori: inizio fine F t g [descrizione]";
        return false;
    }
    period->line = number;
    period->description = trimmedText(line.substr(pos));
    const char* monthNames[] = {"inizio", "fine"};
    long* months[] = {&period->from, &period->to};
    for (int i = 0; i < 2; ++i) {
        if (!parseMonth(fields[i], i == 1, months[i])) {
            *error = std::string(monthNames[i]) + " " + inQuotes(fields[i]) +
                     " non valido: un anno dal 1900 al 2100, o anno-mese come 1975-03";
            return false;
        }
    }
    period->fromText = fields[0];
    period->toText = fields[1];
    if (period->to < period->from) {
        *error = "la fine " + fields[1] + " precede l'inizio " + fields[0];
        return false;
    }
    const char* valueNames[] = {"F", "t", "g"};
    double* values[] = {&period->f, &period->t, &period->g};
    for (int i = 0; i < 3; ++i) {
        const std::string& text = fields[2 + i];
        if (i == 0 && !text.empty() && text[0] == '@') {
            // An item id: its concentration, and its source with it.
            long id;
            const NodeRecord* item = parseCount(text.substr(1), &id) && id <= 65535
                                         ? findNode(static_cast<unsigned>(id)) : nullptr;
            if (!item || item->kind != Item) {
                *error = "F " + inQuotes(text) + ": nessuna voce con questo ID (vedere quorvel tree --ids)";
                return false;
            }
            period->item = item;
            period->f = unit != 0 ? item->concentration * 1000 : item->concentration;
            if (period->description.empty())
                period->description = item->name;
            continue;
        }
        if (!isPlainNumber(text) || !parseNumber(text.c_str(), values[i])) {
            *error = std::string(valueNames[i]) + " " + inQuotes(text) + " non è un numero" +
                     (text.find(',') != std::string::npos
                          ? " (usare il punto come separatore decimale)" : "");
            return false;
        }
    }
    if (period->f < 0) {
        *error = "F " + inQuotes(fields[2]) + ": la concentrazione non può essere negativa";
        return false;
    }
    if (!hoursInRange(period->t)) {
        *error = "t " + inQuotes(fields[3]) + ": ore/giorno fuori dall'intervallo da 0 (escluso) a 24";
        return false;
    }
    if (!daysInRange(period->g)) {
        *error = "g " + inQuotes(fields[4]) + ": giorni/anno fuori dall'intervallo da 0 (escluso) a 365";
        return false;
    }
    return true;
}

// Where the period's F comes from, for the last column.
std::string periodSource(const Period& period)
{
    if (!period.item)
        return std::string();
    std::string text = "voce " + std::to_string(period.item->id);
    const SourceRecord* source = findSource(period.item->id);
    if (!source)
        return text + ", valore indicativo";
    return text + ", citata" + (source->checked ? "" : " (fonte non verificata)") + ": " + source->reference;
}

// Sums of floating-point parts may miss an exact total by the last bits.
bool nearlyEqual(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b));
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
    int unit = 0;
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
            SectionProfile profile(text);
            CalculationFile file = readCalculationFile(profile);
            for (auto [key, value] : {std::pair{"FIBRE", &file.fText}, std::pair{"ORE", &file.tText},
                                      std::pair{"GIORNI", &file.gText}}) {
                TypedNumberCheck check = checkTypedNumber(*value);
                if (!check.accepted)
                    warning(context, std::string(key) + "=" + inQuotes(*value) + ": " +
                                         InvalidCharacterMessage + " Il calcolatore tiene " +
                                         inQuotes(check.keptText) + ".");
            }
        }
        recomputeResults(calculation, unit);
        if (storedCc != calculation.resultCc)
            warning(context, "il file riporta ESPOSIZIONE=" + inQuotes(storedCc) +
                                 ", il ricalcolo dà " + calculation.resultCc);
    } else {
        if (!options.has("-F"))
            return usageError(context, "manca la concentrazione: -F valore (oppure un file .qvl)");
        if (!unitOption(context, options, &unit))
            return ExitUsage;
        std::string t = "8", g = "240";  // the calculator's starting values
        if (!typedValue(context, "-F", *options.value("-F"),
                        "Attenzione: inserire la concentrazione di fibre!", &calculation.fText))
            return ExitUsage;
        if (options.has("-t") &&
            !typedValue(context, "-t", *options.value("-t"), "Attenzione: inserire le ore/giorno!", &t))
            return ExitUsage;
        if (options.has("-g") &&
            !typedValue(context, "-g", *options.value("-g"), "Attenzione: inserire i giorni/anno!", &g))
            return ExitUsage;
        if (!hoursInRange(readNumber(t.c_str(), TypedNumberChars)))
            return usageError(context, "-t " + inQuotes(t) +
                                           ": Attenzione: ore/giorno valore non valido! (da 0 "
                                           "escluso a 24)");
        if (!daysInRange(readNumber(g.c_str(), TypedNumberChars)))
            return usageError(context, "-g " + inQuotes(g) +
                                           ": Attenzione: giorni/anno valore non valido! (da 0 "
                                           "escluso a 365)");
        calculation.tText = t;
        calculation.gText = g;
        if (!limitedText(context, options, "-d", &calculation.description) ||
            !limitedText(context, options, "--note", &calculation.notes))
            return ExitUsage;
        applyFieldChange(calculation, unit);
    }
    if (options.has("--csv"))
        context.io.out += unixLines(calculationCsvText(calculation, unit));
    else
        context.io.out += calculationText(calculation, unit);
    return ExitOk;
}

int checkCommand(CommandContext& context)
{
    ParsedOptions options;
    if (!parseOptions(context, {{"--quiet", "-q", false}}, &options))
        return ExitUsage;
    if (options.help)
        return showHelp(context);
    if (options.positionals.empty())
        return usageError(context, "manca il file .qvl o la cartella da controllare");

    int status = ExitOk;
    for (size_t index : options.positionals) {
        std::vector<CheckTarget> targets;
        bool emptyFolder = false;
        if (!targetsOf(context, context.args[index], &targets, &emptyFolder)) {
            status = ExitFailed;
            continue;
        }
        if (emptyFolder) {
            context.io.out += shownPath(context.args[index].path) + ": nessun file .qvl\n";
            status = ExitFailed;
            continue;
        }
        for (const CheckTarget& target : targets) {
            std::string text;
            std::vector<std::string> problems;
            errno = 0;
            if (!readWholeFile(target.path.c_str(), &text))
                problems.push_back(std::string("impossibile leggere il file (") +
                                   (errno != 0 ? shownPath(std::strerror(errno)) : "errore di lettura") +
                                   ")");
            else
                problems = FileCheck(text).run();
            if (problems.empty()) {
                if (!options.has("--quiet"))
                    context.io.out += target.shown + ": OK\n";
                continue;
            }
            status = ExitFailed;
            context.io.out += target.shown + ": " + std::to_string(problems.size()) +
                              (problems.size() == 1 ? " problema\n" : " problemi\n");
            for (const std::string& problem : problems)
                context.io.out += "  " + problem + "\n";
        }
    }
    return status;
}

int historyCommand(CommandContext& context)
{
    ParsedOptions options;
    if (!parseOptions(context, {{"--unit", nullptr, true}}, &options))
        return ExitUsage;
    if (options.help)
        return showHelp(context);
    int unit;
    if (!unitOption(context, options, &unit))
        return ExitUsage;
    if (options.positionals.size() != 1)
        return usageError(context, "serve un solo file con la storia lavorativa");
    const CliArgument& argument = context.args[options.positionals[0]];
    std::string name = shownPath(argument.path);
    std::string text;
    errno = 0;
    if (!readWholeFile(argument.path.c_str(), &text))
        return failure(context, "impossibile leggere il file " + inQuotes(name) + " (" +
                                    (errno != 0 ? shownPath(std::strerror(errno)) : "errore di lettura") + ")");
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    // UTF-8 files (the usual on Linux) convert; others are Windows-1252 already.
    const bool utf8 = isUtf8(text);

    std::vector<Period> periods;
    size_t pos = 0;
    int number = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        ++number;
        size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        if (trimmedText(line).empty())
            continue;
        std::string converted;
        std::string bad;
        if (utf8 && !utf8ToCp1252(line, &converted, &bad))
            return failure(context, name + ":" + std::to_string(number) + ": il carattere " + bad +
                                        " non esiste in Windows-1252");
        Period period;
        std::string error;
        if (!readPeriod(utf8 ? converted : line, number, unit, &period, &error))
            return failure(context, name + ":" + std::to_string(number) + ": " + error);
        if (periods.size() >= MaxHistoryPeriods)
            return failure(context, name + ": più di " + std::to_string(MaxHistoryPeriods) + " periodi");
        periods.push_back(period);
    }
    if (periods.empty())
        return failure(context, inQuotes(name) + " non contiene periodi di lavoro");

    int overlaps = 0;
    for (size_t i = 0; i < periods.size() && overlaps < 5; ++i)
        for (size_t j = i + 1; j < periods.size() && overlaps < 5; ++j)
            if (periods[i].from <= periods[j].to && periods[j].from <= periods[i].to) {
                warning(context, "i periodi delle righe " + std::to_string(periods[i].line) + " e " +
                                     std::to_string(periods[j].line) +
                                     " si sovrappongono: le loro esposizioni si sommano");
                ++overlaps;
            }

    std::string& out = context.io.out;
    out += "Periodo\tAnni\tF (" + unitName(unit) + ")\tt\tg\tE (ff/cc)\tff/cc × anni\tDescrizione\tFonte\n";
    double total = 0;
    // Annual mean of each calendar year: a period counts in a year for the
    // months it covers there.
    std::vector<double> yearMeans(2101 - 1900, 0.0);
    for (const Period& period : periods) {
        long length = period.to - period.from + 1;
        double exposure = annualExposure(period.f, period.t, period.g);
        if (unit != 0)
            exposure /= 1000;
        double fibreYears = exposure * static_cast<double>(length) / 12;
        total += fibreYears;
        for (long m = period.from; m <= period.to; ++m)
            yearMeans[static_cast<size_t>(m / 12 - 1900)] += exposure / 12;
        std::string years = length % 12 == 0 ? std::to_string(length / 12)
                                             : fixedText(static_cast<double>(length) / 12, 2);
        // "1975-1982" as before; with months "1990-01/1990-06", which a dash would blur.
        bool months = period.fromText.find('-') != std::string::npos ||
                      period.toText.find('-') != std::string::npos;
        out += period.fromText + (months ? "/" : "-") + period.toText + "\t" + years + "\t" + unitValueText(period.f, unit) +
               "\t" + fixedText(period.t, 2) + "\t" + fixedText(period.g, 1) + "\t" + fixedText(exposure, 5) +
               "\t" + fixedText(fibreYears, 3) + "\t" + period.description + "\t" + periodSource(period) + "\n";
    }
    out += "Esposizione cumulativa: " + fixedText(total, 3) + " ff/cc × anni\n";
    const char* verdict = nearlyEqual(total, ReferenceFibreYears) ? "è pari al"
                          : total > ReferenceFibreYears           ? "supera il"
                                                                  : "è inferiore al";
    out += std::string("Riferimento per il tumore del polmone: 25 ff/cc × anni (criteri di Helsinki, BK 4104 "
                       "tedesca; non vale per il mesotelioma); l'esposizione cumulativa ") +
           verdict + " riferimento (" + fixedText(total / ReferenceFibreYears * 100, 1) + "%)\n";
    int highYears = 0;
    for (double mean : yearMeans)
        highYears += mean > ItalianAnnualMean || nearlyEqual(mean, ItalianAnnualMean);
    out += "Anni con media annua pari o superiore a 100 ff/l: " + std::to_string(highYears) +
           " (criterio italiano dei benefici previdenziali: almeno 10 anni)\n";
    return ExitOk;
}
