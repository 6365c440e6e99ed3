#pragma once

#include <optional>
#include <string_view>

namespace zendor {

struct Settings;
class Ventana;

// Watches what the program does, for the headless replay's trace. Every call happens at the
// moment the program does the thing; the default does nothing.
class Tracer {
 public:
  virtual ~Tracer() = default;
  virtual void Start(const Settings&) {}
  virtual void Level(const Ventana&) {}
  virtual void Screen(std::string_view /*state*/) {}
  virtual void Frame(const Ventana&) {}
  virtual void Ending(bool /*completed*/) {}
  // A sound-effect operation on entry n ("play" with loop, "stop", "rewind", "volume", "pan",
  // "frequency" and "duplicate" with value).
  virtual void Sound(std::string_view /*op*/, int /*n*/, std::optional<int> /*value*/,
                     std::optional<bool> /*loop*/) {}
  // A music operation: "play" and "stop" with a theme, "volume" with a value.
  virtual void Music(std::string_view /*op*/, std::optional<int> /*theme*/,
                     std::optional<int> /*value*/) {}
  virtual void Message(std::string_view /*text*/) {}
};

}  // namespace zendor
