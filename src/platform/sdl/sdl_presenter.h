#pragma once

#include <SDL2/SDL.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/window.h"

namespace zendor {

// Shows a game window's screen in a real SDL window: full screen (the desktop's own mode, never
// a mode change) while the game believes in an exclusive mode or a changed desktop resolution,
// otherwise a normal window of the game window's size. Pixels stay crisp squares.
class SdlPresenter {
 public:
  // Nullptr when there is no display to show anything on.
  static std::unique_ptr<SdlPresenter> Create(const std::string& title);
  ~SdlPresenter();
  SdlPresenter(const SdlPresenter&) = delete;
  SdlPresenter& operator=(const SdlPresenter&) = delete;

  // Shows the window's screen if it may have changed since the last time (or a redraw was asked
  // for), following the display state; hides the real window while the game window is hidden.
  void Present(const Window& window, const DisplayState& display);
  // The next Present draws even if the game drew nothing new (the window was uncovered, resized
  // or changed its mode).
  void Invalidate() { stale_ = true; }
  // Alt+Enter: a game shown full screen goes into a window, a game in a window goes full screen.
  // The game itself knows nothing of it; its picture keeps its whole zoom, centred on black.
  void SwitchLook() {
    switched_ = !switched_;
    stale_ = true;
  }
  // Draws the window's screen as Present does and returns what the player sees (the whole real
  // window, black surround included); empty when there is nothing on screen.
  Surface Capture(const Window& window, const DisplayState& display);

  // Keeps the mouse inside a rectangle of the (emulated) desktop, or lets it go.
  void ConfineCursor(const std::optional<ScreenRect>& rect, const Window& window,
                     const DisplayState& display);

  // For a caller without key handling of its own (the replay viewer): takes every pending event,
  // redraws when the window system asks, and returns false once the player closed the window.
  bool PumpWindowEvents();
  // Whether the event asks for a redraw of the window.
  static bool NeedsRedraw(const SDL_Event& event);

  // The real desktop the window is on.
  int desktopWidth() const;
  int desktopHeight() const;
  SDL_Window* sdlWindow() const { return window_; }
  bool shown() const { return shown_; }

 private:
  SdlPresenter() = default;
  void ApplyMode(const Window& window, const DisplayState& display);
  // Draws the window's screen into the renderer (not yet presented); false when it cannot.
  bool Draw(const Window& window, const DisplayState& display);
  bool UploadScreen(const Surface& screen);

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int textureWidth_ = 0, textureHeight_ = 0;
  bool shown_ = false;
  bool fullScreen_ = false;
  bool switched_ = false;
  int windowWidth_ = 0, windowHeight_ = 0;
  bool stale_ = true;
  unsigned long shownVersion_ = 0;
};

}  // namespace zendor
