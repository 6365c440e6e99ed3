#include "app/shutdown.h"

#include "app/settings.h"
#include "platform/platform.h"

namespace zendor {

void ShutDownGame(Ventana& v) {
  v.settings.Registry.DeleteAll(v.settings.TempFolder);
  throw ProgramExit{"shutdown"};
}

void ShutDownAtOnce(Ventana& v) {
  v.settings.Registry.DeleteAll(v.settings.TempFolder);
  throw ProgramExit{"shutdown"};
}

}  // namespace zendor
