#pragma once

#include <cstdint>

#include "platform/surface.h"

// The night sky's parts, shared by the level's sky and the loading picture.
namespace zendor::datagen {

// Gradient from black-violet at the top to the horizon colour on row `horizon`, with the
// drifting magenta nebula; covers rows 0..horizon of every column.
void PaintSkyBackdrop(Surface& s, int horizon);
// A banded gas giant with its ring, lit from the upper left.
void PaintRingedPlanet(Surface& s, double cx, double cy, double r);
// A small cratered moon.
void PaintMoon(Surface& s, double cx, double cy, double r);
// Far mountain ranges standing on the horizon row, their feet lost in haze.
void PaintMountains(Surface& s, int horizon, std::uint32_t seed);
// Scattered stars of a few sizes and tints in rows top..bottom; x wraps round the width.
void PaintStarField(Surface& s, int top, int bottom, int count, std::uint64_t seed);

}  // namespace zendor::datagen
