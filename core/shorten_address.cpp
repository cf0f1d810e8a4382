#include "core/shorten_address.h"

#include "text/text_between.h"
#include "text/text_ops.h"
#include "text/url_coding.h"
#include "web/http_request.h"

namespace velmo::core {

using text::Text;

namespace {

// Only the first seven bytes are compared, byte for byte: "HTTP://",
// "https://" and " http://" all get the prefix, and so does the empty address.
Text WithScheme(const Text& address) {
  if (text::CompareText(text::TextLeft(address, 7), "http://") == 0) return address;
  return text::JoinText("http://", address);
}

// The body as it came, whatever the row's fetch mode: ExtractShortAddress
// does the decoding that FetchDecodedText would have done.
Text Request(const ServiceSlot& slot, const Text& encoded) {
  const Text request_text = text::JoinText(slot.request_head, encoded, slot.request_tail);
  if (slot.method == RequestMethod::kPost) {
    return web::FetchRawText(text::JoinText(slot.endpoint_base, slot.path), "POST", request_text);
  }
  return web::FetchRawText(text::JoinText(slot.endpoint_base, slot.path, request_text));
}

}  // namespace

Text ShortenAddress(const ServiceSlot& slot, const Text& address) {
  return ExtractShortAddress(slot, Request(slot, text::UrlEncode(WithScheme(address))));
}

Text ExtractShortAddress(const ServiceSlot& slot, const Text& body) {
  const Text response = slot.fetch == FetchMode::kDecoded ? text::UrlDecode(body) : body;
  Text result = slot.extraction == Extraction::kWholeBody
                    ? response
                    : text::TextBetween(response, slot.start_marker, slot.end_marker);
  if (slot.after_step == AfterStep::kUnescapeSlashes) {
    result = text::ReplaceText(result, "\\/", "/");
  }
  return result;
}

}  // namespace velmo::core
