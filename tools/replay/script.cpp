#include "replay/script.h"
#include "platform/text_lines.h"

#include <cctype>
#include <map>
#include <sstream>

namespace zendor::replay {
namespace {

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace

int KeyCodeFromName(const std::string& name) {
  static const std::map<std::string, int> kNames = {
      {"LEFT", 37},  {"RIGHT", 39},    {"UP", 38},        {"DOWN", 40}, {"CTRL", 17},
      {"PAUSE", 19}, {"ESC", 27},      {"TAB", 9},        {"F10", 121}, {"F11", 122},
      {"F12", 123},  {"KP_PLUS", 107}, {"KP_MINUS", 109}, {"SPACE", 32}};
  if (const auto it = kNames.find(name); it != kNames.end()) return it->second;
  if (name.size() == 1 && std::isdigit(static_cast<unsigned char>(name[0]))) return name[0];
  if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return name[0];
  if (name.size() >= 2 && name.size() <= 3 && AllDigits(name)) {
    const int code = std::stoi(name);
    return code <= 255 ? code : -1;
  }
  return -1;
}

std::optional<std::vector<ScriptedKey>> ParseScript(const std::string& text, std::string* error) {
  std::vector<ScriptedKey> events;
  TextLines lines(text);
  std::string line;
  auto fail = [&](const std::string& why) {
    if (error) *error = lines.Complaint(why);
    return std::nullopt;
  };
  while (lines.Next(line)) {
    std::istringstream words(line);
    std::string time, kind, key, extra;
    if (!(words >> time)) continue;  // blank
    if (time[0] == '#') continue;
    if (!(words >> kind >> key)) return fail("expected \"<ms> down|up|repeat <key>\"");
    if (words >> extra) return fail("unexpected \"" + extra + "\" after the key");
    if (!AllDigits(time) || time.size() > 9)
      return fail("\"" + time + "\" is not a time in milliseconds");
    ScriptedKey event;
    event.time = static_cast<std::uint32_t>(std::stoul(time));
    if (kind == "down") {
      event.kind = ScriptedKey::Kind::Down;
    } else if (kind == "up") {
      event.kind = ScriptedKey::Kind::Up;
    } else if (kind == "repeat") {
      event.kind = ScriptedKey::Kind::Repeat;
    } else {
      return fail("\"" + kind + "\" is not down, up or repeat");
    }
    event.virtualKey = KeyCodeFromName(key);
    if (event.virtualKey < 0) return fail("\"" + key + "\" is not a key name or code");
    if (!events.empty() && event.time < events.back().time) {
      return fail("time " + time + " is before the previous event's " +
                  std::to_string(events.back().time));
    }
    events.push_back(event);
  }
  return events;
}

}  // namespace zendor::replay
