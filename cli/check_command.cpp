// check: whether .qvl files are ones the calculator reads back as written,
// with every problem named.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "app/calculator/calculator.h"
#include "cli/calc_shared.h"
#include "cli/cli_internal.h"
#include "cli/text_encoding.h"
#include "common/cp1252.h"
#include "common/ini.h"
#include "common/number_format.h"

namespace {

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
    void checkRows(const CalculationFile& file, DisplayUnit unit);
    void checkRowNumber(const std::string& section, const char* key, double* value);
    void checkResult(const char* key, const std::string& recomputed, int decimals);

    const std::string& text_;
    IniSectionProfile profile_;
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
    } fields[] = {{FibreKey, &file.fText}, {HoursKey, &file.tText}, {DaysKey, &file.gText}};
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
    if (!file.tText.empty() && !HoursRange.contains(hours))
        problem(std::string(HoursKey) + "=" + inQuotes(file.tText) + ": " + outOfRange(HoursRange));
    TypedNumberCheck g = checkTypedNumber(file.gText);
    double days = readNumber((g.accepted ? file.gText : g.keptText).c_str(), TypedNumberChars);
    if (!file.gText.empty() && !DaysRange.contains(days))
        problem(std::string(DaysKey) + "=" + inQuotes(file.gText) + ": " + outOfRange(DaysRange));
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

void FileCheck::checkRows(const CalculationFile& file, DisplayUnit unit)
{
    std::string items;
    if (!raw(MainSection, RowCountKey, &items)) {
        if (profile_.hasSection(rowSection(0).c_str()))
            problem(std::string(RowCountKey) +
                    " mancante: il calcolo multiplo si legge senza righe e le sezioni EXPO "
                    "sono ignorate");
    } else {
        long count;
        int read = profile_.readInt(MainSection, RowCountKey, 0);
        if (!parseCount(items, &count))
            problem(std::string(RowCountKey) + "=" + inQuotes(items) +
                    " non è un numero di righe: letto come " + std::to_string(read < 0 ? 0 : read));
        else if (count > MaxFileRows)
            problem(std::string(RowCountKey) + "=" + items + ": il programma legge al massimo " +
                    std::to_string(MaxFileRows) + " righe");
    }
    for (size_t i = 0; i < file.rows.size(); ++i) {
        std::string section = rowSection(static_cast<int>(i));
        if (!profile_.hasSection(section.c_str())) {
            problem("sezione [" + section + "] mancante: la riga è vuota, con valori 0");
            continue;
        }
        RowValues values = file.rows[i];
        if (values.description.empty())
            problem(name(section, RowDescriptionKey) + " vuota: il calcolatore non accetta una riga senza descrizione");
        checkLength(section, RowDescriptionKey);
        checkRowNumber(section, FibreKey, &values.f);
        checkRowNumber(section, HoursKey, &values.t);
        checkRowNumber(section, DaysKey, &values.g);
        if (values.f < 0)
            problem(name(section, FibreKey) + ": concentrazione negativa");
        if (!HoursRange.contains(values.t))
            problem(name(section, HoursKey) + "=" + shortestDecimal(values.t) + ": " +
                    outOfRange(HoursRange));
        if (!DaysRange.contains(values.g))
            problem(name(section, DaysKey) + "=" + shortestDecimal(values.g) + ": " +
                    outOfRange(DaysRange));
        // The list keeps the values rounded to its decimals; the total is
        // computed from what the list shows.
        RowValues written = values;
        ExposureRow row = writeRow(written, unit);
        RowValues shown = readRow(row);
        struct Rounded {
            const char* key;
            double stored, listed;
            const std::string& text;
        } rounded[] = {{FibreKey, values.f, shown.f, row.columns[ColumnF]},
                       {HoursKey, values.t, shown.t, row.columns[ColumnT]},
                       {DaysKey, values.g, shown.g, row.columns[ColumnG]}};
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
        problem(std::string("manca la sezione [") + MainSection + "]: non è un file di calcolo");
        return problems_;
    }
    checkFlag(UnitKey, unitLabel(PerCc), unitLabel(PerLitre));
    checkFlag(MultipleKey, "calcolo singolo", "calcolo multiplo");
    CalculationFile file = readCalculationFile(profile_);
    for (const char* key : {ExposureKey, NotesKey})
        checkLength(MainSection, key);
    if (file.multiple) {
        checkRows(file, file.unit);
    } else {
        for (const char* key : {DescriptionKey, FibreKey, HoursKey, DaysKey})
            checkLength(MainSection, key);
        checkSingle(file);
    }
    Calculation calculation;
    DisplayUnit unit = PerCc;
    applyCalculationFile(file, std::string(), calculation, &unit);
    recomputeResults(calculation, unit);
    checkResult(ExposureKey, calculation.resultCc, 5);
    checkResult(ExposureLitreKey, calculation.resultL, 2);
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

}  // namespace

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

