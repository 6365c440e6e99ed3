#include "frontend/loading_fade.h"

namespace zendor {

void PlayPanFrames(Ventana&, std::int16_t, std::int16_t) {}

}  // namespace zendor
