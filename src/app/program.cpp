#include "app/program.h"

#include "app/startup.h"
#include "common/settings.h"
#include "common/sound_system.h"
#include "common/tracer.h"
#include "common/ventana.h"
#include "frontend/screen_flow.h"
#include "platform/platform.h"

namespace zendor {

std::string RunProgram(Platform& platform, const std::string& programFolder, Tracer& tracer) {
  Settings settings;
  SoundSystem sound(tracer);
  Ventana v(platform, settings, sound, tracer);
  try {
    if (!StartUp(v, programFolder)) return "error";
    for (;;) {
      platform.WaitForMessage();
      DoEvents(v);
    }
  } catch (const ProgramExit& exit) {
    // A run stopped from outside still leaves nothing behind.
    settings.Registry.DeleteAll(settings.TempFolder);
    return exit.reason;
  } catch (...) {
    // Nor does one that fails: its files go before the failure travels on.
    settings.Registry.DeleteAll(settings.TempFolder);
    throw;
  }
}

}  // namespace zendor
