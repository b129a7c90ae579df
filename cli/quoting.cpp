// Quoting for the machine-readable outputs, and exact decimal texts of the
// stored concentrations.
#include "cli/cli_internal.h"

#include <cstdio>

#include "common/number_format.h"

std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (b < 0x20 || b == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", b);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string shortestDecimal(double value)
{
    // The product's own fixed-point formatting, so both builds agree; the
    // data holds at most five decimals, a stray value keeps up to twelve.
    for (int decimals = 0; decimals <= 12; ++decimals) {
        std::string text = fixedText(value, decimals);
        if (readNumber(text.c_str()) == value)
            return text;
    }
    return fixedText(value, 12);
}

std::string timesThousandText(const std::string& decimal)
{
    std::string sign;
    std::string digits = decimal;
    if (!digits.empty() && digits[0] == '-') {
        sign = "-";
        digits.erase(0, 1);
    }
    size_t point = digits.find('.');
    std::string whole = point == std::string::npos ? digits : digits.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : digits.substr(point + 1);
    while (fraction.size() < 3)
        fraction += '0';
    whole += fraction.substr(0, 3);
    fraction.erase(0, 3);
    size_t lead = whole.find_first_not_of('0');
    whole = lead == std::string::npos ? "0" : whole.substr(lead);
    return sign + whole + (fraction.empty() ? "" : "." + fraction);
}

std::string unixLines(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}
