#pragma once

#include <array>
#include <span>

#include "platform/surface.h"

// The one palette every picture of the game is painted with: a handful of colour ramps, each
// ordered from its darkest to its lightest shade. Light falls from the upper left, where the
// ringed planet hangs in the sky.
namespace zendor::datagen::pal {

using Ramp = std::span<const Pixel>;

// Near-black used for every outline; pure black is reserved for "nothing here" in sprites.
inline constexpr Pixel kOutline = Rgb(12, 6, 24);
inline constexpr Pixel kDeepShadow = Rgb(20, 10, 36);
// The level strip's clear colour, which the bottom of the sky meets.
inline constexpr Pixel kHorizon = Rgb(50, 0, 152);
inline constexpr Pixel kWhite = Rgb(255, 255, 255);
inline constexpr Pixel kStarWhite = Rgb(244, 240, 255);

inline constexpr std::array kNightArray = {Rgb(6, 2, 18),    Rgb(12, 4, 32),    Rgb(20, 6, 52),
                                           Rgb(30, 6, 78),   Rgb(40, 4, 112),   Rgb(50, 0, 152),
                                           Rgb(74, 30, 172), Rgb(106, 70, 196), Rgb(150, 120, 220)};
inline constexpr std::array kStoneArray = {Rgb(26, 18, 40),   Rgb(40, 28, 60),   Rgb(58, 42, 82),
                                           Rgb(80, 60, 106),  Rgb(106, 84, 130), Rgb(136, 112, 156),
                                           Rgb(172, 150, 188)};
inline constexpr std::array kMossArray = {Rgb(14, 48, 62), Rgb(20, 84, 90), Rgb(30, 124, 116),
                                          Rgb(62, 176, 146), Rgb(146, 232, 192)};
inline constexpr std::array kLavaArray = {Rgb(70, 10, 34),   Rgb(128, 18, 36),  Rgb(196, 44, 28),
                                          Rgb(240, 104, 24), Rgb(255, 172, 40), Rgb(255, 230, 120),
                                          Rgb(255, 250, 216)};
inline constexpr std::array kSuitArray = {Rgb(46, 48, 80), Rgb(78, 86, 122), Rgb(120, 132, 168),
                                          Rgb(170, 182, 210), Rgb(222, 228, 242)};
inline constexpr std::array kCyanArray = {Rgb(12, 40, 72), Rgb(20, 88, 132), Rgb(36, 150, 196),
                                          Rgb(100, 214, 240), Rgb(204, 250, 255)};
inline constexpr std::array kMetalArray = {Rgb(28, 28, 46), Rgb(50, 52, 72), Rgb(78, 82, 104),
                                           Rgb(114, 118, 142), Rgb(160, 164, 186)};
inline constexpr std::array kOrangeArray = {Rgb(96, 36, 16), Rgb(160, 64, 20), Rgb(220, 110, 30),
                                            Rgb(250, 168, 50), Rgb(255, 222, 110)};
inline constexpr std::array kMagentaArray = {Rgb(60, 12, 56), Rgb(108, 24, 96), Rgb(168, 48, 140),
                                             Rgb(222, 96, 184), Rgb(250, 170, 220)};
inline constexpr std::array kGreenArray = {Rgb(16, 44, 26), Rgb(28, 80, 38), Rgb(52, 124, 44),
                                           Rgb(104, 176, 56), Rgb(184, 226, 96)};
inline constexpr std::array kOchreArray = {Rgb(56, 30, 22), Rgb(100, 54, 30), Rgb(150, 90, 40),
                                           Rgb(200, 136, 60), Rgb(236, 190, 110)};
inline constexpr std::array kSteelArray = {Rgb(24, 34, 60), Rgb(40, 60, 96), Rgb(64, 96, 140),
                                           Rgb(100, 140, 184), Rgb(160, 196, 226)};
inline constexpr std::array kRedArray = {Rgb(90, 10, 30), Rgb(150, 16, 36), Rgb(230, 40, 48),
                                         Rgb(255, 120, 110), Rgb(255, 200, 190)};

inline constexpr Ramp kNight{kNightArray};
inline constexpr Ramp kStone{kStoneArray};
inline constexpr Ramp kMoss{kMossArray};
inline constexpr Ramp kLava{kLavaArray};
inline constexpr Ramp kSuit{kSuitArray};
inline constexpr Ramp kCyan{kCyanArray};
inline constexpr Ramp kMetal{kMetalArray};
inline constexpr Ramp kOrange{kOrangeArray};
inline constexpr Ramp kMagenta{kMagentaArray};
inline constexpr Ramp kGreen{kGreenArray};
inline constexpr Ramp kOchre{kOchreArray};
inline constexpr Ramp kSteel{kSteelArray};
inline constexpr Ramp kRed{kRedArray};

// Shade i of a ramp, clamped to its ends.
inline Pixel Shade(Ramp ramp, int i) {
  const int last = static_cast<int>(ramp.size()) - 1;
  return ramp[i < 0 ? 0 : (i > last ? last : i)];
}

}  // namespace zendor::datagen::pal
