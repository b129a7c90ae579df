// Number reading and the typed-character check on any text, and the fixed
// texts of what was read: cut into exact buffers, read back to the same text.
#include "common/number_format.h"

#include "app/calculator/calculator.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <cmath>
#include <cfloat>
#include <clocale>

namespace {

int significantDigits(const std::string& text) {
    size_t first = text.find_first_of("123456789");
    size_t last = text.find_last_of("123456789");
    if (first == std::string::npos) return 0;
    int count = 0;
    for (size_t i = first; i <= last; ++i) count += text[i] >= '0' && text[i] <= '9';
    return count;
}

// Texts our reader and strtod agree on: plain decimal numbers only (strtod
// also takes hexadecimal, "inf" and "nan").
bool plainDecimal(const std::string& text) {
    return text.find_first_not_of("0123456789.eE+- \t\n\v\f\r") == std::string::npos;
}

void checkFixed(double value, int decimals, size_t size) {
    std::string text = fixedText(value, decimals);
    ExactBuffer out(size);
    int length = formatFixed(value, decimals, out.data(), size);
    FUZZ_CHECK(length == static_cast<int>(text.size()));
    if (size > 0) {
        size_t kept = text.size() < size - 1 ? text.size() : size - 1;
        FUZZ_CHECK(std::memcmp(out.data(), text.data(), kept) == 0 && out.data()[kept] == '\0');
    }
    ExactBuffer wide(size);
    int width = static_cast<int>(size % 24);
    int wideLength = formatFixedWidth(value, width, decimals, wide.data(), size);
    FUZZ_CHECK(wideLength == std::max(width, length));

    // A text of at most 15 significant digits names one double, which
    // formats back to the same text.
    if (std::isfinite(value) && significantDigits(text) <= 15) {
        double again = 0;
        FUZZ_CHECK(parseNumber(text.c_str(), &again));
        FUZZ_CHECK(fixedText(again, decimals) == text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t choice = input.byte();
    const std::string line = input.line();
    ExactString text(line);
    const size_t limit = line.size();

    // Reading looks at no more than maxChars characters.
    const size_t maxChars = choice % 33;
    double value = readNumber(text.c_str(), maxChars);
    FUZZ_CHECK(value == readNumber(line.substr(0, maxChars).c_str()));
    double whole = 0;
    bool found = parseNumber(text.c_str(), &whole);
    FUZZ_CHECK(whole == readNumber(text.c_str()) || (std::isnan(whole) && std::isnan(readNumber(text.c_str()))));
    FUZZ_CHECK(!std::isnan(whole));
    if (!found) FUZZ_CHECK(whole == 0);

    if (plainDecimal(line) && limit < 400) {
        std::setlocale(LC_NUMERIC, "C");
        double reference = std::strtod(text.c_str(), nullptr);
        // Subnormal results read as 0, like every other underflow.
        bool subnormal = reference != 0 && std::fabs(reference) < DBL_MIN;
        if (!subnormal) FUZZ_CHECK(whole == reference);
    }

    // The check while F, t or g are typed.
    TypedNumberCheck check = checkTypedNumber(line);
    const size_t examined = std::min(line.size(), TypedNumberChars);
    if (check.accepted) {
        std::string head = line.substr(0, examined);
        FUZZ_CHECK(head.find_first_not_of("0123456789.") == std::string::npos);
        FUZZ_CHECK(std::count(head.begin(), head.end(), '.') <= 1);
    } else {
        FUZZ_CHECK(check.position < examined);
        FUZZ_CHECK(check.keptText == line.substr(0, check.position));
        FUZZ_CHECK(check.caption == line.substr(check.position, examined - check.position));
        FUZZ_CHECK(checkTypedNumber(check.keptText).accepted);
    }

    // Fixed texts of the value read and of the raw bytes as a double.
    const int decimals = static_cast<int>(input.byte() % 20);
    const size_t bufferSize = input.byte() % 40;
    checkFixed(whole, decimals, bufferSize);
    double raw = 0;
    std::string rest = input.rest();
    if (rest.size() >= sizeof raw) {
        std::memcpy(&raw, rest.data(), sizeof raw);
        checkFixed(raw, decimals, bufferSize);
        checkFixed(raw, 5, 16);
        fixedText(raw, 400 + decimals);  // beyond any format: bounded, no crash
    }
    return 0;
}
