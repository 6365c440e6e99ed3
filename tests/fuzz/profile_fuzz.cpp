// The configuration files as the start-up reads them: every key of both files from the input,
// the numbers taken from their texts, and the display set up from them.
#include <cstdint>

#include "app/profile.h"
#include "app/startup.h"
#include "common/settings.h"
#include "common/sound_system.h"
#include "common/tracer.h"
#include "common/ventana.h"
#include "fuzz/fuzz_input.h"
#include "platform/headless/headless_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zendor;
  // The game window is large and its contents do not matter here: one serves every input.
  static HeadlessPlatform* const platform = new HeadlessPlatform;
  static Settings* const settings = new Settings;
  static Tracer tracer;
  static SoundSystem* const sound = new SoundSystem(tracer);
  static Ventana* const v = new Ventana(*platform, *settings, *sound, tracer);
  settings->ProgramFolder = fuzz::WorkFolder().string() + "/";
  fuzz::WriteInput("Zendor Vostrik.INI", data, size);
  fuzz::WriteInput("Brinmoor.INI", data, size);
  std::string ddraw;
  ReadConfiguration(*v, ddraw);
  // The numbers the display set-up takes from the texts (sizing the window itself is left out:
  // filling a picture of 4096 x 4096 for every input would leave no time for the reading).
  LeadingDigits(ddraw);
  LeadingNumber(settings->ScreenWidthText);
  LeadingNumber(settings->ScreenHeightText);
  return 0;
}
