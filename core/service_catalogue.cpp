#include "core/service_catalogue.h"

#include <string>
#include <utility>

#include "text/text_ops.h"

namespace velmo::core {

using text::Text;

namespace {

// The neutral label, in code page 936.
constexpr const char* kNeutralLabel = "\xB7\xFE\xCE\xF1";                            // 服务

Text Numbered(const char* name, int number) {
  return text::JoinText(Text(name), Text(std::to_string(number)));
}

// No public service is known to answer these recipes any more. Their hosts lie
// under the reserved ".invalid" domain, which never resolves, so a user's
// address is never handed to whoever holds a lapsed name; they simply give the
// empty result.
Text UnknownHost(int number) {
  return text::JoinText("http://service", Text(std::to_string(number)), ".invalid");
}

ServiceSlot Row(int number, RequestMethod method, Text path, Text head, Text tail, FetchMode fetch,
                Text start_marker, Text end_marker, AfterStep after_step = AfterStep::kNone) {
  ServiceSlot slot;
  slot.number = number;
  slot.label = Numbered(kNeutralLabel, number);
  slot.method = method;
  slot.endpoint_base = UnknownHost(number);
  slot.path = std::move(path);
  slot.request_head = std::move(head);
  slot.request_tail = std::move(tail);
  slot.fetch = fetch;
  slot.start_marker = std::move(start_marker);
  slot.end_marker = std::move(end_marker);
  slot.after_step = after_step;
  return slot;
}

}  // namespace

Catalogue DefaultCatalogue() {
  constexpr auto kGet = RequestMethod::kGet;
  constexpr auto kPost = RequestMethod::kPost;
  constexpr auto kDecoded = FetchMode::kDecoded;
  constexpr auto kRaw = FetchMode::kRaw;
  constexpr auto kUnescape = AfterStep::kUnescapeSlashes;

  Catalogue catalogue = {
      Row(1, kPost, "/", "url=", "", kDecoded, "onClick=\"oCopy(this)\" value=\"", "\""),
      Row(2, kPost, "/create.php", "url=", "&alias=&access_type=web", kRaw, "tinyurl\":\"", "\"",
          kUnescape),
      Row(3, kPost, "/index.php/url/shorten", "url=", "", kDecoded,
          "readonly=\"readonly\" value=\"", "\""),
      Row(4, kGet, "/", "?url=", "", kDecoded, "name=js_1 rows=2 wrap=virtual type=hidden>", "<"),
      // "<p>缩短后: <strong><a href=\"" in code page 936: decoded pages arrive
      // converted from UTF-8, so the marker is compared in the program's own
      // code page.
      Row(5, kGet, "/index.php", "?url=", "&alias=", kDecoded,
          "<p>\xCB\xF5\xB6\xCC\xBA\xF3: <strong><a href=\"", "\""),
      Row(6, kPost, "/create.php", "url=", "&shorturl=&opt=0", kDecoded,
          "id=\"short_url\" value=\"", "\""),
      Row(7, kGet, "/v1/data/link_conv/rd_dispatcher.php", "?orig_link=", "", kDecoded, "", ""),
      Row(8, kPost, "/create.php", "url=", "&keyword=", kRaw, "shorturl\":\"", "\"", kUnescape),
      Row(9, kPost, "/", "url=", "&keyword=&add-button=Shorten+Url", kDecoded,
          "<a id=\"statlink\" href=\"", "\""),
  };
  catalogue[6].extraction = Extraction::kWholeBody;

  // is.gd still answers this form. It serves https only, and a POST sent over
  // http and redirected to https arrives without its body, so it is asked over
  // https directly.
  catalogue[5].endpoint_base = "https://is.gd";
  catalogue[5].label = "is.gd";
  return catalogue;
}

}  // namespace velmo::core
