#pragma once
// The request routine every service goes through: one blocking HTTP/1.1
// exchange with a fixed user agent and fixed header lines, answering with the
// whole body. Every failure is an empty (or, after a break, shortened) result.

#include "text/text.h"

namespace velmo::web {

// Method codes of HttpRequest.
inline constexpr int kMethodGet = 0;
inline constexpr int kMethodPost = 1;

// Readies the HTTP stack before any worker starts. A request made without it
// readies the stack itself, so forgetting it costs nothing but the first
// request's time; calling it again does nothing.
void InitialiseWebAccess();

// POST with the body's bytes when method_code is 1, GET (body ignored)
// otherwise. Host, port and object path come from the address; the address
// itself goes out as the Referer.
text::Bytes HttpRequest(const text::Text& address, int method_code, const text::Text& body);

// The body up to its first zero byte, percent-decoded and converted from UTF-8.
// The method is POST only when it is exactly "POST".
text::Text FetchDecodedText(const text::Text& address, const text::Text& method = text::Text(),
                            const text::Text& body = text::Text());

// The same without the decoding: the body up to its first zero byte.
text::Text FetchRawText(const text::Text& address, const text::Text& method = text::Text(),
                        const text::Text& body = text::Text());

}  // namespace velmo::web
