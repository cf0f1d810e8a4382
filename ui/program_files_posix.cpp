#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "text/codepage.h"
#include "ui/program_files.h"

namespace velmo::ui {

std::string ProgramDirectory() {
  std::string path(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
  path.resize(static_cast<std::size_t>(length));
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  // A program in the root gives the empty directory and its files land in "/".
  return path.substr(0, slash);
}

bool WriteResultFile(const std::string& directory, const text::Text& file_name,
                     std::string_view bytes) {
  // Linux file names are UTF-8; the names are kept in code page 936 like every
  // other text of the window.
  const std::string path = directory + "/" + text::AnsiToUtf8(file_name).str();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool written = true;
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) {
      written = false;
      break;
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  if (::close(fd) != 0) written = false;
  return written;
}

}  // namespace velmo::ui
