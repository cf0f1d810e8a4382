#include "web/address_parts.h"

#include "text/text_between.h"
#include "text/text_ops.h"

namespace velmo::web {

using text::Text;

Text HostOf(const Text& address, bool keep_port) {
  Text copy = text::ToLower(address);
  if (text::CompareText(text::TextRight(copy, 1), "/") != 0) copy = text::JoinText(copy, "/");

  // "http://" is looked for in the whole copy, query included, so an address
  // without a scheme that carries an address in its query takes that one's host.
  Text marker;
  if (text::CompareText(text::TextLeft(copy, 8), "https://") == 0) {
    marker = "https://";
  } else {
    if (text::FindText(copy, "http://") == -1) copy = text::JoinText("http://", copy);
    marker = "http://";
  }

  const Text host = text::TextBetween(copy, marker, "/");
  const int colon = text::FindText(host, ":");
  if (keep_port || colon == -1) return host;
  return text::TextLeft(host, colon - 1);
}

int PortOf(const Text& address) {
  const Text host = HostOf(address, true);
  const int colon = text::FindTextReverse(host, ":");
  if (colon == -1) {
    const Text scheme = text::TextLeft(text::ToLower(address), 5);
    return text::CompareText(scheme, "https") == 0 ? 443 : 80;
  }
  return text::ToInteger(text::TextRight(host, text::TextLength(host) - colon));
}

Text ObjectPathOf(const Text& address) {
  const Text host = HostOf(address);
  // The host is looked for from the first byte, scheme included; a start of
  // -1 (host not found) makes the slash search begin at the first byte too.
  const int start = text::FindText(address, host, 1, true);
  const int slash = text::FindText(address, "/", start, true);
  if (slash <= 0) return "/";
  return text::TextRight(address, text::TextLength(address) - slash + 1);
}

}  // namespace velmo::web
