#pragma once

#include "common/ventana.h"

namespace zendor {

// The strip column at the view's left edge: ScrollX in whole pixels.
int ViewLeft(const GameState& g);

// Drawing routines of the scrolling world. "Into the strip" draws on Fondo at strip x; "onto the
// frame" draws on temp at screen x = strip x - ScrollX.
void DrawStars(Ventana& v);
void DrawStartPiece(Ventana& v);
void DrawAnimatedPiece(Ventana& v, int i);  // in its current AnimationFrame
void DrawAnimatedPieceFrame(Ventana& v, int i, int frame);
void DrawTallProp(Ventana& v, int i);
void DrawEndPiece(Ventana& v, bool inStrip);
void DrawPit(Ventana& v, int i);
void DrawIsland(Ventana& v, int i);

// The per-frame world layers, in the order the game loop runs them.
void DrawSkyStarsAndStartPiece(Ventana& v);  // sky under the view, stars, the start piece
void AdvanceAnimation(GameState& g);         // next frame of the animated pieces
void UpdateAnimatedPieces(Ventana& v);       // their sound, drawing, deadly contact, hop trigger
void DrawBackProps(Ventana& v);              // end piece behind the hero, tall props
void UpdateIslandsAndPits(Ventana& v);       // island motion and footing, pits, islands drawn
void DrawEndPieceInFront(Ventana& v);        // once the hero has entered it

}  // namespace zendor
