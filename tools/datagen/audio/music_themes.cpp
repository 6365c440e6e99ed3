#include "datagen/datagen.h"

namespace zendor::datagen {

std::vector<StoredFile> MakeMusicThemes() { return {}; }

}  // namespace zendor::datagen
