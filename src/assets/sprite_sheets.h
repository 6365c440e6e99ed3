#pragma once

#include <string>
#include <string_view>

#include "common/ventana.h"

namespace zendor {

// Loads every shipped picture from the art folder into its holder and creates the blank work
// surfaces. Returns false (and the reason, naming the file) when a picture is missing, damaged
// or of the wrong size; the pictures that loaded stay loaded, the others stay empty.
bool LoadSpriteSheets(SpriteSheets& sheets, const std::string& artFolder, std::string* error);

// Builds the mirrored and cropped sheets and the level background, then draws the stars and the
// start piece into it and loads the level.
void PrepareSpriteSheets(Ventana& v);

// The holder of a picture by the game's name and, for a family, its index (-1 for a single
// picture); nullptr when there is no such holder.
Surface* SheetHolder(SpriteSheets& sheets, std::string_view name, int index);

}  // namespace zendor
