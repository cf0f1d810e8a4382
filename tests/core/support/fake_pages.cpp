#include "tests/core/support/fake_pages.h"

#include <string_view>

namespace velmo::test {
namespace {

// What each page says around the short address S. The text before the address
// ends in the service's start marker (its UTF-8 form, as the service sends
// it); the text after it starts with the end marker. Decoys that resemble the
// marker come before it, so a loose search would pick them up first.
struct PageShape {
  std::string_view before;  // up to and including the start marker
  std::string_view after;   // from the end marker on
};

constexpr std::string_view kHtmlHead =
    "<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-8\"><title>短网址生成</title>"
    "<script>var q = \"a=1&b=%7Bx%7D\";</script></head><body>\r\n";

// The raw services answer JSON with escaped slashes. Their noise carries a
// percent-escaped echo of the marker: read raw, as these services are, it is
// no marker at all; percent-decoded it would turn into one and come first.
PageShape ShapeOf(int service) {
  switch (service) {
    case 1:
      return {
          "<form action=\"/\" method=\"post\"><input name=\"url\" value=\"\" "
          "onClick=\"oCopy(document)\" value=\"wrong\"></form>\r\n<p>复制下面的短网址:</p>\r\n"
          "<input type=\"text\" size=\"40\" onClick=\"oCopy(this)\" value=\"",
          "\" id=\"short\"><p>已节省 40% 的长度</p></body></html>"};
    case 2:
      return {
          "{\"error\":0,\"echo\":\"tinyurl%22%3A%22http:\\/\\/decoy.example\\/\",\"longurl\":"
          "\"http:\\/\\/long.example\\/a\",\"tinyurl\":\"",
          "\",\"alias\":\"\",\"msg\":\"\\u6210\\u529f\"}"};
    case 3:
      return {
          "<div class=\"box\"><input readonly value=\"http://nope.example/\">"
          "<label>短网址</label><input type=\"text\" readonly=\"readonly\" value=\"",
          "\" class=\"result\" /></div></body></html>"};
    case 4:
      return {
          "<p>短网址:</p><textarea name=js_0 rows=2>x</textarea>"
          "<textarea name=js_1 rows=2 wrap=virtual type=hidden>",
          "</textarea><p>&copy; 2011</p></body></html>"};
    case 5:
      return {
          "<p>原网址: <a href=\"http://long.example/\">http://long.example/</a></p>\r\n"
          "<p>缩短后: <strong><a href=\"",
          "\" target=\"_blank\">点击访问</a></strong></p></body></html>"};
    case 6:
      return {
          "<form method=\"post\" action=\"create.php\"><input type=\"text\" id=\"url\" "
          "value=\"\"></form><div id=\"main\"><p>Your shortened URL is:</p>\r\n"
          "<input type=\"text\" class=\"tb\" id=\"short_url\" value=\"",
          "\" onselect=\"return false\" readonly></div></body></html>"};
    case 8:
      return {
          "{\"url\":{\"keyword\":\"r\",\"url\":\"http:\\/\\/long.example\\/a\",\"title\":"
          "\"\\u77ed\",\"echo\":\"shorturl%22%3A%22http:\\/\\/decoy.example\\/\"},"
          "\"status\":\"success\",\"shorturl\":\"",
          "\",\"statusCode\":200}"};
    case 9:
      return {
          "<div id=\"stats\"><a href=\"http://other.example/\">统计</a>\r\n"
          "<a id=\"statlink\" href=\"",
          "\">Statistics</a></div><p>100% free</p></body></html>"};
    default:  // 7: the body is the short address itself
      return {"", ""};
  }
}

bool IsJson(int service) {
  return service == 2 || service == 8;
}

// JSON writes every "/" as "\/".
std::string AsWritten(int service, std::string_view address) {
  std::string written;
  for (const char c : address) {
    if (c == '/' && IsJson(service)) written += '\\';
    written += c;
  }
  return written;
}

std::string PercentEscaped(std::string_view bytes) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    escaped += '%';
    escaped += kHex[b >> 4];
    escaped += kHex[b & 0xF];
  }
  return escaped;
}

std::string Framed(int service, std::string_view middle) {
  const PageShape shape = ShapeOf(service);
  const std::string_view head = IsJson(service) ? std::string_view() : kHtmlHead;
  return std::string(head) + std::string(shape.before) + std::string(middle) +
         std::string(shape.after);
}

}  // namespace

const char* NameOf(FakeAnswer answer) {
  switch (answer) {
    case FakeAnswer::kShortAddress:
      return "Fine";
    case FakeAnswer::kPercentEscapedPage:
      return "Escaped";
    case FakeAnswer::kNoMarker:
      return "NoMarker";
    case FakeAnswer::kMarkerTwice:
      return "MarkerTwice";
    case FakeAnswer::kStartWithoutEnd:
      return "StartWithoutEnd";
    case FakeAnswer::kErrorWithMarkers:
      return "ErrorWithMarkers";
    case FakeAnswer::kErrorWithoutMarkers:
      return "ErrorPage";
    case FakeAnswer::kTrailingLineBreak:
      return "LineBreak";
  }
  return "?";
}

FakePage MakeFakePage(int service, FakeAnswer answer, const std::string& short_address) {
  const std::string address = AsWritten(service, short_address);
  if (service == 7) {
    switch (answer) {
      case FakeAnswer::kPercentEscapedPage:
        return {200, PercentEscaped(short_address)};
      case FakeAnswer::kTrailingLineBreak:
        return {200, short_address + "\r\n"};
      case FakeAnswer::kErrorWithoutMarkers:
        return {503, kPlainErrorPage};
      default:
        return {200, short_address};
    }
  }

  const PageShape shape = ShapeOf(service);
  switch (answer) {
    case FakeAnswer::kShortAddress:
    case FakeAnswer::kTrailingLineBreak:
      return {200, Framed(service, address)};
    case FakeAnswer::kPercentEscapedPage:
      return {200, PercentEscaped(Framed(service, address))};
    case FakeAnswer::kNoMarker:
      return {200, std::string(IsJson(service) ? "{\"error\":1,\"msg\":\"busy\"}"
                                               : "<html><body><p>服务繁忙</p></body></html>")};
    case FakeAnswer::kMarkerTwice:
      return {200, Framed(service, address) + std::string(shape.before) +
                       AsWritten(service, kDecoyAddress) + std::string(shape.after)};
    case FakeAnswer::kStartWithoutEnd: {
      const std::string head = IsJson(service) ? std::string() : std::string(kHtmlHead);
      return {200, head + std::string(shape.before) + address};
    }
    case FakeAnswer::kErrorWithMarkers:
      return {500, Framed(service, address)};
    case FakeAnswer::kErrorWithoutMarkers:
      return {503, kPlainErrorPage};
  }
  return {};
}

}  // namespace velmo::test
