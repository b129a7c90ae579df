// Option reading and messages shared by the commands.
#include "cli/cli_internal.h"

#include <cstring>

#include "cli/text_encoding.h"

bool ParsedOptions::has(const char* name) const
{
    return value(name) != nullptr;
}

const std::string* ParsedOptions::value(const char* name) const
{
    for (const auto& entry : values)
        if (entry.first == name)
            return &entry.second;
    return nullptr;
}

std::string inQuotes(const std::string& text)
{
    return "«" + text + "»";
}

std::string trimmed(const std::string& text)
{
    const char* blanks = " \t\r";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

namespace {

std::string prefix(const CommandContext& context)
{
    return std::string("quorvel ") + context.command + ": ";
}

const OptionSpec* findSpec(const std::vector<OptionSpec>& specs, const std::string& name)
{
    for (const OptionSpec& spec : specs)
        if (name == spec.name || (spec.alias && name == spec.alias))
            return &spec;
    return nullptr;
}

// Options are ASCII; a word that starts with "-" followed by a digit or a
// point is a value (a negative number), not an option.
bool looksLikeOption(const std::string& word)
{
    if (word.size() < 2 || word[0] != '-')
        return false;
    char second = word[1];
    return !(second >= '0' && second <= '9') && second != '.';
}

}  // namespace

std::string shownText(const std::string& utf8)
{
    std::string text;
    if (utf8ToCp1252(utf8, &text, nullptr))
        return text;
    text.clear();
    for (char c : utf8)
        text += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return text;
}

int usageError(CommandContext& context, const std::string& text)
{
    context.io.err += prefix(context) + text + "\n";
    context.io.err += std::string("Vedere: quorvel ") + context.command + " --help\n";
    return ExitUsage;
}

int failure(CommandContext& context, const std::string& text)
{
    context.io.err += prefix(context) + text + "\n";
    return ExitFailed;
}

void warning(CommandContext& context, const std::string& text)
{
    context.io.err += prefix(context) + "avviso: " + text + "\n";
}

bool parseOptions(CommandContext& context, const std::vector<OptionSpec>& specs,
                  ParsedOptions* parsed)
{
    const std::vector<CliArgument>& args = context.args;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i].utf8;
        if (optionsEnded || !looksLikeOption(word)) {
            parsed->positionals.push_back(i);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "--help" || word == "-h") {
            parsed->help = true;
            continue;
        }
        std::string name = word;
        std::string value;
        bool inlineValue = false;
        size_t equals = word.find('=');
        if (word.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            name = word.substr(0, equals);
            value = word.substr(equals + 1);
            inlineValue = true;
        }
        const OptionSpec* spec = findSpec(specs, name);
        if (!spec) {
            usageError(context, "opzione sconosciuta " + inQuotes(shownText(name)));
            return false;
        }
        if (parsed->has(spec->name)) {
            usageError(context, std::string("opzione ripetuta ") + inQuotes(spec->name));
            return false;
        }
        if (spec->takesValue && !inlineValue) {
            if (i + 1 >= args.size()) {
                usageError(context, std::string("manca il valore dell'opzione ") + inQuotes(spec->name));
                return false;
            }
            value = args[++i].utf8;
        } else if (!spec->takesValue && inlineValue) {
            usageError(context, std::string("l'opzione ") + inQuotes(spec->name) + " non prende valori");
            return false;
        }
        parsed->values.emplace_back(spec->name, value);
    }
    return true;
}

bool textArgument(CommandContext& context, const std::string& utf8, const char* what,
                  std::string* cp1252)
{
    std::string bad;
    if (utf8ToCp1252(utf8, cp1252, &bad))
        return true;
    if (bad.compare(0, 5, "byte ") == 0)
        usageError(context, std::string(what) + " non è testo UTF-8 valido (" + bad + ")");
    else
        usageError(context, std::string(what) + " contiene il carattere " + bad +
                                ", che Windows-1252 non rappresenta: il database e i file di "
                                "calcolo non possono contenerlo");
    return false;
}

bool unitOption(CommandContext& context, const ParsedOptions& options, DisplayUnit* unit)
{
    *unit = PerCc;
    const std::string* value = options.value("--unit");
    if (!value)
        return true;
    for (DisplayUnit candidate : {PerCc, PerLitre}) {
        const std::string label = unitLabel(candidate);  // "ff/cc", also given as "cc"
        if (*value == label || *value == label.substr(3)) {
            *unit = candidate;
            return true;
        }
    }
    usageError(context, "unità sconosciuta " + inQuotes(shownText(*value)) + ": usare cc (ff/cc) oppure l (ff/l)");
    return false;
}

bool parseCount(const std::string& text, long* value)
{
    if (text.empty() || text.size() > 9)
        return false;
    long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
    }
    *value = n;
    return true;
}
