#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zendor::fuzz {

// A folder of this process's own for the files a target hands to the game's readers.
const std::filesystem::path& WorkFolder();

// Writes the input to `name` inside the work folder and returns its path.
std::filesystem::path WriteInput(const std::string& name, const std::uint8_t* data,
                                 std::size_t size);

// The input with every byte complemented, as the game stores its sounds and themes.
std::vector<std::uint8_t> Complemented(const std::uint8_t* data, std::size_t size);

}  // namespace zendor::fuzz
