#include "text/text_between.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/text/text_printers.h"

namespace velmo::text {
namespace {

struct Case {
  const char* name;
  const char* text;
  const char* start;
  const char* end;
  const char* expected;
};

void PrintTo(const Case& row, std::ostream* out) {
  *out << row.name;
}

class TextBetweenTest : public testing::TestWithParam<Case> {};

TEST_P(TextBetweenTest, CutsOut) {
  const Case& c = GetParam();
  EXPECT_EQ(TextBetween(Text(c.text), Text(c.start), Text(c.end)), Text(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenTest,
    testing::Values(Case{"Plain", "<a href=\"x\">", "href=\"", "\"", "x"},
                    Case{"EndOnlyBeforeStart", "\"value=abc", "value=", "\"", ""},
                    Case{"EndRightAfterStart", "value=\"\"", "value=\"", "\"", ""},
                    Case{"StartAtVeryEnd", "abc value=", "value=", "\"", ""},
                    Case{"FirstStartCounts", "v=1 v=2;", "v=", ";", "1 v=2"},
                    Case{"StartMissing", "abc", "x", "c", ""},
                    Case{"EndMissing", "v=abc", "v=", ";", ""},
                    // "#引号" stands for a double quote in both markers.
                    Case{"QuoteStandIn", "id=\"s\" value=\"http://t/1\"", "value=#\xD2\xFD\xBA\xC5",
                         "#\xD2\xFD\xBA\xC5", "http://t/1"},
                    Case{"EmptyStartIsPositionOne", "abc/def", "", "/", "abc"},
                    Case{"EmptyEnd", "abc", "a", "", ""}, Case{"EmptyText", "", "", "", ""},
                    // Searches step by characters: the "A" inside 0xC4 0x41 is no marker.
                    Case{"MarkerNotInsideCharacter",
                         "\xC4"
                         "A=1;A=2;",
                         "A=", ";", "2"},
                    Case{"ChineseMarker", "<p>\xCB\xF5\xB6\xCC: <a href=\"u\">",
                         "\xCB\xF5\xB6\xCC: <a href=\"", "\"", "u"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velmo::text
