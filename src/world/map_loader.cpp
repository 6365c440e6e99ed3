#include "world/map_loader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "common/int16.h"
#include "common/settings.h"
#include "common/sound_catalogue.h"
#include "common/tracer.h"
#include "platform/blit.h"
#include "platform/whole_file.h"
#include "world/map_values.h"
#include "world/playfield.h"

namespace zendor {
namespace {

constexpr const char* kMapFileName = "zendor.map";
// Far more than a level of 32767 pixels can hold, even written with generous blanks.
constexpr std::size_t kLargestMap = std::size_t{1} << 20;

constexpr int kStripGroundRow = 105;  // where the ground pieces stand in the strip
constexpr int kGroundPieceHeight = 15;
constexpr int kStartPieceWidth = 92;
constexpr int kFirstSectionOffset = 16;  // a section restarts a little past its mark
constexpr int kFirstSectionMusic = kTheme07Exploration;
constexpr int kTileWidth = 48, kNarrowWidth = 16;
constexpr int kAnimatedPieceWidth = 72, kTallPropWidth = 48, kEndPieceWidth = 112;
constexpr int kPitY = 88, kPitHeight = 32;
constexpr int kViewWidth = 240;

// Map items.
constexpr int kAnimatedPiece = 4, kLeftEdge = 5, kPit = 6, kRightEdge = 7, kTallProp = 8,
              kEndPiece = 9;
constexpr int kOpenZoneA = -1, kOpenZoneB = -2, kCloseZoneA = -11, kCloseZoneB = -22;
constexpr int kSectionMark = 69, kIsland = 72;

// Ground pieces under the items.
constexpr int kGroundUnderTile = 0, kGroundUnderLava = 1, kGroundUnderLeftEdge = 2,
              kGroundUnderRightEdge = 3, kGroundUnderTallProp = 4;

// Why the loading stopped, and at which value.
struct MapFault {
  const MapValue* at;
  std::string reason;
};

// Reads the map value by value and applies each item to the level. An item whose values or
// effects do not fit (a missing parameter, an unknown tile, a full table, a position beyond the
// 16-bit range) stops the loading before it changes anything.
class MapBuilder {
 public:
  MapBuilder(Ventana& v, std::vector<MapValue> values) : v_(v), values_(std::move(values)) {}

  void Build() {
    LevelTables& l = v_.level;
    l.SectionStartX[0] = 8;
    l.LastSectionEntry = 0;
    while (next_ < values_.size()) {
      const MapValue& itemValue = values_[next_];
      const std::int16_t item = Read("item");
      ApplyItem(item, itemValue);
      ResizeStrip(itemValue);
    }
    if (section_ >= LevelTables::kSections) {
      throw MapFault{values_.empty() ? nullptr : &values_.back(),
                     "the level has more than 63 section marks, so its end cannot be recorded"};
    }
    l.SectionStartX[static_cast<std::size_t>(section_)] = cursor_;
    l.LastSectionEntry = static_cast<std::int16_t>(section_);
  }

 private:
  std::int16_t Read(const char* what) {
    if (next_ >= values_.size()) {
      throw MapFault{&values_[next_ - 1], std::string("the file ends before its ") + what};
    }
    const MapValue& value = values_[next_++];
    std::int16_t number = 0;
    std::string reason;
    if (!ParseMapNumber(value, number, reason)) throw MapFault{&value, reason};
    return number;
  }

  // The cursor after an item `width` wide.
  std::int16_t Advanced(int width, const MapValue& at) const {
    const auto moved = Fit16(static_cast<double>(cursor_) + width);
    if (!moved) throw MapFault{&at, "the level grows past 32767 pixels"};
    return *moved;
  }

  static void NeedRoom(int count, int capacity, const char* what, const MapValue& at) {
    if (count >= capacity) {
      throw MapFault{&at, "more than " + std::to_string(capacity) + " " + what};
    }
  }

