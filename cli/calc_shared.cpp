// Helpers that the calc, check and history commands share.
#include "cli/calc_shared.h"

#include "cli/text_encoding.h"

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

std::string outOfRange(const ValueRange& range)
{
    return std::string(range.name) + " fuori dall'intervallo " + range.limits;
}
