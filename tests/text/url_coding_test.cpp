#include "text/url_coding.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/text/text_printers.h"

namespace velmo::text {
namespace {

struct Case {
  const char* name;
  const char* input;
  const char* expected;
};

void PrintTo(const Case& row, std::ostream* out) {
  *out << row.name;
}

std::string Name(const testing::TestParamInfo<Case>& info) {
  return info.param.name;
}

class UrlEncodeTest : public testing::TestWithParam<Case> {};

TEST_P(UrlEncodeTest, Encodes) {
  EXPECT_EQ(UrlEncode(Text(GetParam().input)), Text(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, UrlEncodeTest,
                         testing::Values(Case{"Empty", "", ""}, Case{"Space", "a b", "a%20b"},
                                         Case{"SafeBytes", "A-z.9", "A-z.9"},
                                         Case{"UnderscoreTilde", "x_y~", "x%5Fy%7E"},
                                         Case{"SlashColon", "/:", "%2F%3A"},
                                         Case{"Plus", "+", "%2B"}, Case{"LeadingZero", "\n", "%0A"},
                                         Case{"Chinese", "\xD6\xD0", "%E4%B8%AD"},
                                         Case{"Scheme", "http://", "http%3A%2F%2F"},
                                         Case{"LoneLead", "a\xD6", "a%3F"}),
                         Name);

class UrlDecodeTest : public testing::TestWithParam<Case> {};

TEST_P(UrlDecodeTest, Decodes) {
  EXPECT_EQ(UrlDecode(Text(GetParam().input)), Text(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlDecodeTest,
    testing::Values(Case{"Empty", "", ""}, Case{"Space", "a%20b", "a b"},
                    Case{"UpperUtf8", "%E4%B8%AD", "\xD6\xD0"},
                    Case{"LowerUtf8", "%e4%b8%ad", "\xD6\xD0"}, Case{"PlusStays", "a+b", "a+b"},
                    Case{"Letters", "%41%42", "AB"},
                    // A zero byte adds nothing.
                    Case{"Zero", "%00x", "x"},
                    // Both missing digits count 0: a zero byte, so nothing.
                    Case{"LonePercent", "ab%", "ab"},
                    // The missing second digit counts 0.
                    Case{"CutShort", "%4", "@"},
                    // The byte of a broken escape takes part in the UTF-8 decoding: 0xE1 (from %G1)
                    // and the next two form one character (U+1E3F), which code page 936 lacks.
                    Case{"BrokenEscapeThenUtf8", "%G1%B8%BF", "?"}, Case{"NotUtf8", "5%xy", "5?"},
                    Case{"ConsumesTwoBytesWhatever", "%\xD6\xD0z", "?z"},
                    Case{"RawChinese", "\xE4\xB8\xAD=%E4%B8%AD", "\xD6\xD0=\xD6\xD0"}),
    Name);

class PercentDecodeTest : public testing::TestWithParam<Case> {};

TEST_P(PercentDecodeTest, DecodesEscapesOnly) {
  EXPECT_EQ(PercentDecode(Text(GetParam().input)), Text(GetParam().expected));
}

// Every '%' consumes the two bytes after it; a byte that is no hex digit counts
// -2 and a missing one 0, and only the low eight bits of 16 * first + second count.
INSTANTIATE_TEST_SUITE_P(Cases, PercentDecodeTest,
                         testing::Values(Case{"NotDigits", "5%xy", "5\xDE"},
                                         Case{"G1", "%G1", "\xE1"}, Case{"CutShort", "%4", "\x40"},
                                         Case{"LonePercent", "a%", "a"}, Case{"Zero", "%00x", "x"},
                                         Case{"Mixed", "%7e%7E%2", "~~\x20"},
                                         Case{"TrailOfChinese", "%\xD6\xD0!", "\xDE!"},
                                         Case{"NoUtf8Conversion", "%E4%B8%AD", "\xE4\xB8\xAD"}),
                         Name);

}  // namespace
}  // namespace velmo::text
