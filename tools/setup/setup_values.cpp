#include "setup/setup_values.h"

#include <cctype>
#include <charconv>

#include "app/display.h"
#include "app/profile.h"
#include "app/profile_writer.h"
#include "app/startup.h"
#include "common/settings.h"
#include "common/sound_system.h"
#include "common/tracer.h"
#include "common/ventana.h"
#include "platform/headless/headless_platform.h"

namespace zendor::setup {
namespace {

// The largest screen side the set-up accepts.
constexpr int kLargestSide = 16384;

struct Range {
  int low, high;
};

Range RangeOf(const ConfigKey& key) {
  const std::string_view name = key.key;
  if (name == "PantallaCompleta") return {0, 2};
  if (name == "Ancho" || name == "Alto") return {0, kLargestSide};
  if (name == "Dificultad") return {0, 5};
  return {0, 1};  // DDraw, SND, MUS
}

std::string NameOf(const ConfigKey& key) {
  return std::string(key.section) + "." + key.key;
}

// Whether the game's reader finds the key at all: a missing key gives back whichever default
// it is asked with.
bool KeyPresent(const std::string& file, const ConfigKey& key) {
  return ReadProfileString(file, key.section, key.key, "\x01") != "\x01" ||
         ReadProfileString(file, key.section, key.key, "\x02") != "\x02";
}

}  // namespace

std::vector<EffectiveValue> ReadEffectiveValues(const std::string& folder) {
  std::vector<EffectiveValue> values;
  for (const ConfigKey& key : ManagedConfigKeys()) {
    const std::string file = folder + key.file;
    const bool present = KeyPresent(file, key);
    values.push_back({key, ReadProfileString(file, key.section, key.key, key.defaultValue),
                      present ? file : "default"});
  }
  return values;
}

bool CheckValue(const ConfigKey& key, std::string_view value, std::string* error) {
  const Range range = RangeOf(key);
  int number = -1;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
  const bool digitsOnly = !value.empty() && value.size() <= 5 &&
                          value.find_first_not_of("0123456789") == std::string_view::npos;
  if (!digitsOnly || ec != std::errc() || end != value.data() + value.size() ||
      number < range.low || number > range.high) {
    *error = NameOf(key) + " takes a whole number from " + std::to_string(range.low) + " to " +
             std::to_string(range.high) + ", not \"" + std::string(value) + "\"";
    return false;
  }
  return true;
}

std::optional<Assignment> ParseAssignment(std::string_view text, std::string* error) {
  const auto dot = text.find('.');
  const auto eq = text.find('=');
  if (dot == std::string_view::npos || eq == std::string_view::npos || dot > eq) {
    *error = "\"" + std::string(text) + "\" is not Section.Key=Value";
    return std::nullopt;
  }
  const std::string_view section = text.substr(0, dot);
  const std::string_view name = text.substr(dot + 1, eq - dot - 1);
  const std::string_view value = text.substr(eq + 1);
  for (const ConfigKey& key : ManagedConfigKeys()) {
    if (!SameProfileName(section, key.section) || !SameProfileName(name, key.key)) continue;
    if (!CheckValue(key, value, error)) return std::nullopt;
    return Assignment{key, std::string(value)};
  }
  std::string known;
  for (const ConfigKey& key : ManagedConfigKeys()) known += " " + NameOf(key);
  *error =
      std::string(section) + "." + std::string(name) + " is not a setting (settings:" + known + ")";
  return std::nullopt;
}

std::vector<Assignment> DefaultAssignments() {
  std::vector<Assignment> values;
  for (const ConfigKey& key : ManagedConfigKeys()) values.push_back({key, key.defaultValue});
  return values;
}

bool WriteAssignments(const std::string& folder, const std::vector<Assignment>& values,
                      std::string* error) {
  std::map<std::string, ProfileText> files;
  for (const Assignment& a : values) {
    const std::string path = folder + a.key.file;
    if (!files.count(path)) {
      auto profile = LoadProfile(path, error);
      if (!profile) return false;
      files.emplace(path, std::move(*profile));
    }
    files.at(path).Set(a.key.section, a.key.key, a.value);
  }
  for (const auto& [path, profile] : files) {
    if (!SaveProfile(path, profile, error)) return false;
  }
  return true;
}

std::string ValueOf(const std::vector<EffectiveValue>& values, std::string_view section,
                    std::string_view key) {
  for (const EffectiveValue& v : values) {
    if (SameProfileName(v.key.section, section) && SameProfileName(v.key.key, key)) return v.value;
  }
  return {};
}

int ZoomFor(bool fitToScreen, int width, int height) {
  HeadlessPlatform platform;
  Settings settings;
  settings.FitToScreen = fitToScreen;
  settings.DisplayScale = 1;
  SetDisplayResolution(platform, settings, width, height);
  return settings.DisplayScale;
}

GameView ViewOf(const std::string& folder) {
  // The game's own start-up steps on a display that offers the 320 x 200 modes.
  HeadlessPlatform platform;
  Settings settings;
  Tracer quiet;
  SoundSystem sound(quiet);
  Ventana v(platform, settings, sound, quiet);
  settings.ProgramFolder = folder;
  std::string ddrawText;
  ReadConfiguration(v, ddrawText);
  SetUpDisplay(platform, settings, ddrawText);

  GameView view;
  view.fullScreen = platform.display().exclusiveMode;
  view.fitToScreen = settings.FitToScreen;
  view.width = static_cast<int>(LeadingNumber(settings.ScreenWidthText));
  view.height = static_cast<int>(LeadingNumber(settings.ScreenHeightText));
  view.zoom = ZoomFor(settings.FitToScreen, view.width, view.height);
  view.enemies = settings.MaxEnemies + 1;  // slots 0 to MaxEnemies
  view.rarity = settings.SpawnRarityScale;
  view.sound = settings.SoundOn;
  view.music = settings.MusicOn;
  view.mainFileMissing = !platform.messages().empty();
  return view;
}

std::string HowOften(float rarity) {
  if (rarity <= 2) return "very often";
  if (rarity <= 4) return "often";
  if (rarity <= 5) return "now and then";
  return "seldom";
}

}  // namespace zendor::setup
