// Fixed-decimal number texts and locale-free number reading. The decimal
// digits of a double are computed exactly with integer arithmetic, so the
// texts do not depend on the C runtime or on the floating-point unit.
#include "common/number_format.h"

#include "common/bounded_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int SignificantDigits = 17;
// Far beyond any format of the product; keeps a wild argument from asking
// for megabytes of zeros.
constexpr int MaxDecimals = 400;

// Unsigned integer in base 10^9, least significant limb first.
class BigDecimal {
public:
    explicit BigDecimal(uint64_t value)
    {
        do {
            limbs_.push_back(static_cast<uint32_t>(value % Base));
            value /= Base;
        } while (value != 0);
    }

    void multiply(uint32_t factor)  // factor < 2^32 / 4 keeps the carry in 64 bits
    {
        uint64_t carry = 0;
        for (uint32_t& limb : limbs_) {
            uint64_t product = static_cast<uint64_t>(limb) * factor + carry;
            limb = static_cast<uint32_t>(product % Base);
            carry = product / Base;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<uint32_t>(carry % Base));
            carry /= Base;
        }
    }

    std::string digits() const
    {
        std::string text = std::to_string(limbs_.back());
        for (size_t i = limbs_.size() - 1; i-- > 0;) {
            std::string limb = std::to_string(limbs_[i]);
            text.append(9 - limb.size(), '0');
            text += limb;
        }
        return text;
    }

private:
    static constexpr uint64_t Base = 1000000000;
    std::vector<uint32_t> limbs_;
};

// |value| = 0.d1d2d3... x 10^point, digits without leading zeros.
struct DecimalDigits {
    std::string digits;
    int point = 0;
};

// Exact decimal expansion of a finite, non-zero double.
DecimalDigits exactDigits(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    uint64_t mantissa = bits & ((uint64_t(1) << 52) - 1);
    int biased = static_cast<int>((bits >> 52) & 0x7ff);
    int exponent;
    if (biased == 0) {
        exponent = -1074;
    } else {
        mantissa |= uint64_t(1) << 52;
        exponent = biased - 1075;
    }
    while ((mantissa & 1) == 0) {  // shorter numbers, same value
        mantissa >>= 1;
        ++exponent;
    }

    BigDecimal number(mantissa);
    DecimalDigits result;
    if (exponent >= 0) {
        for (int left = exponent; left > 0; left -= 29)
            number.multiply(uint32_t(1) << (left < 29 ? left : 29));
        result.digits = number.digits();
        result.point = static_cast<int>(result.digits.size());
    } else {
        // m x 2^-k = m x 5^k / 10^k
        for (int left = -exponent; left > 0; left -= 13) {
            uint32_t power = 1;
            for (int i = 0; i < (left < 13 ? left : 13); ++i)
                power *= 5;
            number.multiply(power);
        }
        result.digits = number.digits();
        result.point = static_cast<int>(result.digits.size()) + exponent;
    }
    return result;
}

// Keeps the first `keep` digits, rounding half away from zero on the next one.
// keep may be 0 or negative (the value is then below the last place kept).
void roundDigits(DecimalDigits& number, int keep)
{
    if (keep >= static_cast<int>(number.digits.size()))
        return;
    if (keep < 0) {
        number.digits.clear();
        return;
    }
    bool up = number.digits[keep] >= '5';
    number.digits.resize(keep);
    if (!up)
        return;
    int i = keep - 1;
    while (i >= 0 && number.digits[i] == '9')
        number.digits[i--] = '0';
    if (i >= 0) {
        ++number.digits[i];
    } else {
        number.digits.insert(number.digits.begin(), '1');
        ++number.point;
    }
}

