#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/settings.h"
#include "common/sound_system.h"
#include "common/tracer.h"
#include "common/ventana.h"
#include "platform/headless/headless_platform.h"

namespace zendor::testing {

// A folder under the system's temporary folder that is removed again when it goes out of scope.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // The path as the game writes folders: ending in '/'.
  std::string folder() const { return path_.string() + "/"; }
  // Writes a text file inside the folder and returns its path.
  std::filesystem::path Write(const std::string& name, const std::string& content) const;

 private:
  std::filesystem::path path_;
};

// Remembers what the program reported, as short readable lines ("screen menu", "sound play 31").
class RecordingTracer : public Tracer {
 public:
  void Screen(std::string_view state) override { lines.push_back("screen " + std::string(state)); }
  void Ending(bool completed) override {
    lines.push_back(completed ? "ending completed" : "ending");
  }
  void Sound(std::string_view op, int n, std::optional<int> value,
             std::optional<bool> loop) override;
  void Music(std::string_view op, std::optional<int> theme, std::optional<int> value) override;
  void Message(std::string_view text) override { lines.push_back("message " + std::string(text)); }
  void Frame(const Ventana&) override { ++frames; }
  void Level(const Ventana&) override { lines.push_back("level"); }

  std::vector<std::string> lines;
  int frames = 0;
};

// The game window on the headless back end, with default settings, ready for a routine to run.
// `platform`, `settings`, `sound`, `tracer` and `v` are the pieces a test reaches into.
struct GameFixture {
  GameFixture();
  // Loads the shipped pictures from the built program folder (the test fails if they are bad).
  void LoadShippedSheets();
  // The built program folder with the game's files.
  static std::string ShippedGameFolder();

  HeadlessPlatform platform;
  Settings settings;
  RecordingTracer tracer;
  SoundSystem sound{tracer};
  Ventana v{platform, settings, sound, tracer};
};

}  // namespace zendor::testing
