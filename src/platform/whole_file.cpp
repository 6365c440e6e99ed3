#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace zendor {
namespace {

// Closes the descriptor however the reading ends.
class OpenFile {
 public:
  explicit OpenFile(const std::filesystem::path& path)
      // Without blocking, a pipe opens at once and is then refused as not a regular file.
      : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

template <typename Buffer>
bool ReadRegularFile(const std::filesystem::path& path, Buffer& out, std::size_t largest,
                     std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    out.clear();
    return false;
  };
  const OpenFile file(path);
  if (file.fd() < 0) return fail(std::string("cannot be read: ") + std::strerror(errno));
  struct stat info {};
  if (::fstat(file.fd(), &info) != 0) {
    return fail(std::string("cannot be read: ") + std::strerror(errno));
  }
  if (S_ISDIR(info.st_mode)) return fail("is a folder");
  if (!S_ISREG(info.st_mode)) return fail("is not a regular file");
  if (static_cast<std::uintmax_t>(info.st_size) > largest) {
    return fail("is larger than the " + std::to_string(largest) + " bytes such a file can be");
  }
  out.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t n = ::read(file.fd(), out.data() + done, out.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(std::string("cannot be read: ") + std::strerror(errno));
    if (n == 0) return fail("became shorter while it was read");
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out,
                   std::size_t largest, std::string* error) {
  return ReadRegularFile(path, out, largest, error);
}

bool ReadWholeText(const std::filesystem::path& path, std::string& out, std::size_t largest,
                   std::string* error) {
  return ReadRegularFile(path, out, largest, error);
}

bool WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace zendor
