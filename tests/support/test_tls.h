#pragma once
// Certificates made at test time for the loopback TLS servers, so no key or
// expiry date lives in the repository.

#include <string>
#include <string_view>

#include "tests/support/loopback_server.h"

namespace velmo::test {

struct TestAuthority {
  // The authority's own certificate: what a client must trust.
  std::string certificate_pem;
  // A server certificate for 127.0.0.1 and localhost signed by the authority,
  // with its key.
  TlsIdentity server;
};

// A fresh authority (P-256, valid from yesterday for ten years) and a server
// identity under it. Each call makes new keys, so two authorities never trust
// each other's servers.
TestAuthority MakeTestAuthority(std::string_view name);

// A file holding the given bytes, removed when the object goes.
class TempFile {
 public:
  explicit TempFile(std::string_view contents);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace velmo::test
