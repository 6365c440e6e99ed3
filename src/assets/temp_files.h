#pragma once

#include <string>

#include "assets/temp_registry.h"
#include "game/ventana.h"

namespace zendor {

// Saves the loading picture and five darker copies as "pan0.tmp" .. "pan5.tmp". False when the
// series could not be written at all (a file could not be created or reopened); the start-up
// then leaves the sounds and music packed as well.
bool MakeStillFades(Ventana& v);
// Restores the stored sound and music files into "snd<N>.tmp" and "mus<N>.tmp".
void UnpackSoundAndMusic(Ventana& v);

// The file name of fade picture `index` in the temporary folder.
std::string FadePictureName(int index);

}  // namespace zendor
