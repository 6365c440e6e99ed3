#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zendor {

// The largest file read when the caller names no smaller limit.
inline constexpr std::size_t kLargestGameFile = std::size_t{64} << 20;

// Reads a whole regular file of at most `largest` bytes. Anything else in its place (a folder, a
// pipe, a device, a looping link, a larger file) is refused at once, never waited for or read
// without end; `error` then says why ("is a folder", "cannot be read: " and the system's reason).
bool ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out,
                   std::size_t largest = kLargestGameFile, std::string* error = nullptr);
bool ReadWholeText(const std::filesystem::path& path, std::string& out,
                   std::size_t largest = kLargestGameFile, std::string* error = nullptr);

bool WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace zendor
