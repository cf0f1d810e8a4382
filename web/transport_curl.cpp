// The exchange on libcurl: one easy handle per request, created and destroyed
// here, so no connection, cookie, name or TLS session outlives the request.

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "web/transport.h"

namespace velmo::web {
namespace {

struct EasyCleanup {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListCleanup {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct UrlCleanup {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using HeaderList = std::unique_ptr<curl_slist, ListCleanup>;
using UrlHandle = std::unique_ptr<CURLU, UrlCleanup>;

struct Receiver {
  std::string body;
  std::size_t cap = 0;
  bool over_cap = false;
};

size_t ReceiveBody(char* data, size_t size, size_t count, void* user) {
  auto* receiver = static_cast<Receiver*>(user);
  const size_t length = size * count;
  if (length > receiver->cap - receiver->body.size()) {
    receiver->over_cap = true;
    return 0;  // anything but length makes curl give up on the transfer
  }
  receiver->body.append(data, length);
  return length;
}

// A control byte in a header line would split it and let the address write
// lines of its own, so such a request is not sent at all.
bool HasControlByte(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
}

// The object path goes out byte for byte or not at all. curl would rewrite a
// byte of 0x80 or above as a percent escape, and a space or control byte
// would break the request line; a request for a path other than the one asked
// for is no answer either, so such a request is not sent. The paths the
// program builds are printable ASCII: the user's address travels in them
// percent-encoded.
bool IsSendablePath(std::string_view path) {
  return !path.empty() && std::all_of(path.begin(), path.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7F;
  });
}

// The host goes to curl as the host and nothing else: a name of letters,
// digits, dots, hyphens and underscores (HostOf gives it in small letters).
// Anything else ("user@srv", "srv#x", "srv?x=1") would be read by curl as a
// user name, a fragment or a query around some other host, so such a request
// is not sent.
bool IsHostName(std::string_view host) {
  return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
  });
}

bool StartsWithName(std::string_view line, std::string_view name) {
  if (line.size() <= name.size() || line[name.size()] != ':') return false;
  return std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(a) == lower(b);
  });
}

// The header text goes out line by line. curl adds Accept, Content-Type (on
// POST) and Expect of its own unless the list names them; naming one with an
// empty value keeps it off the wire, so only Host and Content-Length remain
// curl's.
bool BuildHeaderList(std::string_view header_text, HeaderList& list) {
  std::vector<std::string> lines;
  for (std::size_t from = 0; from <= header_text.size();) {
    std::size_t end = header_text.find("\r\n", from);
    if (end == std::string_view::npos) end = header_text.size();
    const std::string_view line = header_text.substr(from, end - from);
    if (HasControlByte(line)) return false;
    if (!line.empty()) lines.emplace_back(line);
    from = end + 2;
  }
  for (const std::string_view own : {"Accept", "Content-Type", "Expect"}) {
    const bool named = std::any_of(lines.begin(), lines.end(), [own](const std::string& line) {
      return StartsWithName(line, own);
    });
    if (!named) lines.push_back(std::string(own) + ":");
  }
  for (const std::string& line : lines) {
    curl_slist* longer = curl_slist_append(list.get(), line.c_str());
    if (longer == nullptr) return false;
    if (!list) list.reset(longer);  // later appends keep the same head
  }
  return true;
}

// The address curl gets is rebuilt from the parts we took from it, so that the
// connection goes to exactly this host and port and the request line carries
// exactly this object path.
bool BuildUrl(const Exchange& exchange, UrlHandle& url) {
  int port = exchange.port;
  // A colon without digits ("srv:/x") gives port 0, which stands for no port
  // at all: the scheme's own port is used.
  if (port == 0) port = exchange.secure ? 443 : 80;
  if (port < 1 || port > 65535) return false;
  if (!IsHostName(exchange.host) || !IsSendablePath(exchange.object_path)) return false;

  // It goes to curl whole: given the path or the query as a part of their own,
  // curl rewrites the escapes in them in small letters, and the services must
  // see the escapes exactly as they were written. A fragment stays out of the
  // request line, as with every HTTP client.
  std::string address(exchange.secure ? "https://" : "http://");
  address.append(exchange.host).append(":").append(std::to_string(port));
  address.append(exchange.object_path);
  return curl_url_set(url.get(), CURLUPART_URL, address.c_str(), CURLU_PATH_AS_IS) == CURLUE_OK;
}

}  // namespace

void InitialiseTransport() {
  // Function-local statics start exactly once even when workers race to the
  // first request. curl_global_cleanup is never called: detached workers may
  // still be inside a request when the program ends.
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  static_cast<void>(initialised);
}

text::Bytes PerformExchange(const Exchange& exchange, const TransportSettings& settings) {
  InitialiseTransport();

  UrlHandle url(curl_url());
  HeaderList headers;
  if (!url || !BuildUrl(exchange, url) || !BuildHeaderList(exchange.header_text, headers)) {
    return {};
  }
  EasyHandle easy(curl_easy_init());
  if (!easy) return {};
  CURL* const handle = easy.get();

  Receiver receiver;
  receiver.cap = settings.max_body_bytes;
  const std::string user_agent(exchange.user_agent);

  curl_easy_setopt(handle, CURLOPT_CURLU, url.get());
  curl_easy_setopt(handle, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(handle, CURLOPT_USERAGENT, user_agent.c_str());
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, settings.max_redirects);
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  // Cookies a service sets on the way through its redirects come back to it
  // within this request, and die with the handle.
  curl_easy_setopt(handle, CURLOPT_COOKIEFILE, "");
  curl_easy_setopt(handle, CURLOPT_PROXY, "");
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(settings.connect_timeout.count()));
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(settings.total_timeout.count()));
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!settings.trusted_ca_file.empty()) {
    curl_easy_setopt(handle, CURLOPT_CAINFO, settings.trusted_ca_file.c_str());
  }
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, ReceiveBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &receiver);

  if (exchange.verb == "POST") {
    // A zero-length body still goes out as a POST with Content-Length 0; the
    // pointer must not be null, or curl would read the body from stdin.
    curl_easy_setopt(handle, CURLOPT_POST, 1L);
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE, static_cast<long>(exchange.body.size()));
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS, exchange.body.empty() ? "" : exchange.body.data());
  }

  // The outcome itself does not matter: whatever body arrived before a failure
  // is the answer, except a body cut off at the cap.
  static_cast<void>(curl_easy_perform(handle));
  if (receiver.over_cap) return {};
  return text::Bytes(std::move(receiver.body));
}

}  // namespace velmo::web