std::string fixedTextOf(double value, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > MaxDecimals)
        decimals = MaxDecimals;
    if (std::isnan(value))
        return "nan";

    std::string text = std::signbit(value) ? "-" : "";
    if (std::isinf(value))
        return text + "inf";

    DecimalDigits number;
    if (value != 0) {
        number = exactDigits(value);
        roundDigits(number, SignificantDigits);
        roundDigits(number, number.point + decimals);
    }

    // Digit at place 10^(point - 1 - i) is digits[i]; missing ones are zeros.
    auto digitAt = [&number](int i) {
        return i >= 0 && i < static_cast<int>(number.digits.size()) ? number.digits[i] : '0';
    };
    if (number.digits.empty() || number.point <= 0) {
        text += '0';
    } else {
        for (int i = 0; i < number.point; ++i)
            text += digitAt(i);
    }
    if (decimals > 0) {
        text += '.';
        for (int i = 0; i < decimals; ++i)
            text += number.digits.empty() ? '0' : digitAt(number.point + i);
    }
    return text;
}

int copyOut(const std::string& text, char* out, size_t size)
{
    if (out != nullptr)
        copyBounded(out, size, text.data(), text.size());
    return static_cast<int>(text.size());
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Scans the leading number of text[0, length); false when there is none.
bool scanNumber(const char* text, size_t length, double* value)
{
    size_t i = 0;
    while (i < length && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    std::string mantissa;
    size_t digitCount = 0;
    while (i < length && isDigit(text[i])) {
        mantissa += text[i++];
        ++digitCount;
    }
    if (i < length && text[i] == '.') {
        mantissa += '.';
        ++i;
        while (i < length && isDigit(text[i])) {
            mantissa += text[i++];
            ++digitCount;
        }
    }
    if (digitCount == 0) {
        *value = 0;
        return false;
    }

    // The exponent counts only with at least one digit ("2e" reads as 2).
    long exponent = 0;
    if (i < length && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < length && (text[j] == '+' || text[j] == '-'))
            negativeExponent = text[j++] == '-';
        if (j < length && isDigit(text[j])) {
            while (j < length && isDigit(text[j])) {
                if (exponent < 100000)  // saturates far outside the double range
                    exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            if (negativeExponent)
                exponent = -exponent;
        }
    }

    // Decimal exponent of the first significant digit, to tell an overflow
    // from an underflow when the conversion reports the range error.
    long magnitude = exponent;
    size_t firstSignificant = mantissa.find_first_not_of("0.");
    bool zero = firstSignificant == std::string::npos;
    if (!zero) {
        size_t pointAt = mantissa.find('.');
        if (pointAt == std::string::npos)
            pointAt = mantissa.size();
        magnitude += pointAt > firstSignificant ? static_cast<long>(pointAt - firstSignificant)
                                                : -static_cast<long>(firstSignificant - pointAt - 1);
    }

    std::string normal = (mantissa[0] == '.' ? "0" : "") + mantissa;
    if (normal.back() == '.')
        normal += '0';
    normal += 'e' + std::to_string(exponent);

    double result = 0;
    if (!zero) {
        auto converted = std::from_chars(normal.data(), normal.data() + normal.size(), result);
        if (converted.ec == std::errc::result_out_of_range)
            result = magnitude > 0 ? HUGE_VAL : 0.0;
        else if (converted.ec != std::errc())
            result = 0;
    }
    *value = negative ? -result : result;
    return true;
}

}  // namespace

int formatFixed(double value, int decimals, char* out, size_t size)
{
    return copyOut(fixedTextOf(value, decimals), out, size);
}

int formatFixedWidth(double value, int width, int decimals, char* out, size_t size)
{
    std::string text = fixedTextOf(value, decimals);
    if (width > 0 && text.size() < static_cast<size_t>(width))
        text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    return copyOut(text, out, size);
}

std::string fixedText(double value, int decimals)
{
    return fixedTextOf(value, decimals);
}

double readNumber(const char* text, size_t maxChars)
{
    double value = 0;
    if (text != nullptr) {
        size_t length = 0;
        while (length < maxChars && text[length] != '\0')
            ++length;
        scanNumber(text, length, &value);
    }
    return value;
}

bool parseNumber(const char* text, double* value)
{
    double read = 0;
    bool found = text != nullptr && scanNumber(text, std::strlen(text), &read);
    if (value != nullptr)
        *value = read;
    return found;
}
