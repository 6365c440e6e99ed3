#pragma once

#include "common/ventana.h"

namespace zendor {

// Starts a game from the menu and returns when its loop has ended.
void Jugar(Ventana& v);
// The per-frame loop; returns when Playing is false at the top of a pass.
void RunGameLoop(Ventana& v);
// In-game keys (and every key on the ending screen, as Escape).
void HandleGameKey(Ventana& v, int keyCode);
// Starts section theme n looping at full volume.
void StartTheme(Ventana& v, int theme);
void ClearEnemies(Ventana& v);
void ResetHero(Hero& h, GameState& g);
void RewindStep(GameState& g, Hero& h, const LevelTables& l);

}  // namespace zendor
