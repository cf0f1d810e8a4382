#pragma once
// The limits every request runs under, and the one place tests may change
// them. The program never changes them: it runs with the defaults below.

#include <chrono>
#include <cstddef>
#include <string>

namespace velmo::web {

struct TransportSettings {
  // A service that cannot be reached, or that stops answering, must not hold
  // its worker for longer than this.
  std::chrono::milliseconds connect_timeout{10'000};
  std::chrono::milliseconds total_timeout{30'000};
  long max_redirects = 10;
  // An answer page is a few KiB; a body past this cap counts as a failed
  // request, so a misbehaving server cannot make a worker grow without bound.
  std::size_t max_body_bytes = std::size_t{4} << 20;
  // Server certificates are always verified against the system's trust store.
  // A PEM file named here is trusted as well; only tests name one, to trust
  // the authority behind their loopback TLS servers.
  std::string trusted_ca_file;
};

// What the next request will run under. Safe to call from any thread.
TransportSettings CurrentTransportSettings();

// Replaces the settings for every request that starts afterwards.
void SetTransportSettings(TransportSettings settings);

// Sets the given settings and puts the previous ones back when it goes out of
// scope, so a test cannot leak its time-outs or trust into the next one.
class ScopedTransportSettings {
 public:
  explicit ScopedTransportSettings(TransportSettings settings);
  ~ScopedTransportSettings();
  ScopedTransportSettings(const ScopedTransportSettings&) = delete;
  ScopedTransportSettings& operator=(const ScopedTransportSettings&) = delete;

 private:
  TransportSettings previous_;
};

}  // namespace velmo::web
