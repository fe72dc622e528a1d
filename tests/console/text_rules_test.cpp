#include <climits>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "veltaro/console/text_rules.h"

namespace veltaro::console {
namespace {

struct SubstringCase {
    TextPos start;
    TextPos count;
    const char* expected;
};

TEST(ClampedSubstring, AppliesTheFourClampsInOrder) {
    const std::string text = "abcdef";
    const SubstringCase cases[] = {
        {2, 3, "cde"},
        {-2, 3, "abc"},  // a negative start becomes 0 and the count is not reduced for it
        {-29, 31, "abcdef"},
        {2, -1, ""},
        {4, 10, "ef"},  // cut at the end
        {6, 1, ""},
        {7, 3, ""},  // start past the end
        {-5, -5, ""},
        {0, PTRDIFF_MAX, "abcdef"},
        {PTRDIFF_MAX, PTRDIFF_MAX, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClampedSubstring(text, c.start, c.count), c.expected)
            << "start " << c.start << " count " << c.count;
    }
}

TEST(IsSendableText, AcceptsPrintableAsciiOnly) {
    const struct {
        std::string text;
        bool sendable;
    } cases[] = {
        {"", true},
        {" 09AZaz~!", true},
        {"A1B2C", true},
        {"\x1b"
         "25",
         false},          // ESC would leave the prompt
        {"12\n", false},  // LF would end the value early
        {"3\t", false},
        {std::string("1\0"
                     "2",
                     3),
         false},
        {"\x7f", false},
        {"caf\xe9", false},       // Latin-1
        {"\xed\x95\x9c", false},  // a Hangul syllable in UTF-8
        {"\x80", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSendableText(c.text), c.sendable) << ::testing::PrintToString(c.text);
    }
    EXPECT_TRUE(IsSendableCharacter(U' '));
    EXPECT_TRUE(IsSendableCharacter(U'~'));
    EXPECT_FALSE(IsSendableCharacter(U'\x1f'));
    EXPECT_FALSE(IsSendableCharacter(U'\x7f'));
    EXPECT_FALSE(IsSendableCharacter(U'\u00e9'));
    EXPECT_FALSE(IsSendableCharacter(U'\ud55c'));  // Hangul, as one code point
}

TEST(Rest, TakesEverythingFromStart) {
    const std::string text = "abcdef";
    EXPECT_EQ(Rest(text, 2), "cdef");
    EXPECT_EQ(Rest(text, 0), "abcdef");
    EXPECT_EQ(Rest(text, -3), "abcdef");
    EXPECT_EQ(Rest(text, PTRDIFF_MIN), "abcdef");
    EXPECT_EQ(Rest(text, 6), "");
    EXPECT_EQ(Rest(text, 9), "");
}

TEST(FindFirst, SearchesBytesFromTheStart) {
    const std::string text = std::string("x\0OK\xE9OK", 7);
    EXPECT_EQ(FindFirst(text, "OK"), 2);  // the 0 byte does not end the text
    EXPECT_EQ(FindFirst(text, "\xE9O"), 4);
    EXPECT_EQ(FindFirst(text, "ok"), -1);  // case-sensitive
    EXPECT_EQ(FindFirst("", "OK"), -1);
}

TEST(HexDigitValue, GivesDigitsAndZeroForAnythingElse) {
    const struct {
        char c;
        int value;
    } cases[] = {
        {'0', 0}, {'9', 9},  {'A', 10},   {'F', 15},   {'a', 10},   {'f', 15},
        {'G', 0}, {'g', 0},  {'/', 0},    {':', 0},    {'@', 0},    {'`', 0},
        {' ', 0}, {'\0', 0}, {'\xB1', 0}, {'\xC1', 0}, {'\xE1', 0}, {'\xFF', 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HexDigitValue(c.c), c.value) << "code " << int(static_cast<unsigned char>(c.c));
    }
}

TEST(AtoiPrefix, ReadsTheLeadingNumberLikeAtoi) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"12", 12},
        {"  12x", 12},
        {"\t\n\v\f\r7", 7},
        {"+9", 9},
        {"-5", -5},
        {"007", 7},
        {"2A", 2},
        {"", 0},
        {"abc", 0},
        {"- 5", 0},
        {"+-5", 0},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"99999999999", INT32_MAX},  // saturates instead of wrapping
        {"-99999999999", INT32_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AtoiPrefix(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(FormatPortName, SwitchesToTheDeviceNamespaceFromFive) {
    const struct {
        int number;
        const char* name;
    } cases[] = {
        {1, "COM1"},        {4, "COM4"},          {5, "\\\\.\\COM5"},
        {9, "\\\\.\\COM9"}, {12, "\\\\.\\COM12"}, {255, "\\\\.\\COM255"},
        {0, "COM0"},        {-3, "COM-3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatPortName(c.number), c.name);
    }
}

}  // namespace
}  // namespace veltaro::console
