// The fast decimal texts of doubles against the standard library, which
// they must match byte for byte (the texts are what a load shows and what
// a save reads back).
#include "platform/DecimalText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

using namespace orvane;

namespace {

std::string Fixed4(double v) {
    char out[kFixed4Room];
    return std::string(out, WriteFixed4(out, v));
}

std::string LibraryFixed4(double v) {
    char out[kFixed4Room];
    return std::string(out,
                       std::to_chars(out, out + sizeof out, v, std::chars_format::fixed, 4).ptr);
}

// The bits of what the library reads, or nullopt-like false when it fails.
bool LibraryRead(const std::string& text, double& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

std::uint64_t Bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

} // namespace

TEST(DecimalText, Fixed4MatchesTheLibraryOnEdgesAndTies) {
    const double edges[] = {0.0,
                            -0.0,
                            1e-9,
                            -1e-9,
                            0.00005,  // just off a tie in binary
                            0.03125,  // 312.5 ten-thousandths: a true tie, to even
                            0.09375,  // 937.5: a tie that rounds up to even
                            -2.00005, // negative, near a tie
                            0.99995,
                            9999.99995,
                            std::numeric_limits<double>::denorm_min(),
                            -std::numeric_limits<double>::denorm_min(),
                            std::numeric_limits<double>::min(),
                            1e14,
                            std::nextafter(1e14, 0.0),
                            -std::nextafter(1e14, 0.0),
                            9007199254740993.0,
                            1e300,
                            -std::numeric_limits<double>::max(),
                            180.0 * 3600,
                            -77.0366,
                            48.9694};
    for (double v : edges)
        EXPECT_EQ(Fixed4(v), LibraryFixed4(v)) << std::hexfloat << v;
    // Every multiple of 2^-j near zero: all the exact ties of four decimals.
    for (int j = 1; j <= 20; ++j)
        for (int k = -3000; k <= 3000; ++k) {
            const double v = std::ldexp(static_cast<double>(k), -j);
            ASSERT_EQ(Fixed4(v), LibraryFixed4(v)) << std::hexfloat << v;
        }
}

TEST(DecimalText, Fixed4MatchesTheLibraryOnRandomDoubles) {
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 300000; ++i) {
        const std::uint64_t bits = random();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        if (std::isfinite(any)) {
            ASSERT_EQ(Fixed4(any), LibraryFixed4(any)) << std::hexfloat << any;
        }
        // Values of navigation data: a few decimals, and the doubles next to them.
        const double v =
            static_cast<double>(static_cast<std::int64_t>(random() % 4000000000) - 2000000000) /
            (random() % 2 ? 10000.0 : 3.0);
        for (double w : {v, std::nextafter(v, 1e300), std::nextafter(v, -1e300)})
            ASSERT_EQ(Fixed4(w), LibraryFixed4(w)) << std::hexfloat << w;
    }
}

TEST(DecimalText, PlainDecimalsReadAsTheLibraryReadsThem) {
    struct Case {
        const char* text;
        bool plain;
    };
    const Case cases[] = {
        {"0", true},
        {"-0", true},
        {"0.5", true},
        {"1.", true},
        {".5", true},
        {"-.5", true},
        {"-123.4567", true},
        {"0.1", true},
        {"123456789012345", true},
        {"0000000000000000000012.5", true},
        {"0.0000000000000000000001", true},
        {"1234567890123456", false}, // 16 digits: not always exact
        {"9007199254740993", false},
        {"0.00000000000000000000001", false},
        {".", false},
        {"-", false},
        {"", false},
        {"1.2.3", false},
        {"1e5", false},
        {"+1", false},
        {" 1", false},
        {"1,5", false},
        {"--1", false},
        {"inf", false},
        {"nan", false},
    };
    for (const Case& c : cases) {
        double value = 42;
        ASSERT_EQ(ParsePlainDecimal(c.text, '.', value), c.plain) << c.text;
        if (!c.plain) {
            EXPECT_EQ(value, 42) << c.text;
            continue;
        }
        double library = 0;
        ASSERT_TRUE(LibraryRead(c.text, library)) << c.text;
        EXPECT_EQ(Bits(value), Bits(library)) << c.text;
    }
    double value = 0;
    ASSERT_TRUE(ParsePlainDecimal("-2,25", ',', value));
    EXPECT_EQ(value, -2.25);
    EXPECT_FALSE(ParsePlainDecimal("2.25", ',', value));

    // Random texts of up to 15 digits with up to 22 decimals, and the texts
    // a load writes: every one reads to the library's very double.
    std::mt19937_64 random(7);
    for (int i = 0; i < 300000; ++i) {
        std::string text = std::to_string(random() % 1000000000000000u);
        const auto decimals = static_cast<std::size_t>(random() % 23);
        if (decimals) {
            if (text.size() <= decimals) text.insert(0, decimals + 1 - text.size(), '0');
            text.insert(text.size() - decimals, ".");
        }
        if (random() % 2) text.insert(0, "-");
        const std::uint64_t bits = random();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        for (const std::string& t :
             {text, std::isfinite(any) && std::fabs(any) < 1e11 ? Fixed4(any) : std::string("1")}) {
            double ours = 0, library = 0;
            ASSERT_TRUE(ParsePlainDecimal(t, '.', ours)) << t;
            ASSERT_TRUE(LibraryRead(t, library)) << t;
            ASSERT_EQ(Bits(ours), Bits(library)) << t;
        }
    }
}

TEST(DecimalText, DigitTextsReadAsTheLibraryReadsThem) {
    // The word-at-a-time reader takes exactly the texts of 1 to 16 digits;
    // a bad character anywhere, at the seams of its two words too, refuses.
    const char* refused[] = {"",
                             "+1",
                             "-1",
                             " 1",
                             "1 ",
                             "12345678x",
                             "x12345678",
                             "1234567/9",
                             "123456789:",
                             "1234.5678",
                             "12345678901234567"};
    for (const char* text : refused) {
        std::uint64_t value = 42;
        EXPECT_FALSE(ParseDigits(text, value)) << text;
        EXPECT_EQ(value, 42u) << text;
    }
    std::mt19937_64 random(11);
    for (int i = 0; i < 200000; ++i) {
        const std::size_t length = 1 + random() % 16;
        std::string text;
        for (std::size_t k = 0; k < length; ++k)
            text += static_cast<char>('0' + random() % 10);
        std::uint64_t ours = 0, library = 0;
        ASSERT_TRUE(ParseDigits(text, ours)) << text;
        std::from_chars(text.data(), text.data() + text.size(), library);
        ASSERT_EQ(ours, library) << text;
        // Any one character off the digits, at any place, refuses the text.
        text[random() % length] =
            static_cast<char>(random() % 2 ? '0' + 10 + random() % 6 : '0' - 1 - random() % 16);
        ASSERT_FALSE(ParseDigits(text, ours)) << text;
    }
}
