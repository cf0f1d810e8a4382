#pragma once
// An address split the way a request needs it: the host to connect to, its
// port, and the object path for the request line. None of these fails; an odd
// address gives odd parts, and the request made from them fails later.

#include "text/text.h"

namespace velmo::web {

// The host in small letters, cut from after "https://" or the first "http://"
// up to the next "/". Without keep_port the ":port" suffix is removed.
text::Text HostOf(const text::Text& address, bool keep_port = false);

// The number after the host's last ":", or 443/80 by the address's scheme
// when the host has no colon.
int PortOf(const text::Text& address);

// From the first "/" after the host to the end, query included, in the
// address's own letter case; "/" when there is none.
text::Text ObjectPathOf(const text::Text& address);

}  // namespace velmo::web
