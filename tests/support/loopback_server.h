#pragma once
// A scripted HTTP server on 127.0.0.1 for tests. It listens on a free port,
// records every request byte for byte, and lets a handler answer each one in
// any way a real server might misbehave: wrong sizes, zero bytes, chunks,
// pauses, slow drips, resets, silence, endless bodies. Stopping it (or
// destroying it) wakes every wait and joins every thread, even while a client
// is in the middle of a request.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

typedef struct ssl_st SSL;          // NOLINT: OpenSSL's own spelling
typedef struct ssl_ctx_st SSL_CTX;  // NOLINT

namespace velmo::test {

struct RecordedRequest {
  std::string raw;  // the exact bytes: request line, header lines, blank line, body
  std::string method;
  std::string target;
  std::string body;

  // The value of the first header line with this name (any letter case),
  // without surrounding spaces; empty when there is none.
  std::string Header(std::string_view name) const;
  bool HasHeader(std::string_view name) const;
};

// One accepted client, handed to the handler. Every call returns false once
// the peer has gone or the server is stopping, so a handler can simply stop.
class Connection {
 public:
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection();

  bool Send(std::string_view bytes);
  // One byte at a time with a pause before each: a server that trickles.
  bool Drip(std::string_view bytes, std::chrono::milliseconds gap);
  // Waits; false when the server stopped meanwhile.
  bool Pause(std::chrono::milliseconds duration);
  // A server that never answers: returns only when the server stops.
  void WaitForStop();
  // Aborts the connection with a TCP reset (linger 0), as a crashing server.
  void Reset();
  // An orderly close after what was sent.
  void Close();

  bool open() const { return fd_ >= 0; }

 private:
  friend class LoopbackServer;
  Connection(int fd, int wake_fd, SSL_CTX* tls);
  bool Handshake();
  // >0: bytes read; 0: the peer closed; -1: failure or stop.
  long Read(char* buffer, std::size_t size);
  // Waits for the socket (or the stop signal); false on stop, error or time-out.
  bool WaitFor(short events, int timeout_ms);
  void Release();

  int fd_;
  int wake_fd_;
  SSL* ssl_ = nullptr;
};

// Called for each request on its connection's own thread, so handlers of one
// server may run at the same time; whatever they share must be guarded. When
// it returns with the connection still open, the next request on the same
// connection is read.
using Handler = std::function<void(const RecordedRequest&, Connection&)>;

// A certificate chain and its key, PEM-encoded, for a TLS server.
struct TlsIdentity {
  std::string certificate_pem;
  std::string private_key_pem;
};

class LoopbackServer {
 public:
  explicit LoopbackServer(Handler handler);
  // On a port of the caller's choice (still on 127.0.0.1); throws when the
  // port is taken.
  LoopbackServer(Handler handler, int port);
  // An https server presenting this identity.
  LoopbackServer(Handler handler, const TlsIdentity& identity);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:PORT" (or https) followed by the path.
  std::string Url(std::string_view path = "/") const;

  // Every complete request so far, in order of arrival.
  std::vector<RecordedRequest> Requests() const;
  // Waits until at least count requests have arrived; false on time-out.
  bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;
  // How many clients have connected so far.
  std::size_t ConnectionCount() const;

  // Wakes every waiting connection and joins all threads. Idempotent.
  void Stop();

 private:
  void Start(int port = 0);
  void AcceptLoop();
  void Serve(int fd);
  bool ReadRequest(Connection& connection, std::string& pending, RecordedRequest& request);

  Handler handler_;
  SSL_CTX* tls_ = nullptr;
  int listen_fd_ = -1;
  int wake_fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;

  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::vector<RecordedRequest> requests_;
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  // Finished workers are joined as new clients arrive, so a long run of
  // requests (a benchmark) does not pile up threads.
  std::vector<Worker> workers_;
  std::size_t accepted_ = 0;
};

}  // namespace velmo::test
