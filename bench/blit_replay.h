#pragma once

// The block transfers a piece of game code performs, caught as it runs and replayed through SDL's
// own software blitter on the very same pixels: the reference for "the same work done by SDL".
// The benchmark binary is linked with the game's block transfers wrapped (CMakeLists.txt), so
// every call from the game's code passes through here.

#include <SDL.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/blit.h"

namespace zendor::bench {

struct BlitCall {
  enum class Kind { Copy, Stretch, Masked, Alpha, Fill } kind;
  Surface* dst;
  const Surface* src;
  int x, y, w, h, sx, sy, sw, sh, maskX, maskY;
  Rop rop;
  std::uint8_t alpha;
  Pixel colour;
};

// Runs `work` once and returns the block transfers it made, in order.
std::vector<BlitCall> RecordBlits(const std::function<void()>& work);

// The recorded transfers as SDL blits over the same pixel memory: a copy is SDL_BlitSurface, an
// AND of a mask a modulating blit, an OR of an image an adding one, a masked sprite a colour-keyed
// blit of its image (SDL's own way of drawing one), a stretch SDL_BlitScaled (mirrored ones
// unmirrored: SDL cannot mirror), a blend a blended blit with the surface's alpha, a fill
// SDL_FillRect. Each surface has one SDL view per way it is blitted, set up once, so no blit
// pays for SDL re-planning a surface whose mode changed.
class SdlReplay {
 public:
  explicit SdlReplay(std::vector<BlitCall> calls);
  ~SdlReplay();
  void Run();
  std::size_t size() const { return calls_.size(); }

 private:
  enum class Way { Plain, Modulate, Add, Keyed, Blend };
  SDL_Surface* View(const Surface& s, Way way);
  static Way WayOf(const BlitCall& c);
  std::vector<BlitCall> calls_;
  std::map<std::pair<const Surface*, Way>, SDL_Surface*> views_;
};

}  // namespace zendor::bench
