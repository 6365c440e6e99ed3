#include "support/game_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <fstream>

#include "assets/sprite_sheets.h"

namespace zendor::testing {

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("zendor-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path ScratchFolder::Write(const std::string& name,
                                           const std::string& content) const {
  const auto file = path_ / name;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << content;
  return file;
}

void RecordingTracer::Sound(std::string_view op, int n, std::optional<int> value,
                            std::optional<bool> loop) {
  std::string line = "sound " + std::string(op) + " " + std::to_string(n);
  if (value) line += " " + std::to_string(*value);
  if (loop) line += *loop ? " loop" : " once";
  lines.push_back(line);
}

void RecordingTracer::Music(std::string_view op, std::optional<int> theme,
                            std::optional<int> value) {
  std::string line = "music " + std::string(op);
  if (theme) line += " " + std::to_string(*theme);
  if (value) line += " " + std::to_string(*value);
  lines.push_back(line);
}

GameFixture::GameFixture() {
  settings.ProgramFolder = ShippedGameFolder();
  settings.DisplayOffsetX = 32;
  settings.DisplayOffsetY = 4;
  settings.DisplayScale = 1;
}

std::string GameFixture::ShippedGameFolder() {
  return std::string(ZENDOR_GAME_DIR) + "/";
}

void GameFixture::LoadShippedSheets() {
  std::string error;
  ASSERT_TRUE(LoadSpriteSheets(v.sheets, ShippedGameFolder() + "ART/", &error)) << error;
}

}  // namespace zendor::testing
