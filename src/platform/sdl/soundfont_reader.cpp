#include "platform/sdl/soundfont_reader.h"

#include <fluidsynth.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>

namespace zendor {
namespace {

std::atomic<std::uint64_t> opens{0};
std::atomic<std::uint64_t> bytesRead{0};

std::mutex registryLock;
std::map<std::string, std::shared_ptr<const SoundFontExcerpt>>& Registry() {
  static std::map<std::string, std::shared_ptr<const SoundFontExcerpt>> registry;
  return registry;
}

// An open SoundFont: the file, and the excerpt read through it if it is one.
struct OpenFont {
  std::FILE* file = nullptr;
  std::shared_ptr<const SoundFontExcerpt> excerpt;
  std::uint64_t position = 0;
  std::uint64_t size = 0;
};

void* Open(const char* name) {
  auto font = std::make_unique<OpenFont>();
  {
    std::lock_guard<std::mutex> hold(registryLock);
    if (const auto found = Registry().find(name); found != Registry().end()) {
      font->excerpt = found->second;
    }
  }
  font->file = std::fopen(font->excerpt ? font->excerpt->file.c_str() : name, "rb");
  if (!font->file) return nullptr;
  if (font->excerpt) {
    font->size = font->excerpt->size();
  } else if (fseeko(font->file, 0, SEEK_END) == 0) {
    font->size = static_cast<std::uint64_t>(ftello(font->file));
  }
  opens.fetch_add(1, std::memory_order_relaxed);
  return font.release();
}

int Read(void* buffer, fluid_long_long_t count, void* handle) {
  auto& font = *static_cast<OpenFont*>(handle);
  if (count < 0) return FLUID_FAILED;
  const auto n = static_cast<std::uint64_t>(count);
  bool ok;
  if (font.excerpt) {
    ok = font.excerpt->Read(font.file, font.position, n, static_cast<std::uint8_t*>(buffer));
  } else {
    ok = fseeko(font.file, static_cast<off_t>(font.position), SEEK_SET) == 0 &&
         std::fread(buffer, 1, n, font.file) == n;
  }
  if (!ok) return FLUID_FAILED;
  font.position += n;
  bytesRead.fetch_add(n, std::memory_order_relaxed);
  return FLUID_OK;
}

int Seek(void* handle, fluid_long_long_t offset, int origin) {
  auto& font = *static_cast<OpenFont*>(handle);
  const auto base = origin == SEEK_CUR   ? static_cast<fluid_long_long_t>(font.position)
                    : origin == SEEK_END ? static_cast<fluid_long_long_t>(font.size)
                                         : 0;
  const fluid_long_long_t target = base + offset;
  if (target < 0 || target > static_cast<fluid_long_long_t>(font.size)) return FLUID_FAILED;
  font.position = static_cast<std::uint64_t>(target);
  return FLUID_OK;
}

fluid_long_long_t Tell(void* handle) {
  return static_cast<fluid_long_long_t>(static_cast<OpenFont*>(handle)->position);
}

int Close(void* handle) {
  std::unique_ptr<OpenFont> font(static_cast<OpenFont*>(handle));
  std::fclose(font->file);
  return FLUID_OK;
}

}  // namespace

SoundFontReads SoundFontReadsSoFar() {
  return {opens.load(std::memory_order_relaxed), bytesRead.load(std::memory_order_relaxed)};
}

RegisteredExcerpt::RegisteredExcerpt(SoundFontExcerpt excerpt) {
  static std::atomic<int> serial{0};
  name_ = "zendor-excerpt-" + std::to_string(++serial) + ":" + excerpt.file.string();
  std::lock_guard<std::mutex> hold(registryLock);
  Registry()[name_] = std::make_shared<const SoundFontExcerpt>(std::move(excerpt));
}

RegisteredExcerpt::~RegisteredExcerpt() {
  std::lock_guard<std::mutex> hold(registryLock);
  Registry().erase(name_);
}

_fluid_sfloader_t* NewReadingSoundFontLoader(_fluid_hashtable_t* settings) {
  fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
  if (loader) fluid_sfloader_set_callbacks(loader, Open, Read, Seek, Tell, Close);
  return loader;
}

}  // namespace zendor
