#pragma once
// The nine shortening services played on loopback servers. Each fake checks
// that a request is exactly what its service's recipe asks for (method, path
// and query, form body, the encoding of the address, the header lines) and
// answers with a page that holds a short address of its own making. A request
// that is not right is recorded as a fault and answered with an error page
// that holds no short address.

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/service_catalogue.h"
#include "tests/core/support/fake_pages.h"
#include "tests/support/loopback_server.h"

namespace velmo::test {

struct FakeRequest {
  int ordinal = 0;              // 1 for the first request this service got
  std::string encoded_address;  // the address as it stood in the query or body
  std::string long_address;     // the same percent-decoded: UTF-8 bytes
  std::string short_address;    // what the answer handed out
};

class FakeServices {
 public:
  FakeServices();
  ~FakeServices();
  FakeServices(const FakeServices&) = delete;
  FakeServices& operator=(const FakeServices&) = delete;

  // The program's catalogue with every row pointed at its fake.
  core::Catalogue Catalogue() const;
  core::ServiceSlot Slot(int service) const;

  // What service n's fake answers from now on. Safe while requests run.
  void SetAnswer(int service, FakeAnswer answer);
  void SetAnswerForAll(FakeAnswer answer);
  // Pauses before answering: the k-th request waits delays[k - 1], and every
  // request after the last entry waits as long as that entry.
  void SetDelays(int service, std::vector<std::chrono::milliseconds> delays);
  void SetDelayForAll(std::chrono::milliseconds delay);
  // A held service takes requests but answers none until it is released (or
  // the fakes stop).
  void Hold(int service);
  void Release(int service);

  // The short address service n hands to its k-th request.
  static std::string ShortAddress(int service, int ordinal);

  std::vector<FakeRequest> Requests(int service) const;
  std::size_t RequestCount(int service) const;
  std::size_t TotalRequests() const;
  // Waits until all fakes together have taken at least total requests.
  bool WaitForRequests(std::size_t total, std::chrono::milliseconds timeout) const;
  // Every way a request differed from its recipe, one line each.
  std::vector<std::string> Faults() const;

  // Stops every server; requests still waiting get their connection closed.
  void Stop();

 private:
  struct Service {
    FakeAnswer answer = FakeAnswer::kShortAddress;
    std::vector<std::chrono::milliseconds> delays;
    bool held = false;
    std::vector<FakeRequest> requests;
  };
  void Serve(int service, const RecordedRequest& request, Connection& connection);
  bool WaitWhileHeld(int service, Connection& connection);

  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::array<Service, core::kServiceCount> services_;
  std::vector<std::string> faults_;
  std::array<int, core::kServiceCount> ports_{};
  std::size_t total_requests_ = 0;
  // Last, so the servers stop (and join their handlers) before the state
  // above goes away.
  std::array<std::unique_ptr<LoopbackServer>, core::kServiceCount> servers_;
};

}  // namespace velmo::test
