#include "tests/support/loopback_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace velmo::test {
namespace {

// A request larger than this is a test gone wrong, not something to record.
constexpr std::size_t kMaxRequestBytes = std::size_t{64} << 20;

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
           return lower(x) == lower(y);
         });
}

std::string_view Trim(std::string_view value) {
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  return value;
}

// Calls visit(name, value) for each header line of a request head.
template <typename Visit>
void ForEachHeader(std::string_view head, Visit visit) {
  std::size_t from = head.find("\r\n");
  while (from != std::string_view::npos) {
    from += 2;
    const std::size_t end = head.find("\r\n", from);
    const std::string_view line =
        head.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from);
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos &&
        visit(line.substr(0, colon), Trim(line.substr(colon + 1)))) {
      return;
    }
    from = end;
  }
}

void SetNonBlocking(int fd) {
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

SSL_CTX* MakeTlsContext(const TlsIdentity& identity) {
  SSL_CTX* context = SSL_CTX_new(TLS_server_method());
  if (context == nullptr) throw std::runtime_error("SSL_CTX_new failed");
  BIO* certificate = BIO_new_mem_buf(identity.certificate_pem.data(),
                                     static_cast<int>(identity.certificate_pem.size()));
  BIO* key = BIO_new_mem_buf(identity.private_key_pem.data(),
                             static_cast<int>(identity.private_key_pem.size()));
  X509* leaf = PEM_read_bio_X509(certificate, nullptr, nullptr, nullptr);
  EVP_PKEY* private_key = PEM_read_bio_PrivateKey(key, nullptr, nullptr, nullptr);
  const bool ok = leaf != nullptr && private_key != nullptr &&
                  SSL_CTX_use_certificate(context, leaf) == 1 &&
                  SSL_CTX_use_PrivateKey(context, private_key) == 1;
  X509_free(leaf);
  EVP_PKEY_free(private_key);
  BIO_free(certificate);
  BIO_free(key);
  if (!ok) {
    SSL_CTX_free(context);
    throw std::runtime_error("the TLS identity could not be loaded");
  }
  return context;
}

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
  std::string found;
  ForEachHeader(std::string_view(raw).substr(0, raw.find("\r\n\r\n")),
                [&](std::string_view header, std::string_view value) {
                  if (!SameName(header, name)) return false;
                  found = value;
                  return true;
                });
  return found;
}

bool RecordedRequest::HasHeader(std::string_view name) const {
  bool found = false;
  ForEachHeader(std::string_view(raw).substr(0, raw.find("\r\n\r\n")),
                [&](std::string_view header, std::string_view) {
                  found = SameName(header, name);
                  return found;
                });
  return found;
}

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
  Start();
}

LoopbackServer::LoopbackServer(Handler handler, int port) : handler_(std::move(handler)) {
  Start(port);
}

LoopbackServer::LoopbackServer(Handler handler, const TlsIdentity& identity)
    : handler_(std::move(handler)), tls_(MakeTlsContext(identity)) {
  Start();
}

LoopbackServer::~LoopbackServer() {
  Stop();
  if (tls_ != nullptr) SSL_CTX_free(tls_);
}

void LoopbackServer::Start(int port) {
  wake_fd_ = eventfd(0, EFD_CLOEXEC);
  listen_fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));  // 0: any free port
  socklen_t length = sizeof address;
  if (wake_fd_ < 0 || listen_fd_ < 0 ||
      bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listen_fd_, 64) != 0 ||
      getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    Stop();
    throw std::runtime_error("the loopback server could not listen");
  }
  SetNonBlocking(listen_fd_);
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

std::string LoopbackServer::Url(std::string_view path) const {
  return std::string(tls_ != nullptr ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) +
         std::string(path);
}

void LoopbackServer::AcceptLoop() {
  pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {wake_fd_, POLLIN, 0}};
  while (!stopping_) {
    if (poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN) != 0) continue;
    const int client = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (client < 0) continue;
    const std::lock_guard lock(mutex_);
    std::erase_if(workers_, [](Worker& worker) {
      if (!*worker.done) return false;
      worker.thread.join();
      return true;
    });
    auto done = std::make_shared<std::atomic<bool>>(false);
    workers_.push_back({std::thread([this, client, done] {
                          Serve(client);
                          *done = true;
                        }),
                        done});
    ++accepted_;
  }
}

void LoopbackServer::Serve(int fd) {
  Connection connection(fd, wake_fd_, tls_);
  if (!connection.Handshake()) return;
  std::string pending;
  RecordedRequest request;
  while (!stopping_ && connection.open() && ReadRequest(connection, pending, request)) {
    {
      const std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    arrived_.notify_all();
    handler_(request, connection);
  }
}

bool LoopbackServer::ReadRequest(Connection& connection, std::string& pending,
                                 RecordedRequest& request) {
  char buffer[16384];
  const auto fill = [&]() {
    if (pending.size() > kMaxRequestBytes) return false;
    const long count = connection.Read(buffer, sizeof buffer);
    if (count <= 0) return false;
    pending.append(buffer, static_cast<std::size_t>(count));
    return true;
  };
  std::size_t head_end = 0;
  while ((head_end = pending.find("\r\n\r\n")) == std::string::npos) {
    if (!fill()) return false;
  }
  head_end += 4;
  request = RecordedRequest();
  request.raw = pending.substr(0, head_end);
  const std::string length_text = request.Header("Content-Length");
  const std::size_t body_length =
      length_text.empty() ? 0 : std::strtoull(length_text.c_str(), nullptr, 10);
  while (pending.size() - head_end < body_length) {
    if (!fill()) return false;
  }
  request.body = pending.substr(head_end, body_length);
  request.raw += request.body;
  pending.erase(0, head_end + body_length);

  const std::size_t space = request.raw.find(' ');
  const std::size_t second = request.raw.find(' ', space + 1);
  request.method = request.raw.substr(0, space);
  if (space != std::string::npos && second != std::string::npos) {
    request.target = request.raw.substr(space + 1, second - space - 1);
  }
  return true;
}

std::vector<RecordedRequest> LoopbackServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

bool LoopbackServer::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

std::size_t LoopbackServer::ConnectionCount() const {
  const std::lock_guard lock(mutex_);
  return accepted_;
}

void LoopbackServer::Stop() {
  if (stopping_.exchange(true)) return;
  if (wake_fd_ >= 0) {
    const std::uint64_t one = 1;
    static_cast<void>(write(wake_fd_, &one, sizeof one));
  }
  if (acceptor_.joinable()) acceptor_.join();
  // The acceptor is gone, so the list no longer grows while it is joined.
  for (Worker& worker : workers_) worker.thread.join();
  if (listen_fd_ >= 0) close(listen_fd_);
  if (wake_fd_ >= 0) close(wake_fd_);
  listen_fd_ = wake_fd_ = -1;
}

}  // namespace velmo::test
