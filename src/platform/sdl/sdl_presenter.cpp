#include "platform/sdl/sdl_presenter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/sdl/screen_layout.h"

#ifndef ZENDOR_DESKTOP_ID
#define ZENDOR_DESKTOP_ID "zendor"
#endif

namespace zendor {
namespace {

SDL_Rect RoundedRect(const LayoutRect& r) {
  const int x = static_cast<int>(std::lround(r.x)), y = static_cast<int>(std::lround(r.y));
  return {x, y, static_cast<int>(std::lround(r.x + r.width)) - x,
          static_cast<int>(std::lround(r.y + r.height)) - y};
}

}  // namespace

std::unique_ptr<SdlPresenter> SdlPresenter::Create(const std::string& title) {
  // Losing the focus must not shrink a full-screen game to an icon, and closing the window is a
  // close request like any other, not an immediate end of the program.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Windows painted through their own surface (the splash and the black cover behind the game)
  // take the window system's plain image, not a graphics context each, which would cost the
  // program tens of megabytes for two pictures it paints once; the environment still decides.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // The desktop ties the game's and the set-up's windows to the game's menu entry (and its icon)
  // by their window class, which is the entry's name; a class the player chose stays.
  setenv("SDL_VIDEO_X11_WMCLASS", ZENDOR_DESKTOP_ID, 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", ZENDOR_DESKTOP_ID, 0);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  std::unique_ptr<SdlPresenter> presenter(new SdlPresenter);
  if (SDL_GetNumVideoDisplays() < 1) return nullptr;  // the destructor gives the video back
  // The player may resize the window: the picture then takes the largest whole zoom that fits.
  presenter->window_ =
      SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 256, 192,
                       SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!presenter->window_) return nullptr;
  // No vertical sync: a present must never hold up the game's own frame pacing.
  presenter->renderer_ = SDL_CreateRenderer(presenter->window_, -1, SDL_RENDERER_ACCELERATED);
  if (!presenter->renderer_) {
    presenter->renderer_ = SDL_CreateRenderer(presenter->window_, -1, SDL_RENDERER_SOFTWARE);
  }
  if (!presenter->renderer_) return nullptr;
  presenter->windowWidth_ = 256;
  presenter->windowHeight_ = 192;
  return presenter;
}

SdlPresenter::~SdlPresenter() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlPresenter::Present(const Window& window, const DisplayState& display) {
  if (!window.visible() || window.closed()) {
    if (shown_) SDL_HideWindow(window_);
    shown_ = false;
    return;
  }
  ApplyMode(window, display);
  if (!shown_) {
    SDL_ShowWindow(window_);
    shown_ = true;
    stale_ = true;
  }
  if (!stale_ && window.screenVersion() == shownVersion_) return;
  if (!Draw(window, display)) return;
  SDL_RenderPresent(renderer_);
}

bool SdlPresenter::Draw(const Window& window, const DisplayState& display) {
  if (!UploadScreen(window.screen())) return false;
  int outputWidth = 0, outputHeight = 0;
  SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
  const ScreenLayout layout = LayOutScreen(display, window, outputWidth, outputHeight);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderSetClipRect(renderer_, nullptr);
  SDL_RenderClear(renderer_);
  const SDL_Rect canvas = RoundedRect(layout.canvas);
  SDL_RenderSetClipRect(renderer_, &canvas);
  const SDL_FRect picture{layout.picture.x, layout.picture.y, layout.picture.width,
                          layout.picture.height};
  SDL_RenderCopyF(renderer_, texture_, nullptr, &picture);
  shownVersion_ = window.screenVersion();
  stale_ = false;
  return true;
}

Surface SdlPresenter::Capture(const Window& window, const DisplayState& display) {
  if (!shown_ || !Draw(window, display)) return {};
  int width = 0, height = 0;
  SDL_GetRendererOutputSize(renderer_, &width, &height);
  Surface seen(width, height);
  SDL_RenderSetClipRect(renderer_, nullptr);
  const bool read = SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGB888, seen.row(0),
                                         width * static_cast<int>(sizeof(Pixel))) == 0;
  SDL_RenderPresent(renderer_);
  return read ? seen : Surface{};
}

