#pragma once

#include <string>

#include "common/temp_registry.h"
#include "common/ventana.h"

namespace zendor {

// Saves the loading picture and five darker copies as "pan0.tmp" .. "pan5.tmp". False when the
// series could not be written at all (no picture, a file could not be created or reopened), with
// the reason in `why`; the start-up then leaves the sounds and music packed as well.
bool MakeStillFades(Ventana& v, std::string* why = nullptr);
// Restores the stored sound and music files into "snd<N>.tmp" and "mus<N>.tmp". A stored file
// that is there but cannot be read or restored is named once on standard error; a missing one
// just leaves its slot empty.
void UnpackSoundAndMusic(Ventana& v);

// The shipped file of sound slot `n` and of theme `n`, inside the program folder.
std::string StoredSoundName(int n);
std::string StoredThemeName(int n);
// Their restored copies inside the temporary folder.
std::string UnpackedSoundName(int n);
std::string UnpackedThemeName(int n);

// The file name of fade picture `index` in the temporary folder.
std::string FadePictureName(int index);

}  // namespace zendor
