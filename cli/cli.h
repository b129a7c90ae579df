// The `quorvel` command line on the portable core: tree, show, search, calc,
// check, export and history. The commands read their arguments and write
// their texts into memory, so the program's main and the tests drive them
// the same way; only main touches the console.
#pragma once

#include <string>
#include <vector>

// One command-line argument: as UTF-8 (texts, options, numbers), and in the
// form the system's file functions take (file names).
struct CliArgument {
    std::string utf8;
    std::string path;
};

// Arguments given as UTF-8 that are also file names as they are (the native
// build, the tests).
std::vector<CliArgument> utf8Arguments(const std::vector<std::string>& args);

enum class OutputEncoding { Utf8, Cp1252 };

// What a command wrote: Windows-1252 text with "\n" line ends. main converts
// it on output.
struct CliStreams {
    std::string out;
    std::string err;
    OutputEncoding encoding = OutputEncoding::Utf8;
};

// Exit codes.
constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;  // nothing found, a file with problems, unreadable input
constexpr int ExitUsage = 2;

// Runs one command line (without the program name).
int runCli(const std::vector<CliArgument>& args, CliStreams& io);

// ---- help_text.cpp ----

enum class HelpLanguage { Italian, English };

// Help of the whole program (command empty) or of one command; empty when
// there is no such command.
std::string helpText(const std::string& command, HelpLanguage language);
extern const char* const CliVersion;
