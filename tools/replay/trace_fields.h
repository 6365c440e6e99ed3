#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zendor::replay {

// Trims a trace to what a reader needs: frame lines keep their type, time and frame number and
// only the named fields (an enemy field as "Enemies.X" keeps that field and the slot of every
// enemy record, "Enemies" the whole records); every other line stays whole. With changes only,
// a frame line whose kept fields equal the last frame's is left out (the first frame of a game
// is always written).
class TraceFields {
 public:
  // `list` holds names separated by commas; an unknown name is an error naming it.
  static std::optional<TraceFields> Parse(std::string_view list, bool changesOnly,
                                          std::string* error);

  // The line as it is to be written, or nullopt to leave it out.
  std::optional<std::string> Apply(const std::string& line);

  // Every field of a frame line, in the order the trace writes them.
  static const std::vector<std::string_view>& FrameFields();
  static const std::vector<std::string_view>& EnemyFields();

 private:
  std::vector<std::string> frameFields_;
  std::vector<std::string> enemyFields_;
  bool wholeEnemies_ = false;
  bool changesOnly_ = false;
  std::string lastKept_;
};

// The top-level members of one JSON object, as name and raw value text; nullopt for text that
// is not one object.
std::optional<std::vector<std::pair<std::string, std::string>>> SplitJsonObject(
    std::string_view text);

}  // namespace zendor::replay
