#include "bench/blit_replay.h"

namespace zendor::bench {
namespace {

std::vector<BlitCall>* recording = nullptr;

void Record(const BlitCall& call) {
  if (recording) recording->push_back(call);
}

// A rectangle with a negative extent covers the pixels from its corner leftwards or upwards.
void Normalise(int& at, int& extent) {
  if (extent < 0) {
    at += extent + 1;
    extent = -extent;
  }
}

}  // namespace
}  // namespace zendor::bench

// The linker sends the game's calls here (--wrap); __real_ names are the transfers themselves.
using zendor::Pixel;
using zendor::Rop;
using zendor::Surface;
using zendor::bench::BlitCall;
extern "C" {
void __real__ZN6zendor6BitBltERNS_7SurfaceEiiiiRKS0_iiNS_3RopE(Surface&, int, int, int, int,
                                                               const Surface&, int, int, Rop);
void __real__ZN6zendor10StretchBltERNS_7SurfaceEiiiiRKS0_iiiiNS_3RopE(Surface&, int, int, int, int,
                                                                      const Surface&, int, int, int,
                                                                      int, Rop);
void __real__ZN6zendor9MaskedBltERNS_7SurfaceEiiiiRKS0_iiii(Surface&, int, int, int, int,
                                                            const Surface&, int, int, int, int);
void __real__ZN6zendor10AlphaBlendERNS_7SurfaceEiiiiRKS0_iih(Surface&, int, int, int, int,
                                                             const Surface&, int, int,
                                                             std::uint8_t);
void __real__ZN6zendor8FillRectERNS_7SurfaceEiiiij(Surface&, int, int, int, int, Pixel);

void __wrap__ZN6zendor6BitBltERNS_7SurfaceEiiiiRKS0_iiNS_3RopE(Surface& d, int x, int y, int w,
                                                               int h, const Surface& s, int sx,
                                                               int sy, Rop rop) {
  zendor::bench::Record({BlitCall::Kind::Copy, &d, &s, x, y, w, h, sx, sy, w, h, 0, 0, rop, 0, 0});
  __real__ZN6zendor6BitBltERNS_7SurfaceEiiiiRKS0_iiNS_3RopE(d, x, y, w, h, s, sx, sy, rop);
}
void __wrap__ZN6zendor10StretchBltERNS_7SurfaceEiiiiRKS0_iiiiNS_3RopE(Surface& d, int x, int y,
                                                                      int w, int h,
                                                                      const Surface& s, int sx,
                                                                      int sy, int sw, int sh,
                                                                      Rop rop) {
  zendor::bench::Record(
      {BlitCall::Kind::Stretch, &d, &s, x, y, w, h, sx, sy, sw, sh, 0, 0, rop, 0, 0});
  __real__ZN6zendor10StretchBltERNS_7SurfaceEiiiiRKS0_iiiiNS_3RopE(d, x, y, w, h, s, sx, sy, sw, sh,
                                                                   rop);
}
void __wrap__ZN6zendor9MaskedBltERNS_7SurfaceEiiiiRKS0_iiii(Surface& d, int x, int y, int w, int h,
                                                            const Surface& s, int ix, int iy,
                                                            int mx, int my) {
  zendor::bench::Record(
      {BlitCall::Kind::Masked, &d, &s, x, y, w, h, ix, iy, w, h, mx, my, Rop::SrcCopy, 0, 0});
  __real__ZN6zendor9MaskedBltERNS_7SurfaceEiiiiRKS0_iiii(d, x, y, w, h, s, ix, iy, mx, my);
}
void __wrap__ZN6zendor10AlphaBlendERNS_7SurfaceEiiiiRKS0_iih(Surface& d, int x, int y, int w, int h,
                                                             const Surface& s, int sx, int sy,
                                                             std::uint8_t a) {
  zendor::bench::Record(
      {BlitCall::Kind::Alpha, &d, &s, x, y, w, h, sx, sy, w, h, 0, 0, Rop::SrcCopy, a, 0});
  __real__ZN6zendor10AlphaBlendERNS_7SurfaceEiiiiRKS0_iih(d, x, y, w, h, s, sx, sy, a);
}
void __wrap__ZN6zendor8FillRectERNS_7SurfaceEiiiij(Surface& d, int x, int y, int w, int h,
                                                   Pixel colour) {
  zendor::bench::Record(
      {BlitCall::Kind::Fill, &d, nullptr, x, y, w, h, 0, 0, 0, 0, 0, 0, Rop::SrcCopy, 0, colour});
  __real__ZN6zendor8FillRectERNS_7SurfaceEiiiij(d, x, y, w, h, colour);
}
}

namespace zendor::bench {

std::vector<BlitCall> RecordBlits(const std::function<void()>& work) {
  std::vector<BlitCall> calls;
  recording = &calls;
  work();
  recording = nullptr;
  return calls;
}

SdlReplay::SdlReplay(std::vector<BlitCall> calls) : calls_(std::move(calls)) {
  for (BlitCall& c : calls_) {
    Normalise(c.x, c.w);
    Normalise(c.y, c.h);
    Normalise(c.sx, c.sw);
    Normalise(c.sy, c.sh);
    View(*c.dst, Way::Plain);
    if (c.src) View(*c.src, WayOf(c));
  }
}

SdlReplay::~SdlReplay() {
  for (auto& [key, view] : views_) SDL_FreeSurface(view);
}

SdlReplay::Way SdlReplay::WayOf(const BlitCall& c) {
  switch (c.kind) {
    case BlitCall::Kind::Masked:
      return Way::Keyed;
    case BlitCall::Kind::Alpha:
      return Way::Blend;
    default:
      return c.rop == Rop::SrcAnd ? Way::Modulate : c.rop == Rop::SrcPaint ? Way::Add : Way::Plain;
  }
}

SDL_Surface* SdlReplay::View(const Surface& s, Way way) {
  auto& view = views_[{&s, way}];
  if (!view) {
    view = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Pixel*>(s.row(0)), s.width(), s.height(),
                                              32, s.width() * 4, SDL_PIXELFORMAT_RGB888);
    SDL_SetSurfaceBlendMode(view, way == Way::Modulate ? SDL_BLENDMODE_MOD
                                  : way == Way::Add    ? SDL_BLENDMODE_ADD
                                  : way == Way::Blend  ? SDL_BLENDMODE_BLEND
                                                       : SDL_BLENDMODE_NONE);
    if (way == Way::Keyed) SDL_SetColorKey(view, SDL_TRUE, 0);
  }
  return view;
}

void SdlReplay::Run() {
  for (const BlitCall& c : calls_) {
    SDL_Surface* dst = views_[{c.dst, Way::Plain}];
    SDL_Surface* src = c.src ? views_[{c.src, WayOf(c)}] : nullptr;
    SDL_Rect to{c.x, c.y, c.w, c.h};
    SDL_Rect from{c.sx, c.sy, c.sw, c.sh};
    switch (c.kind) {
      case BlitCall::Kind::Fill:
        SDL_FillRect(dst, &to, c.colour);
        break;
      case BlitCall::Kind::Copy:
      case BlitCall::Kind::Masked:
        SDL_BlitSurface(src, &from, dst, &to);
        break;
      case BlitCall::Kind::Stretch:
        SDL_BlitScaled(src, &from, dst, &to);
        break;
      case BlitCall::Kind::Alpha:
        SDL_SetSurfaceAlphaMod(src, c.alpha);
        SDL_BlitSurface(src, &from, dst, &to);
        break;
    }
  }
}

}  // namespace zendor::bench
