#include "text/text_ops.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "tests/text/reference_scan.h"
#include "tests/text/text_printers.h"

namespace velmo::text {
namespace {

using namespace std::string_literals;

TEST(TextTest, NeverHoldsAZeroByte) {
  EXPECT_EQ(Text("ab\0cd"s).view(), "ab");
  EXPECT_EQ(Text(std::string_view("\0x", 2)).view(), "");
  EXPECT_EQ(BytesToText(Bytes("A\0B"s)).view(), "A");
  EXPECT_EQ(BytesToText(Bytes("\0B"s)), Text());
}

TEST(TextOpsTest, Slicing) {
  const Text t("abcdef");
  EXPECT_EQ(TextLeft(t, 0), Text());
  EXPECT_EQ(TextLeft(t, -5), Text());
  EXPECT_EQ(TextLeft(t, 2), Text("ab"));
  EXPECT_EQ(TextLeft(t, 99), t);
  EXPECT_EQ(TextRight(t, 0), Text());
  EXPECT_EQ(TextRight(t, -5), Text());
  EXPECT_EQ(TextRight(t, 2), Text("ef"));
  EXPECT_EQ(TextRight(t, 99), t);
  EXPECT_EQ(TextMid(t, 0, 3), Text());
  EXPECT_EQ(TextMid(t, 6, 1), Text("f"));
  EXPECT_EQ(TextMid(t, 7, 1), Text());
  EXPECT_EQ(TextMid(t, 2, 0), Text());
  EXPECT_EQ(TextMid(t, 2, 3), Text("bcd"));
  EXPECT_EQ(TextMid(t, 5, INT_MAX), Text("ef"));
  // Slices count bytes and may cut a two-byte character in half.
  EXPECT_EQ(TextLeft(Text("\xD6\xD0"), 1), Text("\xD6"));
  EXPECT_EQ(TextLength(Text("\xD6\xD0x")), 3);
}

struct FindCase {
  const char* name;
  const char* text;
  const char* sought;
  int start;
  bool fold;
  int expected;
};

void PrintTo(const FindCase& row, std::ostream* out) {
  *out << row.name;
}

class FindTextTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindTextTest, GivesPositionOrMinusOne) {
  const FindCase& c = GetParam();
  EXPECT_EQ(FindText(Text(c.text), Text(c.sought), c.start, c.fold), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindTextTest,
    testing::Values(FindCase{"Plain", "hello world", "o", 1, false, 5},
                    FindCase{"FromStart", "hello world", "o", 6, false, 8},
                    FindCase{"StartAtMatch", "hello world", "o", 5, false, 5},
                    FindCase{"StartZeroIsWhole", "abcabc", "a", 0, false, 1},
                    FindCase{"StartNegativeIsWhole", "abcabc", "a", -3, false, 1},
                    FindCase{"StartPastEnd", "abc", "c", 4, false, -1},
                    FindCase{"NotFound", "abc", "d", 1, false, -1},
                    FindCase{"LongerThanText", "ab", "abc", 1, false, -1},
                    FindCase{"EmptySoughtGivesOne", "abcdefghij", "", 5, false, 1},
                    FindCase{"EmptySoughtInEmpty", "", "", 1, false, -1},
                    FindCase{"EmptySoughtPastEnd", "abc", "", 4, false, -1},
                    // 0xC4 0x41 is one character: its trail byte is no letter A.
                    FindCase{"NoMatchInsideCharacter",
                             "\xC4"
                             "AA",
                             "A", 1, false, 3},
                    FindCase{"MatchesWholeCharacter", "x\xC4\x41", "\xC4\x41", 1, false, 2},
                    FindCase{"StartOnTrailByteCountsAsStart", "\xC4\x41\x41", "A", 2, false, 2},
                    FindCase{"HighRunParity",
                             "\x81\x81\x81\x81"
                             "A",
                             "\x81\x81", 1, false, 1},
                    FindCase{"HighRunOddOffset", "a\x81\x82\x83\x81\x82", "\x81\x82", 1, false, 2},
                    FindCase{"HighRunSkipsMisaligned",
                             "\x83\x81\x82\x83"
                             "A\x81\x82",
                             "\x81\x82", 1, false, 6},
                    FindCase{"LoneLeadCanMatch", "ab\xD6", "\xD6", 1, false, 3},
                    FindCase{"FoldFinds", "xABCx", "abc", 1, true, 2},
                    FindCase{"NoFoldMisses", "xABCx", "abc", 1, false, -1},
                    FindCase{"FoldOnlyLetters", "[\\]", "{|}", 1, true, -1},
                    // Folding reaches trail bytes: 0xC4 'A' matches 0xC4 'a'.
                    FindCase{"FoldTrailBytes", "\xC4\x41", "\xC4\x61", 1, true, 1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(TextOpsTest, FindTextReverse) {
  EXPECT_EQ(FindTextReverse(Text("a.b.c"), Text(".")), 4);
  EXPECT_EQ(FindTextReverse(Text("srv"), Text(":")), -1);
  EXPECT_EQ(FindTextReverse(Text("aaaa"), Text("aa")), 3);  // overlapping matches count
  EXPECT_EQ(FindTextReverse(Text("A\xC4\x41"), Text("A")), 1);
  EXPECT_EQ(FindTextReverse(Text("abc"), Text("")), 1);
  EXPECT_EQ(FindTextReverse(Text(""), Text("")), -1);
}

TEST(TextOpsTest, ReplaceText) {
  EXPECT_EQ(ReplaceText(Text("aaa"), Text("aa"), Text("b")), Text("ba"));
  EXPECT_EQ(ReplaceText(Text("abc"), Text(""), Text("x")), Text("abc"));
  EXPECT_EQ(ReplaceText(Text(""), Text("a"), Text("x")), Text(""));
  EXPECT_EQ(ReplaceText(Text("a\\/b\\/"), Text("\\/"), Text("/")), Text("a/b/"));
  EXPECT_EQ(ReplaceText(Text("xax"), Text("x"), Text("")), Text("a"));
  // The replacement is never searched again.
  EXPECT_EQ(ReplaceText(Text("ab"), Text("a"), Text("aa")), Text("aab"));
  // A trail byte is never the start of a match.
  EXPECT_EQ(ReplaceText(Text("\xC4\x41\x41"), Text("A"), Text("-")), Text("\xC4\x41-"));
  // A lone lead byte survives a longer sought text but is dropped when the
  // stepping reaches it as a character of its own.
  EXPECT_EQ(ReplaceText(Text("ab\xD6"), Text("ab"), Text("x")), Text("x\xD6"));
  EXPECT_EQ(ReplaceText(Text("ab\xD6"), Text("a"), Text("x")), Text("xb"));
  EXPECT_EQ(ReplaceText(Text("ab\xD6"), Text("\xD6"), Text("x")), Text("abx"));
}

TEST(TextOpsTest, CaseMappingStepsByCharacters) {
  EXPECT_EQ(ToUpper(Text("abc-XYZ")), Text("ABC-XYZ"));
  EXPECT_EQ(ToLower(Text("abc-XYZ")), Text("abc-xyz"));
  EXPECT_EQ(ToUpper(Text("\x81\x61z")), Text("\x81\x61Z"));
  EXPECT_EQ(ToLower(Text("\xC4\x41Q")), Text("\xC4\x41q"));
  EXPECT_EQ(ToLower(Text("A\xC4")), Text("a\xC4"));
}

TEST(TextOpsTest, ToInteger) {
  EXPECT_EQ(ToInteger(Text("\xA3\xB8\xA3\xB0")), 80);
  EXPECT_EQ(ToInteger(Text(" 12ab")), 12);
  EXPECT_EQ(ToInteger(Text("")), 0);
  EXPECT_EQ(ToInteger(Text("-7")), -7);
  EXPECT_EQ(ToInteger(Text("+7")), 7);
  EXPECT_EQ(ToInteger(Text("\t\r\n 9")), 9);
  EXPECT_EQ(ToInteger(Text("x9")), 0);
  EXPECT_EQ(ToInteger(Text("\xA1\xA1\xA3\xAD\xA3\xB3")), -3);  // full-width space, minus, 3
  EXPECT_EQ(ToInteger(Text("\x81\x31")), 0);                   // a trail byte is no digit
  EXPECT_EQ(ToInteger(Text("99999999999")), INT_MAX);
  EXPECT_EQ(ToInteger(Text("-2147483648")), INT_MIN);
}

TEST(TextOpsTest, HexTextAndCharFromCode) {
  EXPECT_EQ(HexText(10), Text("A"));
  EXPECT_EQ(HexText(255), Text("FF"));
  EXPECT_EQ(HexText(0), Text("0"));
  EXPECT_EQ(HexText(0x1F), Text("1F"));
  EXPECT_EQ(CharFromCode(0), Text());
  EXPECT_EQ(CharFromCode(256), Text());
  EXPECT_EQ(CharFromCode(0x25), Text("%"));
  EXPECT_EQ(CharFromCode(-34), Text("\xDE"));
}

TEST(TextOpsTest, CompareText) {
  EXPECT_EQ(CompareText(Text(), Text()), 0);
  EXPECT_EQ(CompareText(Text("abc"), Text("abc")), 0);
  EXPECT_EQ(CompareText(Text("ab"), Text("abc")), -1);
  EXPECT_EQ(CompareText(Text("abc"), Text("ab")), 1);
  EXPECT_EQ(CompareText(Text("\x80"), Text("a")), 1);  // unsigned bytes
  EXPECT_EQ(CompareText(Text("HTTP://"), Text("http://")), -1);
}

TEST(TextOpsTest, JoiningAndBytes) {
  EXPECT_EQ(JoinText(Text("http://"), Text("srv"), "/x"), Text("http://srv/x"));
  EXPECT_EQ(JoinText(Text(), Text()), Text());
  EXPECT_EQ(JoinBytes(Bytes("a\0"s), Bytes(), Bytes("b"s)), Bytes("a\0b"s));
  EXPECT_EQ(BytesLength(JoinBytes(Bytes(), Bytes())), 0);
  EXPECT_EQ(TextToBytes(Text("ab")), Bytes("ab"s));
  EXPECT_EQ(BytesLeft(Bytes("a\0b"s), 2), Bytes("a\0"s));
  EXPECT_EQ(BytesLeft(Bytes("ab"s), -1), Bytes());
  EXPECT_EQ(BlankBytes(3), Bytes("\0\0\0"s));
  EXPECT_EQ(BlankBytes(-1), Bytes());
  EXPECT_EQ(BlankText(2), Text("  "));
  EXPECT_EQ(BlankText(0), Text());
}

// The fast searches judge character starts without walking the text; over
// many short texts of lead bytes, ASCII trail bytes and letters they must give
// exactly what stepping character by character gives.
TEST(TextOpsTest, SearchesAgreeWithCharacterStepping) {
  const std::string alphabet = "aAb\\/\x81\xC4\xD6\xFF";
  std::mt19937 random(20261211);
  const auto make = [&](std::size_t max_length) {
    std::string s(random() % (max_length + 1), ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string s = make(12);
    const std::string m = make(3);
    const std::string r = make(2);
    const int start = static_cast<int>(random() % 16) - 2;
    const bool fold = random() % 2 == 0;
    ASSERT_EQ(FindText(Text(s), Text(m), start, fold), reference::FindText(s, m, start, fold))
        << testing::PrintToString(s) << " " << testing::PrintToString(m) << " from " << start;
    ASSERT_EQ(FindTextReverse(Text(s), Text(m)), reference::FindTextReverse(s, m))
        << testing::PrintToString(s) << " " << testing::PrintToString(m);
    ASSERT_EQ(ReplaceText(Text(s), Text(m), Text(r)).str(), reference::ReplaceText(s, m, r))
        << testing::PrintToString(s) << " " << testing::PrintToString(m);
  }
}

}  // namespace
}  // namespace velmo::text
