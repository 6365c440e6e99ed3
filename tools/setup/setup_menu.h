#pragma once

#include <string>
#include <vector>

#include "setup/setup_values.h"

namespace zendor::setup {

struct ScreenSize {
  int width = 0, height = 0;
  bool operator==(const ScreenSize&) const = default;
};

// The set-up screen's choices and where the player stands, without any drawing: one row per
// setting, each with the values it offers and a line on what the chosen one means.
class SetupMenu {
 public:
  enum class Row { Display, FitToScreen, ScreenSize, Difficulty, Sound, Music, Save, Count };
  enum class Action { None, Save, Leave };

  // Starts from the values the files hold; `desktopSizes` are the sizes the screen offers.
  SetupMenu(const std::vector<EffectiveValue>& values, std::vector<ScreenSize> desktopSizes);

  // Arrows move and change, Enter saves, Escape leaves.
  Action OnKey(int virtualKey);

  int selected() const { return selected_; }
  // The row's name and its chosen value, as shown.
  std::string Label(Row row) const;
  std::string Value(Row row) const;
  // What the selected row's chosen value means to the player.
  std::string Explanation() const;

  // The keys the player changed, with their new values (what saving writes).
  std::vector<Assignment> Changes() const;

  const std::vector<ScreenSize>& sizes() const { return sizes_; }

 private:
  void Change(int step);
  std::string Current(const char* key) const;
  void SetValue(const char* key, const std::string& value);
  int SizeIndex() const;

  std::vector<Assignment> values_;  // every managed key
  std::vector<bool> changed_;
  std::vector<ScreenSize> sizes_;  // index 0 is 0 x 0, the desktop as it is
  int selected_ = 0;
};

}  // namespace zendor::setup
