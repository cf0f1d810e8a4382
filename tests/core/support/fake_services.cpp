#include "tests/core/support/fake_services.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "tests/support/http_answers.h"

namespace velmo::test {
namespace {

// Each service's request as the service expects it, written down here on its
// own rather than taken from the program's catalogue, so a wrong row there
// shows up as a fault. The address goes between head and tail: in the request
// target for a GET, in the form body for a POST.
struct Recipe {
  std::string_view method;
  std::string_view target_head;
  std::string_view target_tail;
  std::string_view body_head;
  std::string_view body_tail;
};

constexpr Recipe kRecipes[core::kServiceCount] = {
    {"POST", "/", "", "url=", ""},
    {"POST", "/create.php", "", "url=", "&alias=&access_type=web"},
    {"POST", "/index.php/url/shorten", "", "url=", ""},
    {"GET", "/?url=", "", "", ""},
    {"GET", "/index.php?url=", "&alias=", "", ""},
    {"POST", "/create.php", "", "url=", "&shorturl=&opt=0"},
    {"GET", "/v1/data/link_conv/rd_dispatcher.php?orig_link=", "", "", ""},
    {"POST", "/create.php", "", "url=", "&keyword="},
    {"POST", "/", "", "url=", "&keyword=&add-button=Shorten+Url"},
};

constexpr std::string_view kUserAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; KORVO; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}
bool IsKept(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.';
}

// The address must be written the one way the program writes it: letters,
// digits, '-' and '.' as they are, every other byte as '%' and two upper-case
// hexadecimal digits. Gives the decoded bytes, or false.
bool DecodeStrict(std::string_view encoded, std::string& decoded) {
  decoded.clear();
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (IsKept(encoded[i])) {
      decoded += encoded[i];
      continue;
    }
    if (encoded[i] != '%' || i + 2 >= encoded.size() || !IsHexDigit(encoded[i + 1]) ||
        !IsHexDigit(encoded[i + 2])) {
      return false;
    }
    const auto value = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    decoded += static_cast<char>(value(encoded[i + 1]) * 16 + value(encoded[i + 2]));
    i += 2;
  }
  return true;
}

// The middle of text between head and tail, or false when it is not framed so.
bool Between(std::string_view text, std::string_view head, std::string_view tail,
             std::string_view& middle) {
  if (text.size() < head.size() + tail.size() || !text.starts_with(head) || !text.ends_with(tail)) {
    return false;
  }
  middle = text.substr(head.size(), text.size() - head.size() - tail.size());
  return true;
}

// Every way the request differs from the recipe; the encoded address is left
// in encoded when it could be found.
std::vector<std::string> Check(const Recipe& recipe, const RecordedRequest& request, int port,
                               std::string& encoded) {
  std::vector<std::string> faults;
  const auto expect = [&](bool ok, std::string what) {
    if (!ok) faults.push_back(std::move(what));
  };
  const bool get = recipe.method == "GET";
  const std::string origin = "http://127.0.0.1:" + std::to_string(port);

  expect(request.method == recipe.method, "method " + request.method);
  expect(request.raw.starts_with(request.method + " " + request.target + " HTTP/1.1\r\n"),
         "request line is not HTTP/1.1");
  std::string_view middle;
  if (get) {
    expect(Between(request.target, recipe.target_head, recipe.target_tail, middle),
           "target " + request.target);
    expect(request.body.empty() && request.Header("Content-Length").empty(), "a GET with a body");
  } else {
    expect(request.target == recipe.target_head, "target " + request.target);
    expect(Between(request.body, recipe.body_head, recipe.body_tail, middle),
           "body " + request.body);
    expect(request.Header("Content-Length") == std::to_string(request.body.size()),
           "Content-Length " + request.Header("Content-Length"));
  }
  encoded = std::string(middle);
  std::string decoded;
  expect(DecodeStrict(encoded, decoded), "address not strictly encoded: " + encoded);

  expect(request.Header("User-Agent") == kUserAgent, "User-Agent " + request.Header("User-Agent"));
  expect(request.Header("Referer") == origin + request.target,
         "Referer " + request.Header("Referer"));
  expect(request.Header("Accept") == "*/*", "Accept " + request.Header("Accept"));
  expect(request.Header("Accept-Language") == "zh-cn",
         "Accept-Language " + request.Header("Accept-Language"));
  expect(request.Header("Content-Type") == "application/x-www-form-urlencoded",
         "Content-Type " + request.Header("Content-Type"));
  expect(request.Header("Host") == "127.0.0.1:" + std::to_string(port),
         "Host " + request.Header("Host"));
  expect(!request.HasHeader("Expect"), "an Expect line");
  expect(!request.HasHeader("Cookie"), "a Cookie line");
  return faults;
}

bool Known(int service) {
  return service >= 1 && service <= core::kServiceCount;
}
std::size_t IndexOf(int service) {
  return static_cast<std::size_t>(service - 1);
}

}  // namespace

