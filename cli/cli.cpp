// The command word, the options every command shares and the help.
#include "cli/cli.h"

#include <cstring>

#include "cli/cli_internal.h"

namespace {

struct Command {
    const char* name;
    int (*run)(CommandContext&);
};

const Command Commands[] = {
    {"tree", treeCommand},     {"show", showCommand},   {"search", searchCommand},
    {"calc", calcCommand},     {"check", checkCommand}, {"export", exportCommand},
    {"history", historyCommand},
};

const Command* findCommand(const std::string& name)
{
    for (const Command& command : Commands)
        if (name == command.name)
            return &command;
    return nullptr;
}

// Takes --lang and --encoding out of the arguments, wherever they stand
// before "--". False with a message for a bad value.
bool globalOptions(std::vector<CliArgument>& args, HelpLanguage* language, CliStreams& io)
{
    std::vector<CliArgument> kept;
    bool ended = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i].utf8;
        if (word == "--")
            ended = true;
        std::string name = word.substr(0, word.find('='));
        if (ended || (name != "--lang" && name != "--encoding")) {
            kept.push_back(args[i]);
            continue;
        }
        std::string value;
        if (name.size() < word.size()) {
            value = word.substr(name.size() + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i].utf8;
        } else {
            io.err += "quorvel: manca il valore dell'opzione " + inQuotes(name) + "\n";
            return false;
        }
        if (name == "--lang" && (value == "it" || value == "en")) {
            *language = value == "en" ? HelpLanguage::English : HelpLanguage::Italian;
        } else if (name == "--encoding" && (value == "utf-8" || value == "utf8")) {
            io.encoding = OutputEncoding::Utf8;
        } else if (name == "--encoding" && (value == "windows-1252" || value == "cp1252")) {
            io.encoding = OutputEncoding::Cp1252;
        } else {
            io.err += "quorvel: valore " + inQuotes(shownText(value)) + " non valido per " + name +
                      (name == "--lang" ? " (it oppure en)\n" : " (utf-8 oppure windows-1252)\n");
            return false;
        }
    }
    args.swap(kept);
    return true;
}

}  // namespace

const char* const CliVersion = "quorvel 2.02";

std::vector<CliArgument> utf8Arguments(const std::vector<std::string>& args)
{
    std::vector<CliArgument> out;
    for (const std::string& arg : args)
        out.push_back({arg, arg});
    return out;
}

int runCli(const std::vector<CliArgument>& given, CliStreams& io)
{
    std::vector<CliArgument> args = given;
    HelpLanguage language = HelpLanguage::Italian;
    if (!globalOptions(args, &language, io))
        return ExitUsage;
    if (args.empty()) {
        io.err += helpText("", language);
        return ExitUsage;
    }
    const std::string& word = args[0].utf8;
    if (word == "--help" || word == "-h") {
        io.out += helpText("", language);
        return ExitOk;
    }
    if (word == "--version") {
        io.out += std::string(CliVersion) + "\n";
        return ExitOk;
    }
    if (word == "help") {
        std::string topic = args.size() > 1 ? args[1].utf8 : std::string();
        std::string text = helpText(topic, language);
        if (text.empty()) {
            io.err += "quorvel help: comando sconosciuto " + inQuotes(shownText(topic)) + "\n";
            return ExitUsage;
        }
        io.out += text;
        return ExitOk;
    }
    const Command* command = findCommand(word);
    if (!command) {
        io.err += "quorvel: comando sconosciuto " + inQuotes(shownText(word)) +
                  "\nComandi: tree, show, search, calc, check, export, history. Vedere: quorvel --help\n";
        return ExitUsage;
    }
    std::vector<CliArgument> rest(args.begin() + 1, args.end());
    CommandContext context{command->name, rest, io, language};
    return command->run(context);
}
