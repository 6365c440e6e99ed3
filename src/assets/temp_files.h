#pragma once

#include "assets/temp_registry.h"
#include "game/ventana.h"

namespace zendor {

// Saves the loading picture and five darker copies as "pan0.tmp" .. "pan5.tmp".
void MakeStillFades(Ventana& v);
// Restores the stored sound and music files into "snd<N>.tmp" and "mus<N>.tmp".
void UnpackSoundAndMusic(Ventana& v);

}  // namespace zendor
