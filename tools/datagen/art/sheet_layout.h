#pragma once

#include <span>

#include "platform/surface.h"

// Assembling painted frames into the layouts the game reads: frames side by side, and the
// mask that goes with the image (black where the image has figure, white elsewhere).
namespace zendor::datagen {

// Equal-sized frames placed side by side from x = 0.
Surface JoinFrames(std::span<const Surface> frames);
// Black where the image has figure (any colour but pure black), white elsewhere.
Surface MaskOf(const Surface& image);
// The image over its mask (the usual masked sheet).
Surface WithMaskBelow(const Surface& image);
// The image beside its mask (the start piece's layout).
Surface WithMaskBeside(const Surface& image);

}  // namespace zendor::datagen
