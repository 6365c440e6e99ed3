#include "platform/sdl/sdl_startup_windows.h"

namespace zendor {
namespace {

constexpr const char* kSplashTitle = "Zendor Vostrik XXI (loading)";
constexpr const char* kCoverTitle = "Negro";
// A splash shorter than this would only flicker: loading that ends sooner waits for it.
constexpr Uint64 kShortestSplashMs = 800;

// Fills a window with a picture, stretched to it, or with black, through the window's own
// surface.
void Paint(SDL_Window* window, const Surface* picture) {
  SDL_Surface* target = SDL_GetWindowSurface(window);
  if (!target) return;
  SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
  if (picture && !picture->empty()) {
    SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<Pixel*>(picture->row(0)), picture->width(), picture->height(), 32,
        picture->stride() * static_cast<int>(sizeof(Pixel)), SDL_PIXELFORMAT_RGB888);
    if (view) {
      SDL_BlitScaled(view, nullptr, target, nullptr);
      SDL_FreeSurface(view);
    }
  }
  SDL_UpdateWindowSurface(window);
}

void Close(SDL_Window*& window) {
  if (window) SDL_DestroyWindow(window);
  window = nullptr;
}

}  // namespace

SdlStartUpWindows::~SdlStartUpWindows() {
  Close(splash_);
  Close(cover_);
  if (busy_) {
    SDL_SetCursor(SDL_GetDefaultCursor());
    SDL_FreeCursor(busy_);
  }
}

void SdlStartUpWindows::SetBusyPointer(bool busy) {
  if (busy && !busy_) busy_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
  SDL_SetCursor(busy && busy_ ? busy_ : SDL_GetDefaultCursor());
}

void SdlStartUpWindows::ShowSplash(const Surface& picture) {
  const int width = picture.empty() ? 256 : picture.width();
  const int height = picture.empty() ? 192 : picture.height();
  if (!splash_) {
    splashShownAt_ = SDL_GetTicks64();
    splash_ = SDL_CreateWindow(kSplashTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                               height, SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR);
  }
  if (!splash_) return;
  Paint(splash_, &picture);
  SDL_PumpEvents();  // the window system draws it now, while the game goes on loading
}

void SdlStartUpWindows::CloseSplash() {
  if (!splash_) return;
  const Uint64 shown = SDL_GetTicks64() - splashShownAt_;
  if (shown < kShortestSplashMs) SDL_Delay(static_cast<Uint32>(kShortestSplashMs - shown));
  Close(splash_);
}

void SdlStartUpWindows::ShowCover(int desktopWidth, int desktopHeight) {
  if (!cover_) {
    cover_ = SDL_CreateWindow(kCoverTitle, 0, 0, desktopWidth, desktopHeight,
                              SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR);
  }
  if (!cover_) return;
  Paint(cover_, nullptr);
  SDL_PumpEvents();
}

void SdlStartUpWindows::CloseCover() {
  Close(cover_);
}

bool SdlStartUpWindows::Handle(const SDL_Event& event, SDL_Window* gameWindow) {
  if (event.type != SDL_WINDOWEVENT) return false;
  const SDL_Window* window = SDL_GetWindowFromID(event.window.windowID);
  if (!window || (window != cover_ && window != splash_)) return false;
  if (window == cover_ && event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED && gameWindow &&
      (SDL_GetWindowFlags(gameWindow) & SDL_WINDOW_SHOWN)) {
    SDL_RaiseWindow(gameWindow);
  }
  if (window == cover_ && event.window.event == SDL_WINDOWEVENT_EXPOSED) Paint(cover_, nullptr);
  return true;
}

}  // namespace zendor
