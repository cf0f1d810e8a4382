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

}  // namespace velmo::core
