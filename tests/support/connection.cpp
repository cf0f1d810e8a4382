// A server-side connection on a non-blocking socket. Every wait polls the
// socket together with the server's wake descriptor, which becomes readable
// for good when the server stops, so no wait can outlive the server.

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "tests/support/loopback_server.h"

namespace velmo::test {

Connection::Connection(int fd, int wake_fd, SSL_CTX* tls) : fd_(fd), wake_fd_(wake_fd) {
  if (tls != nullptr) {
    ssl_ = SSL_new(tls);
    if (ssl_ != nullptr) SSL_set_fd(ssl_, fd_);
  }
}

Connection::~Connection() {
  Close();
}

bool Connection::WaitFor(short events, int timeout_ms) {
  if (fd_ < 0) return false;
  pollfd fds[2] = {{fd_, events, 0}, {wake_fd_, POLLIN, 0}};
  int ready = 0;
  do {
    ready = poll(fds, 2, timeout_ms);
  } while (ready < 0 && errno == EINTR);
  if (ready <= 0 || (fds[1].revents & POLLIN) != 0) return false;
  return (fds[0].revents & (events | POLLHUP | POLLERR)) != 0;
}

bool Connection::Handshake() {
  if (ssl_ == nullptr) return fd_ >= 0;
  while (true) {
    const int result = SSL_accept(ssl_);
    if (result == 1) return true;
    const int error = SSL_get_error(ssl_, result);
    ERR_clear_error();
    if (error == SSL_ERROR_WANT_READ && WaitFor(POLLIN, -1)) continue;
    if (error == SSL_ERROR_WANT_WRITE && WaitFor(POLLOUT, -1)) continue;
    return false;
  }
}

long Connection::Read(char* buffer, std::size_t size) {
  while (fd_ >= 0) {
    if (ssl_ != nullptr) {
      const int result = SSL_read(ssl_, buffer, static_cast<int>(size));
      if (result > 0) return result;
      const int error = SSL_get_error(ssl_, result);
      ERR_clear_error();
      if (error == SSL_ERROR_ZERO_RETURN) return 0;
      if (error == SSL_ERROR_WANT_READ && WaitFor(POLLIN, -1)) continue;
      if (error == SSL_ERROR_WANT_WRITE && WaitFor(POLLOUT, -1)) continue;
      // A client that drops the connection without close_notify ends it too.
      return error == SSL_ERROR_SYSCALL ? 0 : -1;
    }
    const ssize_t result = recv(fd_, buffer, size, 0);
    if (result >= 0) return result;
    if ((errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(POLLIN, -1)) continue;
    if (errno == EINTR) continue;
    return -1;
  }
  return -1;
}

bool Connection::Send(std::string_view bytes) {
  while (!bytes.empty() && fd_ >= 0) {
    long written = 0;
    if (ssl_ != nullptr) {
      const int result = SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()));
      if (result <= 0) {
        const int error = SSL_get_error(ssl_, result);
        ERR_clear_error();
        if (error == SSL_ERROR_WANT_WRITE && WaitFor(POLLOUT, -1)) continue;
        if (error == SSL_ERROR_WANT_READ && WaitFor(POLLIN, -1)) continue;
        return false;
      }
      written = result;
    } else {
      const ssize_t result = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (result < 0) {
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(POLLOUT, -1)) continue;
        if (errno == EINTR) continue;
        return false;
      }
      written = result;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return bytes.empty();
}

bool Connection::Drip(std::string_view bytes, std::chrono::milliseconds gap) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (!Pause(gap) || !Send(bytes.substr(i, 1))) return false;
  }
  return true;
}

bool Connection::Pause(std::chrono::milliseconds duration) {
  if (fd_ < 0) return false;
  pollfd wake = {wake_fd_, POLLIN, 0};
  const auto deadline = std::chrono::steady_clock::now() + duration;
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return true;
    const int ready = poll(&wake, 1, static_cast<int>(left.count()));
    if (ready > 0) return false;
  }
}

void Connection::WaitForStop() {
  pollfd wake = {wake_fd_, POLLIN, 0};
  while (poll(&wake, 1, -1) <= 0) {
  }
}

void Connection::Reset() {
  if (fd_ < 0) return;
  const linger abort_on_close = {1, 0};
  setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort_on_close, sizeof abort_on_close);
  Release();
}

void Connection::Close() {
  if (fd_ < 0) return;
  if (ssl_ != nullptr) {
    SSL_shutdown(ssl_);
    ERR_clear_error();
  }
  shutdown(fd_, SHUT_WR);
  Release();
}

void Connection::Release() {
  if (ssl_ != nullptr) {
    SSL_free(ssl_);
    ssl_ = nullptr;
  }
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
  }
}

}  // namespace velmo::test
