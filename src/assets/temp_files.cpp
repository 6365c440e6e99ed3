#include "assets/temp_files.h"

namespace zendor {

void MakeStillFades(Ventana&) {}
void UnpackSoundAndMusic(Ventana&) {}

}  // namespace zendor