FakeServices::FakeServices() {
  for (int n = 1; n <= core::kServiceCount; ++n) {
    auto server = std::make_unique<LoopbackServer>(
        [this, n](const RecordedRequest& request, Connection& connection) {
          Serve(n, request, connection);
        });
    const std::lock_guard lock(mutex_);
    ports_[IndexOf(n)] = server->port();
    servers_[IndexOf(n)] = std::move(server);
  }
}

FakeServices::~FakeServices() {
  Stop();
}

void FakeServices::Stop() {
  for (auto& server : servers_) {
    if (server) server->Stop();
  }
}

core::Catalogue FakeServices::Catalogue() const {
  core::Catalogue catalogue = core::DefaultCatalogue();
  const std::lock_guard lock(mutex_);
  for (core::ServiceSlot& slot : catalogue) {
    const std::string base = "http://127.0.0.1:" + std::to_string(ports_[IndexOf(slot.number)]);
    slot.endpoint_base = text::Text(base);
  }
  return catalogue;
}

core::ServiceSlot FakeServices::Slot(int service) const {
  return Catalogue()[IndexOf(service)];
}

std::string FakeServices::ShortAddress(int service, int ordinal) {
  return "http://s" + std::to_string(service) + ".example/r" + std::to_string(ordinal);
}

void FakeServices::SetAnswer(int service, FakeAnswer answer) {
  const std::lock_guard lock(mutex_);
  if (Known(service)) services_[IndexOf(service)].answer = answer;
}

void FakeServices::SetAnswerForAll(FakeAnswer answer) {
  for (int n = 1; n <= core::kServiceCount; ++n) SetAnswer(n, answer);
}

void FakeServices::SetDelays(int service, std::vector<std::chrono::milliseconds> delays) {
  const std::lock_guard lock(mutex_);
  if (Known(service)) services_[IndexOf(service)].delays = std::move(delays);
}

void FakeServices::SetDelayForAll(std::chrono::milliseconds delay) {
  for (int n = 1; n <= core::kServiceCount; ++n) SetDelays(n, {delay});
}

void FakeServices::Hold(int service) {
  const std::lock_guard lock(mutex_);
  if (Known(service)) services_[IndexOf(service)].held = true;
}

void FakeServices::Release(int service) {
  const std::lock_guard lock(mutex_);
  if (Known(service)) services_[IndexOf(service)].held = false;
}

std::vector<FakeRequest> FakeServices::Requests(int service) const {
  const std::lock_guard lock(mutex_);
  return Known(service) ? services_[IndexOf(service)].requests : std::vector<FakeRequest>();
}

std::size_t FakeServices::RequestCount(int service) const {
  return Requests(service).size();
}

std::size_t FakeServices::TotalRequests() const {
  const std::lock_guard lock(mutex_);
  return total_requests_;
}

bool FakeServices::WaitForRequests(std::size_t total, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, timeout, [&] { return total_requests_ >= total; });
}

std::vector<std::string> FakeServices::Faults() const {
  const std::lock_guard lock(mutex_);
  return faults_;
}

void FakeServices::Serve(int service, const RecordedRequest& request, Connection& connection) {
  std::string encoded;
  FakeRequest record;
  FakeAnswer answer;
  std::chrono::milliseconds delay{0};
  std::vector<std::string> faults;
  {
    const std::lock_guard lock(mutex_);
    Service& state = services_[IndexOf(service)];
    faults = Check(kRecipes[IndexOf(service)], request, ports_[IndexOf(service)], encoded);
    for (const std::string& fault : faults) {
      faults_.push_back("service " + std::to_string(service) + ": " + fault);
    }
    record.ordinal = static_cast<int>(state.requests.size()) + 1;
    record.encoded_address = encoded;
    DecodeStrict(encoded, record.long_address);
    record.short_address = ShortAddress(service, record.ordinal);
    if (!state.delays.empty()) {
      delay =
          state.delays[std::min(state.delays.size(), static_cast<std::size_t>(record.ordinal)) - 1];
    }
    answer = state.answer;
    state.requests.push_back(record);
    ++total_requests_;
  }
  arrived_.notify_all();

  if (!WaitWhileHeld(service, connection)) return;
  if (delay.count() > 0 && !connection.Pause(delay)) return;

  Answer reply;
  if (faults.empty()) {
    const FakePage page = MakeFakePage(service, answer, record.short_address);
    reply.status = page.status;
    reply.body = page.body;
  } else {
    reply.status = 400;
    reply.body = "<html><body>Bad Request</body></html>";
  }
  reply.headers = {{"Content-Type", "text/html; charset=utf-8"}, {"Connection", "close"}};
  connection.Send(AnswerBytes(reply));
  connection.Close();
}

bool FakeServices::WaitWhileHeld(int service, Connection& connection) {
  while (true) {
    {
      const std::lock_guard lock(mutex_);
      if (!services_[IndexOf(service)].held) return true;
    }
    if (!connection.Pause(std::chrono::milliseconds(5))) return false;
  }
}

}  // namespace velmo::test
