#include "assets/temp_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "app/settings.h"
#include "platform/image_file.h"
#include "platform/platform.h"

namespace zendor {
namespace {

constexpr int kSoundSlots = 256;
constexpr int kMusicSlots = 11;
constexpr std::size_t kBitmapPixelOffset = 54;  // 14-byte file header + 40-byte info header
constexpr int kMessageOk = 0;

// Writes all of `bytes` at `offset`; returns how many reached the file.
std::size_t WriteAt(int fd, const std::vector<std::uint8_t>& bytes, off_t offset) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

// Reads into the whole of `bytes` from offset 0; returns how many bytes were read.
std::size_t ReadAt(int fd, std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

// The player's temporary files are his alone: owner-only access is the nearest thing this
// system has to a "temporary" mark, and the registry takes care of their removal.
void MarkTemporary(int fd) {
  ::fchmod(fd, 0600);
}

// Creates `path` afresh in the temporary folder with `bytes`, lists it in the registry and marks
// it temporary. A file of that name left by an earlier run is replaced, never written through.
// False when the file could not be created at all.
bool CreateTempFile(Ventana& v, const std::string& path, const std::vector<std::uint8_t>& bytes) {
  ::unlink(path.c_str());
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  WriteAt(fd, bytes, 0);
  v.settings.Registry.Add(path);
  MarkTemporary(fd);
  ::close(fd);
  return true;
}

void ShowFileError(Ventana& v, const std::string& what, const std::string& path) {
  v.platform.MessageBox(what + path, kProductName, kMessageOk);
}

// Darkens fade picture `path` in place by `amount` on every byte of its pixel rows. False when the
// file cannot be opened again.
bool DarkenInPlace(Ventana& v, const std::string& path, int amount) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    ::close(fd);
    return false;
  }
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(info.st_size), 0);
  if (ReadAt(fd, buffer) < buffer.size()) ShowFileError(v, "Error reading file ", path);
  for (std::size_t i = kBitmapPixelOffset; i < buffer.size(); ++i) {
    buffer[i] = static_cast<std::uint8_t>(std::max(0, buffer[i] - amount));
  }
  if (WriteAt(fd, buffer, 0) < buffer.size()) ShowFileError(v, "Error writing file ", path);
  ::close(fd);
  return true;
}

// Restores one stored file (every byte complemented) into the temporary folder; a stored file
// that cannot be read leaves its slot empty.
void UnpackStoredFile(Ventana& v, const std::string& stored, const std::string& unpacked) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(stored, bytes)) return;
  for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(255 - b);
  CreateTempFile(v, unpacked, bytes);
}

}  // namespace

std::string FadePictureName(int index) {
  return "pan" + std::to_string(index) + ".tmp";
}

bool MakeStillFades(Ventana& v) {
  Settings& s = v.settings;
  s.FadeStepCount = 5;
  const Surface& picture = v.sheets.Pantalla;
  if (picture.empty()) return false;
  const std::vector<std::uint8_t> saved = EncodeBmp24(picture);
  if (!CreateTempFile(v, s.TempFolder + FadePictureName(0), saved)) return false;
  const int stepAmount = 255 / s.FadeStepCount;
  for (int step = 1; step <= s.FadeStepCount; ++step) {
    const std::string path = s.TempFolder + FadePictureName(step);
    if (!CreateTempFile(v, path, saved)) return false;
    if (!DarkenInPlace(v, path, stepAmount * step)) return false;
  }
  return true;
}

void UnpackSoundAndMusic(Ventana& v) {
  const Settings& s = v.settings;
  for (int n = 0; n < kSoundSlots; ++n) {
    const std::string number = std::to_string(n);
    UnpackStoredFile(v, s.ProgramFolder + "SND/Efecto" + number + ".SND",
                     s.TempFolder + "snd" + number + ".tmp");
  }
  for (int n = 0; n < kMusicSlots; ++n) {
    const std::string number = std::to_string(n);
    UnpackStoredFile(v, s.ProgramFolder + "MUS/Tema" + number + ".MUS",
                     s.TempFolder + "mus" + number + ".tmp");
  }
}

}  // namespace zendor
