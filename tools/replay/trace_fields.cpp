#include "replay/trace_fields.h"

#include <algorithm>

namespace zendor::replay {
namespace {

bool Contains(const std::vector<std::string_view>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool Wanted(const std::vector<std::string>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Length of the JSON value at the start of `text` (a string, an array or object with everything
// nested in it, or a bare number or word); 0 when it is malformed.
std::size_t ValueLength(std::string_view text) {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
        if (depth == 0) return i + 1;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      ++depth;
    } else if (c == ']' || c == '}') {
      if (depth == 0) return i;  // the end of the enclosing object
      if (--depth == 0) return i + 1;
    } else if (c == ',' && depth == 0) {
      return i;
    }
  }
  return depth == 0 && !inString ? text.size() : 0;
}

std::string Join(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string s = "{";
  for (const auto& [name, value] : members) {
    if (s.size() > 1) s += ',';
    s += "\"" + name + "\":" + value;
  }
  return s + "}";
}

}  // namespace

std::optional<std::vector<std::pair<std::string, std::string>>> SplitJsonObject(
    std::string_view text) {
  if (text.size() < 2 || text.front() != '{' || text.back() != '}') return std::nullopt;
  std::vector<std::pair<std::string, std::string>> members;
  std::size_t at = 1;
  while (at < text.size() - 1) {
    if (text[at] != '"') return std::nullopt;
    const std::size_t nameEnd = text.find('"', at + 1);
    if (nameEnd == std::string_view::npos || nameEnd + 1 >= text.size() ||
        text[nameEnd + 1] != ':') {
      return std::nullopt;
    }
    const std::string_view rest = text.substr(nameEnd + 2, text.size() - 1 - (nameEnd + 2));
    const std::size_t length = ValueLength(rest);
    if (length == 0) return std::nullopt;
    members.emplace_back(std::string(text.substr(at + 1, nameEnd - at - 1)),
                         std::string(rest.substr(0, length)));
    at = nameEnd + 2 + length;
    if (at < text.size() - 1) {
      if (text[at] != ',') return std::nullopt;
      ++at;
    }
  }
  return members;
}

const std::vector<std::string_view>& TraceFields::FrameFields() {
  static const std::vector<std::string_view> names = {
      "ScrollX",     "StarDrift",   "CurrentSection", "HeroState",   "HeroY",          "HeroStep",
      "HeroWidth",   "HeroOffsetX", "CrouchDrop",     "GroundY",     "ApexLimitY",     "ApexPause",
      "JumpFalling", "PitFall",     "OnIsland",       "Walking",     "HeroActive",     "HeroLocked",
      "HeroBusy",    "HeroCaught",  "EndReached",     "Respawning",  "DeathCountdown", "Lives",
      "Score",       "Playing",     "FrameDelay",     "ScrollSpeed", "AnimationFrame", "IslandY",
      "Enemies"};
  return names;
}

const std::vector<std::string_view>& TraceFields::EnemyFields() {
  static const std::vector<std::string_view> names = {
      "Active", "Busy", "Kind", "X", "Y", "Frame", "MovingLeft", "HopStep", "Speed"};
  return names;
}

std::optional<TraceFields> TraceFields::Parse(std::string_view list, bool changesOnly,
                                              std::string* error) {
  TraceFields fields;
  fields.changesOnly_ = changesOnly;
  std::size_t at = 0;
  while (at <= list.size()) {
    const std::size_t comma = std::min(list.find(',', at), list.size());
    const std::string_view name = list.substr(at, comma - at);
    at = comma + 1;
    if (name.empty()) continue;
    constexpr std::string_view kEnemyPrefix = "Enemies.";
    if (name.starts_with(kEnemyPrefix) &&
        Contains(EnemyFields(), name.substr(kEnemyPrefix.size()))) {
      fields.enemyFields_.emplace_back(name.substr(kEnemyPrefix.size()));
    } else if (name == "Enemies") {
      fields.wholeEnemies_ = true;
    } else if (Contains(FrameFields(), name)) {
      fields.frameFields_.emplace_back(name);
    } else {
      *error = "--trace-fields: no frame field \"" + std::string(name) + "\"";
      return std::nullopt;
    }
  }
  if (fields.frameFields_.empty() && fields.enemyFields_.empty() && !fields.wholeEnemies_) {
    *error = "--trace-fields needs at least one frame field";
    return std::nullopt;
  }
  return fields;
}

std::optional<std::string> TraceFields::Apply(const std::string& line) {
  const auto members = SplitJsonObject(line);
  if (!members || members->empty() || members->front().second != "\"frame\"") return line;
  std::vector<std::pair<std::string, std::string>> kept;
  std::string compared;  // the kept fields but the time and the frame number
  bool firstOfGame = false;
  for (const auto& [name, value] : *members) {
    if (name == "type" || name == "t" || name == "n") {
      kept.emplace_back(name, value);
      if (name == "n") firstOfGame = value == "1";
      continue;
    }
    if (name == "Enemies" && !wholeEnemies_ && !enemyFields_.empty()) {
      std::string records = "[";
      std::string_view rest(value);
      rest = rest.substr(1, rest.size() - 2);
      while (!rest.empty()) {
        const std::size_t length = ValueLength(rest);
        if (length == 0) break;
        const auto record = SplitJsonObject(rest.substr(0, length));
        rest = rest.substr(std::min(length + 1, rest.size()));
        if (!record) continue;
        std::vector<std::pair<std::string, std::string>> trimmed;
        for (const auto& member : *record) {
          if (member.first == "slot" || Wanted(enemyFields_, member.first))
            trimmed.push_back(member);
        }
        if (records.size() > 1) records += ',';
        records += Join(trimmed);
      }
      kept.emplace_back(name, records + "]");
      compared += records + "]";
    } else if ((name == "Enemies" && wholeEnemies_) || Wanted(frameFields_, name)) {
      kept.emplace_back(name, value);
      compared += name + "=" + value + ";";
    }
  }
  if (changesOnly_ && !firstOfGame && compared == lastKept_) return std::nullopt;
  lastKept_ = compared;
  return Join(kept);
}

}  // namespace zendor::replay
