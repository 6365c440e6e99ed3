// Replay scripts as zendor-replay reads them.
#include <cstdint>
#include <string>

#include "replay/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto script =
      zendor::replay::ParseScript(std::string(reinterpret_cast<const char*>(data), size), &error);
  if (!script) return 0;
  for (std::size_t i = 1; i < script->size(); ++i) {
    if ((*script)[i].time < (*script)[i - 1].time) __builtin_trap();  // times never go back
  }
  return 0;
}
