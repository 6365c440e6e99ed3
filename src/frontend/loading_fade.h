#pragma once

#include <cstdint>

#include "common/ventana.h"

namespace zendor {

// Shows the loading picture's fade series from picture `from` to picture `to`, both included.
void PlayPanFrames(Ventana& v, std::int16_t from, std::int16_t to);

}  // namespace zendor
