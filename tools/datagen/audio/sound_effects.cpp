#include "datagen/datagen.h"

namespace zendor::datagen {

std::vector<StoredFile> MakeSoundEffects() { return {}; }

}  // namespace zendor::datagen
