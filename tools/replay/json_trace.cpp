#include "replay/json_trace.h"

#include <charconv>
#include <cmath>

#include "common/settings.h"
#include "common/ventana.h"

namespace zendor::replay {
namespace {

std::string Bool(bool b) {
  return b ? "true" : "false";
}

template <typename Table>
std::string List(const Table& table, int first, int last) {
  std::string s = "[";
  for (int i = first; i <= last; ++i) {
    if (i > first) s += ',';
    s += std::to_string(table[static_cast<std::size_t>(i)]);
  }
  return s + "]";
}

std::string Zones(const std::array<SpawnZone, LevelTables::kZones>& zones, int count) {
  std::string s = "[";
  for (int i = 0; i < count && i < LevelTables::kZones; ++i) {
    const SpawnZone& z = zones[static_cast<std::size_t>(i)];
    if (i > 0) s += ',';
    s += "[" + std::to_string(z.EndX) + "," + std::to_string(z.StartX) + "," +
         std::to_string(z.Kind) + "," + std::to_string(z.Rarity) + "]";
  }
  return s + "]";
}

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0 when its first byte
// does not start one (a stray continuation byte, an overlong form, a surrogate, past U+10FFFF,
// or a sequence cut short).
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range allowed for the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string s = "\"";
  for (std::size_t at = 0; at < text.size();) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (c >= 0x80) {
      // Well-formed UTF-8 passes as it is; a byte that is not part of it is written as the
      // character of the same number, so every line stays valid UTF-8.
      const std::size_t length = Utf8SequenceLength(text.substr(at));
      if (length > 0) {
        s.append(text.substr(at, length));
        at += length;
      } else {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", c);
        s += buf;
        ++at;
      }
      continue;
    }
    ++at;
    switch (c) {
      case '"':
        s += "\\\"";
        break;
      case '\\':
        s += "\\\\";
        break;
      case '\n':
        s += "\\n";
        break;
      case '\r':
        s += "\\r";
        break;
      case '\t':
        s += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          s += buf;
        } else {
          s += static_cast<char>(c);
        }
    }
  }
  return s + "\"";
}

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "0";
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    return std::to_string(static_cast<long long>(value));
  }
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

std::string JsonTrace::Head(std::string_view type) const {
  return "{\"type\":\"" + std::string(type) + "\",\"t\":" + std::to_string(clock_());
}

void JsonTrace::Line(const std::string& body) {
  std::optional<std::string> line = body + "}";
  if (filter_) line = filter_(*line);
  if (!line) return;
  std::fputs(line->c_str(), out_);
  std::fputs("\n", out_);
  std::fflush(out_);
}

void JsonTrace::Start(const Settings& s) {
  std::string keys = "[";
  for (std::size_t i = 0; i < s.KeyBindings.size(); ++i) {
    keys += (i ? "," : "") + std::to_string(s.KeyBindings[i]);
  }
  keys += "]";
  Line(Head("start") + ",\"MaxEnemies\":" + std::to_string(s.MaxEnemies) +
       ",\"SpawnRarityScale\":" + JsonNumber(s.SpawnRarityScale) + ",\"DisplayScale\":" +
       std::to_string(s.DisplayScale) + ",\"DisplayOffsetX\":" + std::to_string(s.DisplayOffsetX) +
       ",\"DisplayOffsetY\":" + std::to_string(s.DisplayOffsetY) + ",\"Sound\":" + Bool(s.SoundOn) +
       ",\"Music\":" + Bool(s.MusicOn) + ",\"KeyBindings\":" + keys);
}

void JsonTrace::Level(const Ventana& v) {
  const LevelTables& l = v.level;
  std::string pits = "[";
  for (int i = 1; i <= l.PitCount && i <= LevelTables::kPits; ++i) {
    if (i > 1) pits += ',';
    pits += "[" + std::to_string(l.PitX[i]) + "," + std::to_string(l.PitWidth[i]) + "]";
  }
  pits += "]";
  std::string islands = "[";
  for (int i = 1; i <= l.IslandCount && i <= LevelTables::kListEntries; ++i) {
    islands += (i > 1 ? "," : "") + std::to_string(l.Island[i].X);
  }
  islands += "]";
  Line(Head("level") + ",\"SectionStartX\":" + List(l.SectionStartX, 0, l.LastSectionEntry) +
       ",\"SectionMusic\":" + List(l.SectionMusic, 0, l.LastSectionEntry) +
       ",\"AnimatedPieceX\":" + List(l.AnimatedPieceX, 1, l.AnimatedPieceCount) +
       ",\"TallPropX\":" + List(l.TallPropX, 1, l.TallPropCount) + ",\"Pits\":" + pits +
       ",\"EndPieceX\":" + std::to_string(l.EndPieceX) +
       ",\"SpawnZoneA\":" + Zones(l.SpawnZoneA, l.SpawnZoneACount) +
       ",\"SpawnZoneB\":" + Zones(l.SpawnZoneB, l.SpawnZoneBCount) + ",\"IslandX\":" + islands +
       ",\"FondoWidth\":" + std::to_string(v.sheets.Fondo.width()));
}

