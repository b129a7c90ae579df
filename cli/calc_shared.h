// Helpers that the calc, check and history commands share.
#pragma once

#include <string>

#include "app/calculator/calculator.h"

#include "cli/cli_internal.h"

// The command's help text on the output stream; returns ExitOk.
int showHelp(CommandContext& context);

// A file name for messages: UTF-8 names (Linux) become Windows-1252, other
// names are taken as Windows-1252 already.
std::string shownPath(const std::string& path);

// A number as a file or a history line should hold it: optional sign,
// digits with an optional point and fraction, an optional exponent, and
// nothing else.
bool isPlainNumber(const std::string& text);

// "ore/giorno fuori dall'intervallo da 0 escluso a 24".
std::string outOfRange(const ValueRange& range);
