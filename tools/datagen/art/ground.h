#pragma once

#include "datagen/art/art_random.h"
#include "platform/surface.h"

// The walkable ground: its top surface seen from above at an angle (17 rows, screen y 88..104)
// and the cliff face under it (15 rows, y 105..119). Every piece that shows ground paints the
// same texture, which repeats every 24 columns on the top surface (every piece there is a
// multiple of 8 wide and starts on a repeat, or passes its phase) and every 8 columns on the
// cliff face (a floor piece is also cropped 8 columns in), so pieces join in any order.
// Details (pebbles, cracks, moss, crystals, worn patches) stay inside each piece, clear of
// its edges.
namespace zendor::datagen {

inline constexpr int kGroundTopRows = 17;
inline constexpr int kGroundFaceRows = 15;
inline constexpr int kGroundTopPeriod = 24;
inline constexpr int kGroundFacePeriod = 8;

// Top surface in rows top..top+16 of columns x0..x1 (inclusive). Column x shows the texture
// of ground column (x - x0 + phase).
void PaintGroundTop(Surface& s, int x0, int x1, int top, int phase = 0);
// Cliff face in rows top..top+14 of columns x0..x1.
void PaintGroundFace(Surface& s, int x0, int x1, int top, int phase = 0);

// Details for the top surface: scattered within columns x0..x1, rows top..top+16.
void ScatterPebbles(Surface& s, ArtRandom& rng, int x0, int x1, int top, int count);
void PaintMoss(Surface& s, ArtRandom& rng, int cx, int cy, int radius);
void PaintCrystal(Surface& s, int x, int baseY, int height);
// Details for the cliff face.
void ScatterFaceDetails(Surface& s, ArtRandom& rng, int x0, int x1, int top, int count);

// The chasm between two stretches of ground (32 rows, y 88..119): a depth gradient that is the
// same in every column, and, at picture column x, the faint glow far below.
Pixel ChasmShade(int row, int x);
Pixel ChasmColour(int row, int x);

}  // namespace zendor::datagen
