#include "common/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

struct FixedCase {
    double value;
    int decimals;
    const char* expected;
};

TEST(NumberFormat, RoundsFromSeventeenDigitsHalfAwayFromZero)
{
    const FixedCase cases[] = {
        // The nearest double of 0.038875 lies below it; its 17 digits do not.
        {38.875 / 1000, 5, "0.03888"},
        {1.375, 2, "1.38"},
        {0.125, 2, "0.13"},
        {-0.125, 2, "-0.13"},
        {2.5, 0, "3"},
        {-2.5, 0, "-3"},
        {0.5, 0, "1"},
        {0.0375, 5, "0.03750"},
        {37.5, 2, "37.50"},
        {1806.25, 2, "1806.25"},
        {1.1 + 0.59375 + 0.1125, 5, "1.80625"},
        // 1.00499999999999989... has 17 digits 1.0049999999999999.
        {1.005, 2, "1.00"},
        // 0.00500000000000000010... rounds up.
        {0.005, 2, "0.01"},
        {0.006, 2, "0.01"},
        {0.004, 2, "0.00"},
        {0.0004, 2, "0.00"},
        {9.995, 2, "9.99"},  // 9.9949999999999992 at 17 digits
        {99.995, 2, "100.00"},  // 99.995000000000005
        {0.999999, 5, "1.00000"},
        {0, 5, "0.00000"},
        {0, 0, "0"},
        {-0.0, 2, "-0.00"},
        {-0.001, 2, "-0.00"},
        {123.456, 0, "123"},
        {1e20, 2, "100000000000000000000.00"},
        // 2^70 = 1180591620717411303424: beyond 17 digits come zeros.
        {std::ldexp(1.0, 70), 0, "1180591620717411300000"},
        {4.9406564584124654e-324, 5, "0.00000"},
        {0.1, 20, "0.10000000000000001000"},
        {1.0 / 3, 18, "0.333333333333333310"},
        {HUGE_VAL, 2, "inf"},
        {-HUGE_VAL, 2, "-inf"},
        {std::nan(""), 2, "nan"},
        {1.5, -3, "2"},
    };
    for (const FixedCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " with " << c.decimals << " decimals");
        char out[64];
        EXPECT_EQ(static_cast<int>(std::strlen(c.expected)), formatFixed(c.value, c.decimals, out, sizeof out));
        EXPECT_STREQ(c.expected, out);
        EXPECT_EQ(c.expected, fixedText(c.value, c.decimals));
    }
}

TEST(NumberFormat, LargestDoubleHasAllItsIntegerDigits)
{
    std::string text = fixedText(1.7976931348623157e308, 1);
    ASSERT_EQ(311u, text.size());
    EXPECT_EQ("17976931348623157", text.substr(0, 17));
    EXPECT_EQ(std::string(292, '0') + ".0", text.substr(17));
}

