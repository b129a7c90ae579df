// Path, title and item texts of the description panel.
#include "app/browse/item_text.h"

#include <cstring>

#include "app/database/database.h"
#include "common/number_format.h"

namespace {

// Appends src to dst (holding len characters) without passing size - 1.
// False when src was cut.
bool appendBounded(char* dst, size_t size, size_t* len, const char* src, size_t srcLen)
{
    size_t room = size - 1 - *len;
    size_t n = srcLen < room ? srcLen : room;
    std::memcpy(dst + *len, src, n);
    *len += n;
    dst[*len] = '\0';
    return n == srcLen;
}

}  // namespace

bool appendUpwardLabel(char* path, size_t size, const char* label)
{
    if (size == 0)
        return false;
    size_t len = std::strlen(path);
    if (len >= size) {  // never trust a path longer than its buffer
        path[size - 1] = '\0';
        len = size - 1;
    }
    if (len > 0 && !appendBounded(path, size, &len, "<-", 2))
        return false;
    return appendBounded(path, size, &len, label, std::strlen(label));
}

void upwardPathToTitle(const char* upwardPath, char* title, size_t size)
{
    if (size == 0)
        return;
    title[0] = '\0';
    size_t len = 0;
    // Walk the labels from the end of the upward path (the root) back to the leaf.
    size_t end = std::strlen(upwardPath);
    for (;;) {
        size_t start = end;
        while (start >= 2 && !(upwardPath[start - 2] == '<' && upwardPath[start - 1] == '-'))
            --start;
        if (start < 2)
            start = 0;
        if (!appendBounded(title, size, &len, upwardPath + start, end - start))
            return;
        if (start == 0)
            return;
        if (!appendBounded(title, size, &len, "->", 2))
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

    if (size > 0) {
        size_t n = text.size() < size - 1 ? text.size() : size - 1;
        std::memcpy(out, text.data(), n);
        out[n] = '\0';
    }
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
