#include "frontend/loading_fade.h"

#include <optional>

#include "assets/temp_files.h"
#include "common/int16.h"
#include "common/settings.h"
#include "platform/blit.h"
#include "platform/image_file.h"
#include "platform/platform.h"

namespace zendor {

void PlayPanFrames(Ventana& v, std::int16_t from, std::int16_t to) {
  const Settings& s = v.settings;
  // Where the 256 x 192 picture lands on the window; a size that does not fit 16 bits stops the
  // fade before anything is shown.
  const auto left = Fit16(static_cast<double>(s.DisplayOffsetX) * s.DisplayScale);
  const auto top = Fit16(static_cast<double>(s.DisplayOffsetY) * s.DisplayScale);
  const auto width = Fit16(256.0 * s.DisplayScale);
  const auto height = Fit16(192.0 * s.DisplayScale);
  const auto pause = Fit16(s.FadeStepCount * 2.0);
  if (!left || !top || !width || !height || !pause) return;

  Window& w = v.platform.window();
  const int step = to >= from ? 1 : -1;
  for (int i = from;; i += step) {
    ImageReadResult picture = ReadImageFile(s.TempFolder + FadePictureName(i));
    if (!picture.ok()) return;  // a missing picture ends the fade where it is
    v.sheets.Pantalla = std::move(picture.surface);
    w.setPersistentMode(true);
    StretchBlt(w.target(), *left, *top, *width, *height, v.sheets.Pantalla, 0, 0, 256, 192,
               Rop::SrcCopy);
    w.refresh();
    v.platform.Sleep(*pause);
    if (i == to) break;
  }
}

}  // namespace zendor