void JsonTrace::Screen(std::string_view state) {
  Line(Head("screen") + ",\"ScreenState\":" + JsonString(state));
}

void JsonTrace::Frame(const Ventana& v) {
  const GameState& g = v.game;
  const Hero& h = v.hero;
  std::string s = Head("frame") + ",\"n\":" + std::to_string(g.FrameNumber);
  auto num = [&](const char* name, double value) {
    s += ",\"" + std::string(name) + "\":" + JsonNumber(value);
  };
  auto flag = [&](const char* name, bool value) {
    s += ",\"" + std::string(name) + "\":" + Bool(value);
  };
  num("ScrollX", g.ScrollX);
  num("StarDrift", g.StarDrift);
  num("CurrentSection", g.CurrentSection);
  num("HeroState", h.HeroState);
  num("HeroY", h.HeroY);
  num("HeroStep", h.HeroStep);
  num("HeroWidth", h.HeroWidth);
  num("HeroOffsetX", h.HeroOffsetX);
  num("CrouchDrop", h.CrouchDrop);
  num("GroundY", h.GroundY);
  num("ApexLimitY", h.ApexLimitY);
  num("ApexPause", h.ApexPause);
  flag("JumpFalling", h.JumpFalling);
  flag("PitFall", h.PitFall);
  flag("OnIsland", h.OnIsland);
  flag("Walking", h.Walking);
  flag("HeroActive", h.HeroActive);
  flag("HeroLocked", h.HeroLocked);
  num("HeroBusy", h.HeroBusy);
  flag("HeroCaught", h.HeroCaught);
  flag("EndReached", g.EndReached);
  flag("Respawning", g.Respawning);
  num("DeathCountdown", g.DeathCountdown);
  num("Lives", g.Lives);
  num("Score", g.Score);
  flag("Playing", g.Playing);
  num("FrameDelay", g.FrameDelay);
  num("ScrollSpeed", g.ScrollSpeed);
  num("AnimationFrame", g.AnimationFrame);
  num("IslandY", v.level.Island[1].Y);
  s += ",\"Enemies\":[";
  bool first = true;
  for (std::size_t i = 0; i < g.Enemies.size(); ++i) {
    const Enemy& e = g.Enemies[i];
    const bool busy = i < g.EnemySlotBusy.size() && g.EnemySlotBusy[i];
    if (!e.Active && !busy) continue;
    if (!first) s += ',';
    first = false;
    s += "{\"slot\":" + std::to_string(i) + ",\"Active\":" + Bool(e.Active) +
         ",\"Busy\":" + Bool(busy) + ",\"Kind\":" + std::to_string(e.Kind) +
         ",\"X\":" + std::to_string(e.X) + ",\"Y\":" + std::to_string(e.Y) +
         ",\"Frame\":" + JsonNumber(e.Frame) + ",\"MovingLeft\":" + Bool(e.MovingLeft) +
         ",\"HopStep\":" + std::to_string(e.HopStep) + ",\"Speed\":" + std::to_string(e.Speed) +
         "}";
  }
  s += "]";
  Line(s);
}

void JsonTrace::Ending(bool completed) {
  Line(Head("ending") + ",\"completed\":" + Bool(completed));
}

void JsonTrace::Sound(std::string_view op, int n, std::optional<int> value,
                      std::optional<bool> loop) {
  if (!withAudio_) return;
  std::string s = Head("sound") + ",\"op\":" + JsonString(op) + ",\"n\":" + std::to_string(n);
  if (loop) s += ",\"loop\":" + Bool(*loop);
  if (value) s += ",\"value\":" + std::to_string(*value);
  Line(s);
}

void JsonTrace::Music(std::string_view op, std::optional<int> theme, std::optional<int> value) {
  if (!withAudio_) return;
  std::string s = Head("music") + ",\"op\":" + JsonString(op);
  if (theme) s += ",\"n\":" + std::to_string(*theme);
  if (value) s += ",\"value\":" + std::to_string(*value);
  Line(s);
}

void JsonTrace::Message(std::string_view text) {
  Line(Head("message") + ",\"text\":" + JsonString(text));
}

void JsonTrace::Exit(std::string_view reason) {
  Line(Head("exit") + ",\"reason\":" + JsonString(reason));
}

}  // namespace zendor::replay
