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

int formatItemDisplayText(const NodeRecord& item, int displayUnit, char* out, size_t size)
{
    const bool perLitre = displayUnit == UnitPerLitre;
    char value[64];
    if (perLitre)
        formatFixedWidth(item.concentration * 1000.0, 8, 1, value, sizeof value);
    else
        formatFixedWidth(item.concentration, 8, 4, value, sizeof value);

    std::string text = "Concentrazione: ";
    text += value;
    text += perLitre ? " ff/l" : " ff/cc";
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