TEST(NumberFormat, CutsAtBufferSizeAndReportsFullLength)
{
    struct {
        size_t size;
        const char* expected;
    } cases[] = {{1, ""}, {2, "1"}, {5, "1806"}, {8, "1806.25"}, {12, "1806.25"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        char out[16];
        std::memset(out, 0xcc, sizeof out);
        EXPECT_EQ(7, formatFixed(1806.25, 2, out, c.size));
        EXPECT_STREQ(c.expected, out);
        size_t used = std::strlen(c.expected) + 1;
        for (size_t i = used; i < sizeof out; ++i)
            EXPECT_EQ(static_cast<char>(0xcc), out[i]) << "byte " << i;
    }

    char untouched = 'x';
    EXPECT_EQ(4, formatFixed(1.25, 2, &untouched, 0));
    EXPECT_EQ('x', untouched);
    EXPECT_EQ(4, formatFixed(1.25, 2, nullptr, 0));
}

TEST(NumberFormat, WidthAlignsRight)
{
    const struct {
        double value;
        int width;
        int decimals;
        const char* expected;
    } cases[] = {
        {0.1234, 8, 4, "  0.1234"},
        {-0.12345, 8, 4, " -0.1235"},
        {1234.5, 4, 2, "1234.50"},  // a narrow field never cuts
        {2.0, 0, 1, "2.0"},
        {2.0, -5, 1, "2.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        char out[32];
        EXPECT_EQ(static_cast<int>(std::strlen(c.expected)),
                  formatFixedWidth(c.value, c.width, c.decimals, out, sizeof out));
        EXPECT_STREQ(c.expected, out);
    }
}

// Where the 17-digit string is not a tie at the place shown, the result is
// the correctly rounded exact value, which glibc's printf gives.
TEST(NumberFormat, AgreesWithExactRoundingAwayFromTies)
{
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 15);
    int compared = 0;
    for (int i = 0; i < 20000; ++i) {
        double value = mantissa(random) * std::pow(10.0, exponent(random));
        if (i % 2)
            value = -value;
        char seventeen[40];
        std::snprintf(seventeen, sizeof seventeen, "%.16e", std::fabs(value));
        int decimalExponent = std::atoi(std::strchr(seventeen, 'e') + 1);
        std::string digits = std::string(1, seventeen[0]) + std::string(seventeen + 2, 16);
        int decimals = static_cast<int>(random() % 9);
        int kept = decimalExponent + 1 + decimals;  // digits before the rounding place
        if (kept < 1 || kept >= 17)
            continue;
        std::string tail = digits.substr(kept);
        if (tail[0] == '5' && tail.find_first_not_of('0', 1) == std::string::npos)
            continue;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
        ASSERT_EQ(expected, fixedText(value, decimals)) << seventeen;
        ++compared;
    }
    EXPECT_GT(compared, 10000);
}

TEST(NumberReading, TakesTheLeadingNumber)
{
    const struct {
        const char* text;
        double expected;
        bool isNumber;
    } cases[] = {
        {"12.5", 12.5, true},
        {"  \t12.5abc", 12.5, true},
        {"-3", -3, true},
        {"+4.5", 4.5, true},
        {".5", 0.5, true},
        {"5.", 5, true},
        {".", 0, false},
        {"", 0, false},
        {"abc", 0, false},
        {"-", 0, false},
        {"- 3", 0, false},
        {"0,3", 0, true},
        {"1.2.3", 1.2, true},
        {"1e3", 1000, true},
        {"1.5E-2", 0.015, true},
        {"2e", 2, true},
        {"2e+", 2, true},
        {"2ex", 2, true},
        {"e5", 0, false},
        {"0.1", 0.1, true},
        {"0.038875", 0.038875, true},
        {"1e400", HUGE_VAL, true},
        {"-1e400", -HUGE_VAL, true},
        {"1e-400", 0, true},
        {"0.0000e999999999999", 0, true},
        {"1e99999999999999999999", HUGE_VAL, true},
        {"123456789012345678901234567890", 1.2345678901234568e29, true},
        {"0x10", 0, true},
        {"inf", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected, readNumber(c.text));
        double value = -1;
        EXPECT_EQ(c.isNumber, parseNumber(c.text, &value));
        EXPECT_EQ(c.expected, value);
    }
    EXPECT_EQ(0, readNumber(nullptr));
}

TEST(NumberReading, LooksAtMostAtTheGivenCount)
{
    const struct {
        const char* text;
        size_t maxChars;
        double expected;
    } cases[] = {
        {"12345678901234567890", 15, 123456789012345.0},
        {"12.5", 3, 12},
        {"1e5", 2, 1},
        {"1e5", 3, 1e5},
        {"   7", 3, 0},
        {"7", 0, 0},
        {"0.123456", 15, 0.123456},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " / " << c.maxChars);
        EXPECT_EQ(c.expected, readNumber(c.text, c.maxChars));
    }
}

// Every decimal text converts to the nearest double, as strtod does in the
// "C" locale that the test runs under.
TEST(NumberReading, RoundsCorrectlyLikeStrtod)
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 5000; ++i) {
        std::string text = std::to_string(random() % 1000000);
        text += '.';
        int fraction = static_cast<int>(random() % 40);
        for (int d = 0; d < fraction; ++d)
            text += static_cast<char>('0' + random() % 10);
        if (i % 3 == 0)
            text += "e" + std::to_string(static_cast<int>(random() % 600) - 300);
        SCOPED_TRACE(text);
        ASSERT_EQ(std::strtod(text.c_str(), nullptr), readNumber(text.c_str()));
    }
}

}  // namespace
