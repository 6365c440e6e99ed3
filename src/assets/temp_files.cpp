#include "assets/temp_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "common/settings.h"
#include "platform/image_file.h"
#include "platform/platform.h"
#include "platform/whole_file.h"

namespace zendor {
namespace {

constexpr int kSoundSlots = 256;
constexpr int kMusicSlots = 11;
constexpr std::size_t kBitmapPixelOffset = 54;  // 14-byte file header + 40-byte info header
constexpr int kMessageOk = 0;
constexpr std::size_t kLargestStoredSound = std::size_t{64} << 20;
constexpr std::size_t kLargestStoredTheme = std::size_t{4} << 20;

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
// False (with the reason) when the file could not be created at all; `written` tells how many
// bytes reached it.
bool CreateTempFile(Ventana& v, const std::string& path, const std::vector<std::uint8_t>& bytes,
                    std::size_t& written, std::string* why) {
  ::unlink(path.c_str());
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (why) *why = path + " cannot be created: " + std::strerror(errno);
    return false;
  }
  errno = 0;
  written = WriteAt(fd, bytes, 0);
  if (written < bytes.size() && why) {
    *why = path + ": only " + std::to_string(written) + " of " + std::to_string(bytes.size()) +
           " bytes could be written" + (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
  }
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

// Restores one stored file (every byte complemented) into the temporary folder. A missing stored
// file leaves its slot empty; one that cannot be read or restored is named on standard error and
// leaves its slot empty too.
void UnpackStoredFile(Ventana& v, const std::string& stored, const std::string& unpacked,
                      std::size_t largest) {
  std::vector<std::uint8_t> bytes;
  std::string why;
  if (!ReadWholeFile(stored, bytes, largest, &why)) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(stored, ec);
    if (!ec && status.type() != std::filesystem::file_type::not_found) {
      std::fprintf(stderr, "zendor: %s: %s; it stays silent\n", stored.c_str(), why.c_str());
    }
    return;
  }
  for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(255 - b);
  std::size_t written = 0;
  if (!CreateTempFile(v, unpacked, bytes, written, &why) || written < bytes.size()) {
    ::unlink(unpacked.c_str());  // a part of a sound is no sound
    std::fprintf(stderr, "zendor: %s cannot be restored (%s); it stays silent\n", stored.c_str(),
                 why.c_str());
  }
}

}  // namespace

std::string StoredSoundName(int n) {
  return "SND/Efecto" + std::to_string(n) + ".SND";
}

std::string StoredThemeName(int n) {
  return "MUS/Tema" + std::to_string(n) + ".MUS";
}

std::string UnpackedSoundName(int n) {
  return "snd" + std::to_string(n) + ".tmp";
}

std::string UnpackedThemeName(int n) {
  return "mus" + std::to_string(n) + ".tmp";
}

std::string FadePictureName(int index) {
  return "pan" + std::to_string(index) + ".tmp";
}

bool MakeStillFades(Ventana& v, std::string* why) {
  Settings& s = v.settings;
  s.FadeStepCount = 5;
  const Surface& picture = v.sheets.Pantalla;
  if (picture.empty()) {
    if (why) *why = "the loading picture could not be loaded";
    return false;
  }
  const std::vector<std::uint8_t> saved = EncodeBmp24(picture);
  // A picture written short is a write shortfall: the player is told, and the series goes on.
  auto create = [&](const std::string& path) {
    std::size_t written = 0;
    std::string reason;
    if (!CreateTempFile(v, path, saved, written, &reason)) {
      if (why) *why = "the loading picture cannot be saved: " + reason;
      return false;
    }
    if (written < saved.size()) ShowFileError(v, "Error writing file ", path);
    return true;
  };
  if (!create(s.TempFolder + FadePictureName(0))) return false;
  const int stepAmount = 255 / s.FadeStepCount;
  for (int step = 1; step <= s.FadeStepCount; ++step) {
    const std::string path = s.TempFolder + FadePictureName(step);
    if (!create(path)) return false;
    if (!DarkenInPlace(v, path, stepAmount * step)) {
      if (why) *why = "the loading picture cannot be darkened in " + path;
      return false;
    }
  }
  return true;
}

void UnpackSoundAndMusic(Ventana& v) {
  const Settings& s = v.settings;
  for (int n = 0; n < kSoundSlots; ++n) {
    UnpackStoredFile(v, s.ProgramFolder + StoredSoundName(n), s.TempFolder + UnpackedSoundName(n),
                     kLargestStoredSound);
  }
  for (int n = 0; n < kMusicSlots; ++n) {
    UnpackStoredFile(v, s.ProgramFolder + StoredThemeName(n), s.TempFolder + UnpackedThemeName(n),
                     kLargestStoredTheme);
  }
}

}  // namespace zendor
