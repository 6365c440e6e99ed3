#include "assets/sprite_sheets.h"

namespace zendor {

bool LoadSpriteSheets(SpriteSheets&, const std::string&, std::string*) {
  return true;
}
void PrepareSpriteSheets(Ventana&) {}

}  // namespace zendor