  void ApplyItem(std::int16_t item, const MapValue& at) {
    LevelTables& l = v_.level;
    const std::int16_t x = cursor_;
    switch (item) {
      case kAnimatedPiece: {
        NeedRoom(l.AnimatedPieceCount, LevelTables::kListEntries, "lava pools", at);
        const std::int16_t after = Advanced(kAnimatedPieceWidth, at);
        l.AnimatedPieceCount += 1;
        l.AnimatedPieceX[static_cast<std::size_t>(l.AnimatedPieceCount)] = x;
        DrawAnimatedPieceFrame(v_, l.AnimatedPieceCount, 0);
        DrawGroundPiece(v_, x, kGroundUnderLava);
        cursor_ = after;
        return;
      }
      case kLeftEdge:
      case kRightEdge: {
        const std::int16_t after = Advanced(kNarrowWidth, at);
        DrawGroundPiece(v_, x, item == kLeftEdge ? kGroundUnderLeftEdge : kGroundUnderRightEdge);
        DrawStanding(v_.sheets.Mapa[static_cast<std::size_t>(item)], x, kNarrowWidth);
        cursor_ = after;
        return;
      }
      case kPit: {
        const std::int16_t width = Read("pit width");
        NeedRoom(l.PitCount, LevelTables::kPits, "pits", at);
        const std::int16_t after = Advanced(width, at);
        l.PitCount += 1;
        l.PitX[static_cast<std::size_t>(l.PitCount)] = x;
        l.PitWidth[static_cast<std::size_t>(l.PitCount)] = width;
        // The same screen-fixed texture the pit shows in play, seen from the loading position.
        const int sourceX = x - ViewLeft(v_.game);
        BitBlt(v_.sheets.Fondo, x, kPitY, width, kPitHeight, v_.sheets.Mapa[kPit], sourceX, 0,
               Rop::SrcCopy);
        cursor_ = after;
        return;
      }
      case kTallProp: {
        NeedRoom(l.TallPropCount, LevelTables::kListEntries, "rock columns", at);
        const std::int16_t after = Advanced(kTallPropWidth, at);
        l.TallPropCount += 1;
        l.TallPropX[static_cast<std::size_t>(l.TallPropCount)] = x;
        DrawTallProp(v_, l.TallPropCount);
        DrawGroundPiece(v_, x, kGroundUnderTallProp);
        cursor_ = after;
        return;
      }
      case kEndPiece:
        // Drawn every frame, never into the strip.
        cursor_ = Advanced(kEndPieceWidth, at);
        l.EndPieceX = x;
        return;
      case kOpenZoneA:
      case kOpenZoneB: {
        const std::int16_t kind = Read("enemy kind");
        const std::int16_t rarity = Read("spawn rarity");
        const bool a = item == kOpenZoneA;
        const std::int16_t count = a ? l.SpawnZoneACount : l.SpawnZoneBCount;
        NeedRoom(count, LevelTables::kZones, a ? "first-family zones" : "second-family zones", at);
        SpawnZone& zone = (a ? l.SpawnZoneA : l.SpawnZoneB)[static_cast<std::size_t>(count)];
        zone.StartX = x;
        zone.Kind = kind;
        zone.Rarity = rarity;
        return;
      }
      case kCloseZoneA:
      case kCloseZoneB: {
        const bool a = item == kCloseZoneA;
        std::int16_t& count = a ? l.SpawnZoneACount : l.SpawnZoneBCount;
        NeedRoom(count, LevelTables::kZones, a ? "first-family zones" : "second-family zones", at);
        (a ? l.SpawnZoneA : l.SpawnZoneB)[static_cast<std::size_t>(count)].EndX = x;
        count += 1;
        return;
      }
      case kSectionMark: {
        const std::int16_t offset = Read("section offset");
        NeedRoom(section_ - 1, LevelTables::kSections - 1, "section marks", at);
        const auto start =
            Fit16(static_cast<double>(x) - kStartPieceWidth + kFirstSectionOffset + offset);
        if (!start) throw MapFault{&at, "the section starts beyond the game's numbers"};
        const auto n = static_cast<std::size_t>(section_);
        l.SectionStartX[n] = *start;
        l.SectionMusic[n] = section_ == 1 ? kFirstSectionMusic
                                          : static_cast<std::int16_t>(l.SectionMusic[n - 1] + 1);
        l.LastSectionEntry = section_;
        section_ += 1;
        return;
      }
      case kIsland: {
        const std::int16_t offset = Read("island offset");
        NeedRoom(l.IslandCount, LevelTables::kListEntries, "islands", at);
        const auto islandX = Fit16(static_cast<double>(x) + offset);
        if (!islandX) throw MapFault{&at, "the island lies beyond the game's numbers"};
        l.IslandCount += 1;
        l.Island[static_cast<std::size_t>(l.IslandCount)].X = *islandX;
        return;
      }
      default: {
        if (item < 0 || item >= static_cast<int>(v_.sheets.Mapa.size())) {
          throw MapFault{&at, "tile code " + std::to_string(item) + " has no picture"};
        }
        const std::int16_t after = Advanced(kTileWidth, at);
        DrawGroundPiece(v_, x, kGroundUnderTile);
        DrawStanding(v_.sheets.Mapa[static_cast<std::size_t>(item)], x, kTileWidth);
        cursor_ = after;
        return;
      }
    }
  }

