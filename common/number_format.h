// Number texts of the product. Fixed-decimal formatting rounds from the
// value's 17 significant digits, half away from zero, identically in both
// builds (the C runtimes' printf differ and round 0.125 to "0.12"). Reading
// always uses "." whatever the regional settings.
#pragma once

#include <cstddef>
#include <string>

// "%-.Nf": writes the value with `decimals` decimals into out (NUL-terminated,
// cut to size - 1). Returns the full length of the text.
int formatFixed(double value, int decimals, char* out, size_t size);

// "%W.Nf": as formatFixed, right-aligned in a field of `width` characters.
int formatFixedWidth(double value, int width, int decimals, char* out, size_t size);

// The same text as formatFixed, for portable code that keeps std::string.
std::string fixedText(double value, int decimals);

// Reads the number at the start of text as the product reads every typed or
// stored number: leading white space, an optional sign, digits with an
// optional "." and fraction, an optional exponent, up to the first character
// that does not fit. Looks at no more than maxChars characters. A text with
// no leading number reads as 0.
constexpr size_t AllChars = static_cast<size_t>(-1);
double readNumber(const char* text, size_t maxChars = AllChars);

// As readNumber on the whole text; false (and 0) when the text does not
// start with a number.
bool parseNumber(const char* text, double* value);
