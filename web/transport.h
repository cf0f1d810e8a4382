#pragma once
// One HTTP/1.1 exchange: the part of a request that each platform does its own
// way. Every backend lives in its own transport_*.cpp and CMake builds exactly
// one of them; the request routine above it is the same everywhere.

#include <string_view>

#include "text/text.h"
#include "web/transport_settings.h"

namespace velmo::web {

struct Exchange {
  std::string_view verb;         // "GET" or "POST"
  bool secure = false;           // TLS with the server's certificate verified
  std::string_view host;         // as HostOf gives it
  int port = 0;                  // as PortOf gives it
  std::string_view object_path;  // the request line's target, as it stands
  std::string_view user_agent;
  std::string_view header_text;  // lines joined by CR LF, none after the last
  std::string_view body;         // sent on POST only; may be empty
};

// Readies the platform's HTTP stack. Any thread may call it any number of
// times; only the first call does the work.
void InitialiseTransport();

// The body of the final answer, redirects followed, whatever its status. When
// the exchange breaks off, the body bytes that arrived before it did; when
// nothing arrived, the body outgrew the cap or the request could not be
// made, the empty Bytes.
text::Bytes PerformExchange(const Exchange& exchange, const TransportSettings& settings);

}  // namespace velmo::web
