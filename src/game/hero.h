#pragma once

#include "common/ventana.h"

namespace zendor {

// Key presses of the six bound actions (the pause binding is the game loop's).
void HeroKeyRight(Ventana& v);
void HeroKeyLeft(Ventana& v);
void HeroKeyUp(Ventana& v);
void HeroKeyDown(Ventana& v);
void HeroKeyFire(Ventana& v);
// A released key, compared with the bindings (up, right, down, left, fire; first match).
void HeroKeyRelease(Ventana& v, int keyCode);

// The hero's per-frame upkeep: walking step, state changes, held keys, jumps, attack steps.
void HeroUpkeep(Ventana& v);
// Now and then a standing hero makes an idle gesture.
void IdleGesture(Ventana& v);
// Run right after pit i is drawn: a hero standing wholly over it falls.
void PitFallTest(Hero& h, GameState& g, const LevelTables& l, int pit);
// A touch or the lava: the hero stands still and starts exploding.
void CatchHero(Hero& h);

}  // namespace zendor
