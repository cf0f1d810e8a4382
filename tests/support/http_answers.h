#pragma once
// Ready-made answers for the loopback server: a status, headers and body bytes
// turned into the exact bytes a server sends, and handlers that play them.

#include <chrono>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/loopback_server.h"

namespace velmo::test {

struct Answer {
  int status = 200;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;  // any bytes, zero bytes included
  // Sends the body in chunks of this many bytes with Transfer-Encoding:
  // chunked instead of Content-Length; 0 means not chunked.
  std::size_t chunk_size = 0;
};

// Status line, the answer's headers, then Content-Length (or
// Transfer-Encoding: chunked), a blank line and the body.
std::string AnswerBytes(const Answer& answer);

// Just the head: status line, headers and the blank line, with the given
// Content-Length unless it is negative.
std::string AnswerHead(int status, long long content_length,
                       const std::vector<std::pair<std::string, std::string>>& headers = {});

// Answers every request with the same answer.
Handler Reply(Answer answer);
// Answers with status 200 and this body.
Handler ReplyBody(std::string body);
// Answers with a redirect to the location (absolute or relative).
Handler RedirectTo(std::string location, int status = 302);

// Hands each request to the handler for its path (the target up to any "?");
// a path with no handler gets a 404 answer.
Handler Route(std::vector<std::pair<std::string, Handler>> routes);

}  // namespace velmo::test
