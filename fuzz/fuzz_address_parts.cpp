// The parts of any address, as a request takes them apart: whatever the
// address, the host is a clean lower-case name without a slash, the port
// falls back on the scheme's own, and the object path is a piece of the
// address that begins with a slash.

#include <cstdlib>

#include "text/text_ops.h"
#include "web/address_parts.h"

namespace {

using velmo::text::Text;

void Check(bool holds) {
  if (!holds) std::abort();
}

bool HoldsZeroByte(const Text& text) {
  return text.view().find('\0') != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace t = velmo::text;
  namespace web = velmo::web;
  const Text address(std::string_view(reinterpret_cast<const char*>(data), size));

  const Text host = web::HostOf(address);
  const Text host_with_port = web::HostOf(address, true);
  const Text path = web::ObjectPathOf(address);
  const int port = web::PortOf(address);

  // Searched by characters, as the host was cut: a 0x2F byte that trails a
  // lead byte belongs to a two-byte character and is no slash.
  Check(t::FindText(host_with_port, "/") == -1);
  Check(t::ToLower(host_with_port) == host_with_port);
  Check(t::TextLeft(host_with_port, t::TextLength(host)) == host);
  Check(t::FindText(host, ":") == -1);

  const bool default_port = t::FindText(host_with_port, ":") == -1;
  if (default_port) {
    Check(host == host_with_port);
    const bool secure = t::CompareText(t::ToLower(t::TextLeft(address, 5)), "https") == 0;
    Check(port == (secure ? 443 : 80));
  }

  Check(t::TextLeft(path, 1) == "/");
  Check(path == "/" || t::TextRight(address, t::TextLength(path)) == path);

  Check(!HoldsZeroByte(host) && !HoldsZeroByte(host_with_port) && !HoldsZeroByte(path));
  return 0;
}
