#pragma once
#include "core/service_catalogue.h"
#include "text/text.h"

namespace velmo::core {

// Asks one service to shorten the address: "http://" goes in front unless the
// address begins with exactly those seven bytes, the result is sent UTF-8 and
// percent-encoded as the row's recipe says, and the short address is cut out
// of the answer. Every failure gives the empty text. Safe to call from any
// number of threads at once; its one outside effect is the request.
text::Text ShortenAddress(const ServiceSlot& slot, const text::Text& address);

// The short address in an answer body as it came off the wire (up to its
// first zero byte): decoded when the row's fetch mode decodes, then cut out
// between the row's markers (or taken whole) and passed through the row's
// after-step. The empty text when the markers are not there. Pure, so any
// body can be tried on it without a server.
text::Text ExtractShortAddress(const ServiceSlot& slot, const text::Text& body);

}  // namespace velmo::core
