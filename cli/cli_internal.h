// Shared pieces of the command files: option reading, messages, the walks
// over the database tree and the quoting of CSV and JSON.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/browse/tree_model.h"
#include "cli/cli.h"
#include "common/display_unit_rules.h"

struct NodeRecord;

// ---- options.cpp ----

struct OptionSpec {
    const char* name;   // "--depth", "-F"
    const char* alias;  // another spelling, or nullptr
    bool takesValue;
};

struct ParsedOptions {
    std::vector<std::pair<std::string, std::string>> values;  // by spec name
    std::vector<size_t> positionals;                          // indexes into the arguments
    bool help = false;

    bool has(const char* name) const;
    // The value of an option, or nullptr.
    const std::string* value(const char* name) const;
};

struct CommandContext {
    const char* command;
    const std::vector<CliArgument>& args;  // after the command word
    CliStreams& io;
    HelpLanguage language;
};

// Reads the options of a command. "--name=value" and "--name value" both
// work, "--" ends the options, "--help" and "-h" are always known. Writes the
// message and returns false on an unknown, repeated or incomplete option.
bool parseOptions(CommandContext& context, const std::vector<OptionSpec>& specs,
                  ParsedOptions* parsed);

// The message "quorvel <command>: <text>" on the error stream; the return
// is the exit code to hand back. A usage error also points at the help.
int usageError(CommandContext& context, const std::string& text);
int failure(CommandContext& context, const std::string& text);
void warning(CommandContext& context, const std::string& text);

// A text argument in Windows-1252, or false with the message written.
bool textArgument(CommandContext& context, const std::string& utf8, const char* what,
                  std::string* cp1252);

// The unit option ("cc" or "l", in either spelling "ff/cc" and "ff/l");
// false with the message written.
bool unitOption(CommandContext& context, const ParsedOptions& options, DisplayUnit* unit);

// Whole non-negative decimal number of at most 9 digits.
bool parseCount(const std::string& text, long* value);

// A UTF-8 argument for a message: Windows-1252, "?" for what it cannot hold.
std::string shownText(const std::string& utf8);

// "«text»" for messages.
std::string inQuotes(const std::string& text);

// The text without the blanks, tabs and carriage returns at either end.
std::string trimmed(const std::string& text);

// ---- database_walk.cpp ----

// The children a folder shows in the tree, in the tree's order: the
// insertion order of the expansion, sorted by label as the control keeps
// them (equal labels keep insertion order).
std::vector<TreeChild> sortedChildren(unsigned folderId);

// The panel title of every place where the node appears in the tree, the
// place of its first parent link first. A node that cannot be traced up to
// the root has none.
std::vector<std::string> panelTitlesOf(const NodeRecord& node);

// Folder labels from the root down to the node's parent in every place,
// joined by "->" (the title without the node's own label).
std::vector<std::string> folderPathsOf(const NodeRecord& node);

// ---- quoting.cpp ----

// A JSON string literal of Windows-1252 text (left as Windows-1252: the
// output conversion makes it UTF-8).
std::string jsonString(const std::string& text);

// A CSV field: quoted when it holds a comma, a quotation mark or a line end.
std::string csvField(const std::string& text);

// Shortest fixed-point text of a stored concentration that reads back as the
// same double; and the same value in ff/l, by moving the decimal point of
// that text (no binary multiplication to round).
std::string shortestDecimal(double value);
std::string timesThousandText(const std::string& decimal);

// Text with "\r\n" line ends turned into "\n".
std::string unixLines(const std::string& text);

// ---- commands ----
int treeCommand(CommandContext& context);
int showCommand(CommandContext& context);
int searchCommand(CommandContext& context);
int exportCommand(CommandContext& context);
int calcCommand(CommandContext& context);
int checkCommand(CommandContext& context);
int historyCommand(CommandContext& context);
