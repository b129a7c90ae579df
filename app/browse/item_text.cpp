// Path, title and item texts of the description panel.
#include "app/browse/item_text.h"

#include <cstring>

#include "app/database/database.h"
#include "common/bounded_text.h"
#include "common/number_format.h"

bool appendUpwardLabel(char* path, size_t size, const char* label)
{
    if (size == 0)
        return false;
    // A path with no terminator inside its buffer is cut, never read past.
    if (boundedLength(path, size) > 0 && !appendBounded(path, size, "<-"))
        return false;
    return appendBounded(path, size, label);
}

void upwardPathToTitle(const char* upwardPath, char* title, size_t size)
{
    if (size == 0)
        return;
    title[0] = '\0';
    // Walk the labels from the end of the upward path (the root) back to the leaf.
    size_t end = std::strlen(upwardPath);
    for (;;) {
        size_t start = end;
        while (start >= 2 && !(upwardPath[start - 2] == '<' && upwardPath[start - 1] == '-'))
            --start;
        if (start < 2)
            start = 0;
        if (!appendBounded(title, size, upwardPath + start, end - start))
            return;
        if (start == 0)
            return;
        if (!appendBounded(title, size, "->"))
            return;
        end = start - 2;
    }
}

int formatItemDisplayText(const NodeRecord& item, DisplayUnit unit, char* out, size_t size)
{
    char value[64];
    formatFixedWidth(concentrationInUnit(item.concentration, unit), 8, unit == PerLitre ? 1 : 4,
                     value, sizeof value);

    std::string text = "Concentrazione: ";
    text += value;
    text += " ";
    text += unitLabel(unit);
    text += "\r\n\r\nFonte bibliografica: ";
    text += item.bibliography;

    copyBounded(out, size, text.data(), text.size());
    return static_cast<int>(text.size());
}

std::string itemCopyText(const char* title, const char* text)
{
    std::string copy = title;
    copy += "\r\n\r\n";
    copy += text;
    copy += "\r\n\r\n";
    return copy;
}
