#include "tests/support/http_answers.h"

#include <cstdio>

namespace velmo::test {
namespace {

const char* ReasonOf(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 303:
      return "See Other";
    case 307:
      return "Temporary Redirect";
    case 308:
      return "Permanent Redirect";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

std::string HexOf(std::size_t value) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%zx", value);
  return digits;
}

}  // namespace

std::string AnswerHead(int status, long long content_length,
                       const std::vector<std::pair<std::string, std::string>>& headers) {
  std::string head = "HTTP/1.1 " + std::to_string(status) + " " + ReasonOf(status) + "\r\n";
  for (const auto& [name, value] : headers) head += name + ": " + value + "\r\n";
  if (content_length >= 0) head += "Content-Length: " + std::to_string(content_length) + "\r\n";
  return head + "\r\n";
}

std::string AnswerBytes(const Answer& answer) {
  if (answer.chunk_size == 0) {
    return AnswerHead(answer.status, static_cast<long long>(answer.body.size()), answer.headers) +
           answer.body;
  }
  auto headers = answer.headers;
  headers.emplace_back("Transfer-Encoding", "chunked");
  std::string bytes = AnswerHead(answer.status, -1, headers);
  for (std::size_t from = 0; from < answer.body.size(); from += answer.chunk_size) {
    const std::string chunk = answer.body.substr(from, answer.chunk_size);
    bytes += HexOf(chunk.size()) + "\r\n" + chunk + "\r\n";
  }
  return bytes + "0\r\n\r\n";
}

Handler Reply(Answer answer) {
  return [bytes = AnswerBytes(answer)](const RecordedRequest&, Connection& connection) {
    connection.Send(bytes);
  };
}

Handler ReplyBody(std::string body) {
  Answer answer;
  answer.body = std::move(body);
  return Reply(std::move(answer));
}

Handler RedirectTo(std::string location, int status) {
  Answer answer;
  answer.status = status;
  answer.headers.emplace_back("Location", std::move(location));
  answer.body = "moved";
  return Reply(std::move(answer));
}

Handler Route(std::vector<std::pair<std::string, Handler>> routes) {
  Answer missing;
  missing.status = 404;
  missing.body = "no such path";
  return [routes = std::move(routes), missing = Reply(std::move(missing))](
             const RecordedRequest& request, Connection& connection) {
    const std::string path = request.target.substr(0, request.target.find('?'));
    for (const auto& [route, handler] : routes) {
      if (route == path) return handler(request, connection);
    }
    missing(request, connection);
  };
}

}  // namespace velmo::test
