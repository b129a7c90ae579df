// Parsing of the default-printer line and the printer font height.
#include "app/ui/printer_profile.h"

#include <cstring>

#include "common/bounded_text.h"

namespace {

bool isDelimiter(char c)
{
    return c == ',' || c == ' ';
}

// The next token ended by a comma or a blank, after skipping those; false
// when there is none or it does not fit out.
bool nextToken(const char** at, char* out, size_t size)
{
    const char* p = *at;
    while (*p && isDelimiter(*p))
        ++p;
    const char* start = p;
    while (*p && !isDelimiter(*p))
        ++p;
    const size_t length = static_cast<size_t>(p - start);
    if (length == 0 || !copyBounded(out, size, start, length))
        return false;
    // The delimiter that ended the token is used up, as a tokenizer would.
    *at = *p ? p + 1 : p;
    return true;
}

}  // namespace

bool parsePrinterDevice(const char* line, PrinterDevice* device)
{
    std::memset(device, 0, sizeof *device);
    if (!line)
        return false;
    const char* comma = std::strchr(line, ',');
    if (!comma || comma == line)
        return false;
    const size_t nameLength = static_cast<size_t>(comma - line);
    if (nameLength >= sizeof device->name)
        return false;
    copyBounded(device->name, sizeof device->name, line, nameLength);

    const char* rest = comma + 1;
    if (!nextToken(&rest, device->driver, sizeof device->driver) ||
        !nextToken(&rest, device->port, sizeof device->port)) {
        std::memset(device, 0, sizeof *device);
        return false;
    }
    return true;
}

bool copyPrinterName(const char* name, char* out, size_t size)
{
    if (size == 0)
        return false;
    out[0] = '\0';
    if (!name)
        return false;
    if (copyBounded(out, size, name))
        return true;
    out[0] = '\0';
    return false;
}

int printerFontHeightFor(int pixelsPerInch, int characterHeight)
{
    if (pixelsPerInch <= 0)
        return -characterHeight;
    const long long r = pixelsPerInch;
    const long long points = static_cast<long long>(characterHeight) * 72 / r;
    return static_cast<int>(-(points * r / 72));
}
