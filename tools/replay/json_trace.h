#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/tracer.h"

namespace zendor::replay {

// Writes the trace as JSON Lines, one object per event, stamped with the virtual time.
class JsonTrace : public Tracer {
 public:
  JsonTrace(std::FILE* out, std::function<std::uint32_t()> clock, bool withAudio)
      : out_(out), clock_(std::move(clock)), withAudio_(withAudio) {}

  void Start(const Settings& settings) override;
  void Level(const Ventana& v) override;
  void Screen(std::string_view state) override;
  void Frame(const Ventana& v) override;
  void Ending(bool completed) override;
  void Sound(std::string_view op, int n, std::optional<int> value,
             std::optional<bool> loop) override;
  void Music(std::string_view op, std::optional<int> theme, std::optional<int> value) override;
  void Message(std::string_view text) override;
  void Exit(std::string_view reason);

  // Every line passes through the filter before it is written: it may change the line or, by
  // returning nullopt, leave it out.
  using LineFilter = std::function<std::optional<std::string>(const std::string&)>;
  void SetLineFilter(LineFilter filter) { filter_ = std::move(filter); }

 private:
  void Line(const std::string& body);
  std::string Head(std::string_view type) const;

  std::FILE* out_;
  std::function<std::uint32_t()> clock_;
  bool withAudio_;
  LineFilter filter_;
};

// JSON text helpers.
std::string JsonString(std::string_view text);
std::string JsonNumber(double value);

}  // namespace zendor::replay
