#include "web/http_request.h"

#include "text/text_ops.h"
#include "text/url_coding.h"
#include "web/address_parts.h"
#include "web/transport.h"

namespace velmo::web {

using text::Bytes;
using text::Text;

namespace {

constexpr const char* kUserAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; KORVO; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";

// Each line is added only when its name is not yet anywhere in the text built
// so far. The search covers the Referer line too, so an address that holds
// "Accept:" drops the Accept line; the search is case-sensitive, so "accept:"
// drops nothing.
Text HeaderTextOf(const Text& address) {
  Text headers = text::JoinText("Referer: ", address);
  if (text::FindText(headers, "Accept:") == -1)
    headers = text::JoinText(headers, "\r\nAccept: */*");
  if (text::FindText(headers, "Accept-Language:") == -1) {
    headers = text::JoinText(headers, "\r\nAccept-Language: zh-cn");
  }
  if (text::FindText(headers, "Content-Type:") == -1) {
    headers = text::JoinText(headers, "\r\nContent-Type: application/x-www-form-urlencoded");
  }
  return headers;
}

int MethodCodeOf(const Text& method) {
  return text::CompareText(method, "POST") == 0 ? kMethodPost : kMethodGet;
}

}  // namespace

void InitialiseWebAccess() {
  InitialiseTransport();
}

Bytes HttpRequest(const Text& address, int method_code, const Text& body) {
  const bool post = method_code == kMethodPost;
  const Text host = HostOf(address);
  const Text object_path = ObjectPathOf(address);
  const Text header_text = HeaderTextOf(address);
  const Bytes body_bytes = post ? text::TextToBytes(body) : Bytes();

  Exchange exchange;
  exchange.verb = post ? "POST" : "GET";
  exchange.secure = text::CompareText(text::ToLower(text::TextLeft(address, 5)), "https") == 0;
  exchange.host = host.view();
  exchange.port = PortOf(address);
  exchange.object_path = object_path.view();
  exchange.user_agent = kUserAgent;
  exchange.header_text = header_text.view();
  exchange.body = body_bytes.view();
  return PerformExchange(exchange, CurrentTransportSettings());
}

Text FetchDecodedText(const Text& address, const Text& method, const Text& body) {
  return text::UrlDecode(FetchRawText(address, method, body));
}

Text FetchRawText(const Text& address, const Text& method, const Text& body) {
  return text::BytesToText(HttpRequest(address, MethodCodeOf(method), body));
}

}  // namespace velmo::web
