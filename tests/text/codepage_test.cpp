#include "text/codepage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/text/text_printers.h"

namespace velmo::text {
namespace {

using namespace std::string_literals;

// One row of the reference tables: what the Windows conversion functions give.
struct Row {
  std::string input;
  std::string output;
};

std::string HexBytes(std::istringstream& in) {
  std::string bytes;
  std::string word;
  while (in >> word && word != "DEF")
    bytes.push_back(static_cast<char>(std::stoi(word, nullptr, 16)));
  return bytes;
}

std::u16string Units(std::istringstream& in) {
  std::u16string units;
  std::string word;
  while (in >> word) units.push_back(static_cast<char16_t>(std::stoi(word.substr(2), nullptr, 16)));
  return units;
}

std::vector<std::string> ReferenceLines(const std::string& file) {
  std::ifstream in(std::string(VELMO_CODEPAGE_DATA) + "/" + file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

std::u16string UnitsOf(const Bytes& wide) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(wide.view()[i]) |
                                            static_cast<unsigned char>(wide.view()[i + 1]) << 8);
    if (unit == 0) break;
    units.push_back(unit);
  }
  return units;
}

Bytes WideOf(std::u16string_view units) {
  std::string bytes;
  for (const char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  bytes.append(2, '\0');
  return Bytes(std::move(bytes));
}

std::string Hex(std::u16string_view units) {
  std::ostringstream out;
  for (const char16_t u : units) out << std::hex << std::uppercase << "U+" << int{u} << ' ';
  return out.str();
}

// Every byte, every lead/trail pair and the malformed pairs decode as Windows
// decodes them. A Text stops at a zero byte, so the reference is compared up
// to its first zero unit.
TEST(CodePageTest, DecodesWholeReferenceTable) {
  const auto lines = ReferenceLines("cp936-to-utf16.tsv");
  ASSERT_GT(lines.size(), 25000u);
  int mismatches = 0;
  for (const auto& line : lines) {
    std::istringstream in(line);
    std::string input_hex;
    std::getline(in, input_hex, '\t');
    std::istringstream hex_words(input_hex.size() == 2 ? input_hex
                                 : input_hex.size() == 4
                                     ? input_hex.substr(0, 2) + " " + input_hex.substr(2)
                                     : input_hex.substr(0, 2) + " " + input_hex.substr(2, 2) + " " +
                                           input_hex.substr(4));
    const Text input(HexBytes(hex_words));
    std::u16string expected = Units(in);
    expected = expected.substr(0, expected.find(u'\0'));
    const std::u16string got = UnitsOf(TextToWide(input, kCodePage936));
    if (got != expected && ++mismatches <= 20) {
      ADD_FAILURE() << input_hex << ": got " << Hex(got) << " want " << Hex(expected);
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// Every UTF-16 unit encodes as Windows encodes it: best fits, and '?' for the
// rest (surrogates and default-ignorable characters included).
TEST(CodePageTest, EncodesWholeReferenceTable) {
  const auto lines = ReferenceLines("utf16-to-cp936.tsv");
  ASSERT_EQ(lines.size(), 65536u);
  int mismatches = 0;
  for (const auto& line : lines) {
    std::istringstream in(line);
    std::string unit_text;
    std::getline(in, unit_text, '\t');
    const auto unit = static_cast<char16_t>(std::stoi(unit_text.substr(2), nullptr, 16));
    const std::string expected = HexBytes(in);
    const Text got = WideToText(WideOf(std::u16string(1, unit)), kCodePage936);
    if (got.str() != expected.substr(0, expected.find('\0')) && ++mismatches <= 20) {
      ADD_FAILURE() << unit_text << ": got " << testing::PrintToString(got.str()) << " want "
                    << testing::PrintToString(expected);
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(CodePageTest, ChainsBetweenCodePage936AndUtf8) {
  EXPECT_EQ(AnsiToUtf8(Text("\xD6\xD0")), Text("\xE4\xB8\xAD"));
  EXPECT_EQ(Utf8ToAnsi(Text("\xE4\xB8\xAD")), Text("\xD6\xD0"));
  EXPECT_EQ(AnsiToUtf8(Text("plain ascii")), Text("plain ascii"));
  EXPECT_EQ(Utf8ToAnsi(Text("plain ascii")), Text("plain ascii"));
  EXPECT_EQ(AnsiToUtf8(Text()), Text());
  EXPECT_EQ(Utf8ToAnsi(Text()), Text());
  EXPECT_EQ(AnsiToUtf8(Text("\x80\xFF")), Text("\xE2\x82\xAC\xEF\xA3\xB5"));  // U+20AC, U+F8F5
  EXPECT_EQ(AnsiToUtf8(Text("a\xD6")), Text("a?"));                           // lone lead byte
  // A character outside the code page, an emoji (two units) and ill-formed UTF-8.
  EXPECT_EQ(Utf8ToAnsi(Text("\xE2\x98\x83")), Text("?"));
  EXPECT_EQ(Utf8ToAnsi(Text("\xF0\x9F\x98\x80")), Text("??"));
  EXPECT_EQ(Utf8ToAnsi(Text("a\xC3"
                            "b\xFF")),
            Text("a?b?"));
}

TEST(CodePageTest, WideLayout) {
  EXPECT_EQ(TextToWide(Text("abc"), kCodePage936), Bytes("a\0b\0c\0\0\0"s));
  EXPECT_EQ(TextToWide(Text("\xE4\xB8\xAD")), Bytes("\x2D\x4E\0\0"s));  // UTF-8 by default
  EXPECT_EQ(TextToWide(Text()), Bytes());
  EXPECT_EQ(WideToText(Bytes()), Text());
  EXPECT_EQ(WideToText(Bytes("\x2D\x4E\0\0x\0"s)), Text("\xD6\xD0"));  // stops at the zero unit
  EXPECT_EQ(WideToText(Bytes("\x2D\x4E"s), kCodePageUtf8), Text("\xE4\xB8\xAD"));
  EXPECT_EQ(TextToWide(Text("abc"), 1252), Bytes());
  // A surrogate pair is one UTF-8 character; a lone surrogate becomes U+FFFD.
  EXPECT_EQ(WideToText(Bytes("\x3D\xD8\x00\xDE\0\0"s), kCodePageUtf8), Text("\xF0\x9F\x98\x80"));
  EXPECT_EQ(WideToText(Bytes("\x3D\xD8"
                             "a\0\0\0"s),
                       kCodePageUtf8),
            Text("\xEF\xBF\xBD"
                 "a"));
}

// Where a short text needs many more units or bytes than its length suggests,
// the result is still whole.
TEST(CodePageTest, NeverCutsLongResultsShort) {
  const std::string bad_utf8(5000, '\xFF');
  EXPECT_EQ(Utf8ToAnsi(Text(bad_utf8)), Text(std::string(5000, '?')));
  std::string chinese;
  for (int i = 0; i < 3000; ++i) chinese += "\xD6\xD0";
  const Text utf8 = AnsiToUtf8(Text(chinese));
  EXPECT_EQ(utf8.size(), 9000u);
  EXPECT_EQ(Utf8ToAnsi(utf8), Text(chinese));
}

}  // namespace
}  // namespace velmo::text
