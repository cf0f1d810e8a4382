#pragma once
// Percent coding as the services see it: an address goes out as the escapes of
// its UTF-8 bytes, and a whole answer page comes back through UrlDecode.

#include "text/text.h"

namespace velmo::text {

// Converts to UTF-8, then keeps A-Z, a-z, 0-9, '-' and '.' and writes every
// other byte as '%' and two upper-case hexadecimal digits. ASCII only.
Text UrlEncode(const Text& text);

// Every '%' starts an escape and always consumes the two bytes after it,
// whatever they are; '+' stays '+'. The decoded bytes are UTF-8 and come back
// converted to code page 936.
Text UrlDecode(const Text& text);

// The first stage of UrlDecode: the escapes replaced by their bytes, with no
// code page conversion.
Text PercentDecode(const Text& text);

}  // namespace velmo::text