  // A piece standing on the ground line, as high as its picture.
  void DrawStanding(const Surface& piece, int x, int width) {
    BitBlt(v_.sheets.Fondo, x, kStripGroundRow - piece.height(), width, piece.height(), piece, 0, 0,
           Rop::SrcCopy);
  }

  // The strip always reaches a view's width beyond the cursor. Its room grows by doubling, so
  // a long level is not copied again for every item.
  void ResizeStrip(const MapValue& at) {
    Surface& strip = v_.sheets.Fondo;
    const long width = std::lrint(cursor_ + v_.game.ScrollX + kViewWidth);
    if (width < 1) throw MapFault{&at, "the level runs back past its own start"};
    strip.reserveWidth(static_cast<int>(width));
    strip.resize(static_cast<int>(width), strip.height());
  }

  Ventana& v_;
  std::vector<MapValue> values_;
  std::size_t next_ = 0;
  std::int16_t cursor_ = kStartPieceWidth;
  std::int16_t section_ = 1;
};

void Report(const std::string& path, const MapFault& fault) {
  std::string place;
  if (fault.at) {
    place =
        " line " + std::to_string(fault.at->line) + ", value " + std::to_string(fault.at->number);
  }
  std::fprintf(stderr, "zendor: %s%s: %s; the level ends there\n", path.c_str(), place.c_str(),
               fault.reason.c_str());
}

}  // namespace

void DrawGroundPiece(Ventana& v, int x, int k) {
  if (k < 0 || k >= static_cast<int>(v.sheets.Suelo.size())) return;
  const Surface& piece = v.sheets.Suelo[static_cast<std::size_t>(k)];
  BitBlt(v.sheets.Fondo, x, kStripGroundRow, piece.width(), kGroundPieceHeight, piece, 0, 0,
         Rop::SrcCopy);
}

void LoadMap(Ventana& v) {
  std::string path = v.settings.ProgramFolder;
  if (!path.empty() && path.back() != '/') path += '/';
  path += kMapFileName;
  std::string text, error;
  if (!ReadWholeText(path, text, kLargestMap, &error)) {
    std::fprintf(stderr, "zendor: %s: %s; the level is empty\n", path.c_str(), error.c_str());
  } else {
    MapBuilder builder(v, SplitMapValues(text));
    try {
      builder.Build();
    } catch (const MapFault& fault) {
      Report(path, fault);
    }
    v.sheets.Fondo.releaseSpareWidth();
  }
  v.trace.Level(v);
}

}  // namespace zendor
