#include "world/playfield.h"

namespace zendor {

void DrawStars(Ventana&) {}
void DrawStartPiece(Ventana&) {}
void DrawAnimatedPiece(Ventana&, int) {}
void DrawTallProp(Ventana&, int) {}
void DrawEndPiece(Ventana&, bool) {}
void DrawPit(Ventana&, int) {}
void DrawIsland(Ventana&, int) {}
void DrawSkyStarsAndStartPiece(Ventana&) {}
void AdvanceAnimation(Ventana&) {}
void UpdateAnimatedPieces(Ventana&) {}
void DrawBackProps(Ventana&) {}
void UpdateIslandsAndPits(Ventana&) {}
void DrawEndPieceInFront(Ventana&) {}

}  // namespace zendor