void SdlPresenter::ApplyMode(const Window& window, const DisplayState& display) {
  const bool gameFullScreen = WantsFullScreen(display);
  const bool full = gameFullScreen != switched_;
  if (full != fullScreen_) {
    if (full) {
      // Cover the whole desktop first: without a window manager to honour the full-screen
      // request the window would otherwise keep its small size.
      SDL_SetWindowBordered(window_, SDL_FALSE);
      SDL_SetWindowPosition(window_, 0, 0);
      SDL_SetWindowSize(window_, desktopWidth(), desktopHeight());
      SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
      SDL_SetWindowFullscreen(window_, 0);
      SDL_SetWindowBordered(window_, SDL_TRUE);
      windowWidth_ = windowHeight_ = 0;  // sized again below
    }
    fullScreen_ = full;
    stale_ = true;
  }
  if (full) return;
  // A window of the game window's size; a full-screen look in a window shows its whole canvas
  // (the 320 x 200 screen, the emulated desktop) at the largest whole zoom that fits the desktop.
  int width = window.width(), height = window.height();
  if (gameFullScreen) {
    const int canvasWidth = display.exclusiveMode ? display.modeWidth : display.desktopWidth;
    const int canvasHeight = display.exclusiveMode ? display.modeHeight : display.desktopHeight;
    const int zoom = std::max(1, std::min(desktopWidth() * 9 / 10 / std::max(1, canvasWidth),
                                          desktopHeight() * 9 / 10 / std::max(1, canvasHeight)));
    width = canvasWidth * zoom;
    height = canvasHeight * zoom;
  }
  if (width != windowWidth_ || height != windowHeight_) {
    SDL_SetWindowSize(window_, width, height);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    windowWidth_ = width;
    windowHeight_ = height;
    stale_ = true;
  }
}

bool SdlPresenter::UploadScreen(const Surface& screen) {
  if (screen.empty()) return false;
  if (!texture_ || textureWidth_ != screen.width() || textureHeight_ != screen.height()) {
    if (texture_) SDL_DestroyTexture(texture_);
    // 0x00RRGGBB pixels, exactly as the surfaces hold them.
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                 screen.width(), screen.height());
    if (!texture_) return false;
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    textureWidth_ = screen.width();
    textureHeight_ = screen.height();
  }
  return SDL_UpdateTexture(texture_, nullptr, screen.pixels().data(),
                           screen.width() * static_cast<int>(sizeof(Pixel))) == 0;
}

void SdlPresenter::ConfineCursor(const std::optional<ScreenRect>& rect, const Window& window,
                                 const DisplayState& display) {
  if (!rect) {
    SDL_SetWindowMouseRect(window_, nullptr);
    return;
  }
  int outputWidth = 0, outputHeight = 0;
  SDL_GetWindowSize(window_, &outputWidth, &outputHeight);
  const ScreenLayout layout = LayOutScreen(display, window, outputWidth, outputHeight);
  // Full screen, the canvas is the whole (emulated) desktop; in a window, it is the window.
  const int originX = layout.fullScreen ? 0 : window.left();
  const int originY = layout.fullScreen ? 0 : window.top();
  const auto toOutputX = [&](int x) {
    return static_cast<int>(
        std::lround(layout.canvas.x + static_cast<float>(x - originX) * layout.scale));
  };
  const auto toOutputY = [&](int y) {
    return static_cast<int>(
        std::lround(layout.canvas.y + static_cast<float>(y - originY) * layout.scale));
  };
  const int left = std::clamp(toOutputX(rect->left), 0, outputWidth);
  const int top = std::clamp(toOutputY(rect->top), 0, outputHeight);
  const int right = std::clamp(toOutputX(rect->right), 0, outputWidth);
  const int bottom = std::clamp(toOutputY(rect->bottom), 0, outputHeight);
  const SDL_Rect confined{left, top, std::max(1, right - left), std::max(1, bottom - top)};
  SDL_SetWindowMouseRect(window_, &confined);
}

bool SdlPresenter::NeedsRedraw(const SDL_Event& event) {
  if (event.type != SDL_WINDOWEVENT) return false;
  switch (event.window.event) {
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      return true;
    default:
      return false;
  }
}

bool SdlPresenter::PumpWindowEvents() {
  bool open = true;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT ||
        (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
      open = false;
    }
    if (NeedsRedraw(event)) Invalidate();
  }
  return open;
}

int SdlPresenter::desktopWidth() const {
  SDL_DisplayMode mode;
  const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
  return SDL_GetDesktopDisplayMode(display, &mode) == 0 ? mode.w : 0;
}

int SdlPresenter::desktopHeight() const {
  SDL_DisplayMode mode;
  const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
  return SDL_GetDesktopDisplayMode(display, &mode) == 0 ? mode.h : 0;
}

}  // namespace zendor
