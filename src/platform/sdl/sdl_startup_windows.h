#pragma once

#include <SDL2/SDL.h>

#include "platform/surface.h"

namespace zendor {

// The start-up's own windows and pointer on a real display: the busy pointer, the splash window
// (a small borderless window with a picture, in the middle of the desktop) and the black cover
// window "Negro" over the whole desktop, kept behind the game window.
class SdlStartUpWindows {
 public:
  SdlStartUpWindows() = default;
  ~SdlStartUpWindows();
  SdlStartUpWindows(const SdlStartUpWindows&) = delete;
  SdlStartUpWindows& operator=(const SdlStartUpWindows&) = delete;

  void SetBusyPointer(bool busy);
  void ShowSplash(const Surface& picture);
  void CloseSplash();
  void ShowCover(int desktopWidth, int desktopHeight);
  void CloseCover();
  // A window system event for one of these windows: the cover, given the focus (a click on the
  // desktop around the game), hands it back to the game window. True when the event was theirs.
  bool Handle(const SDL_Event& event, SDL_Window* gameWindow);

 private:
  SDL_Cursor* busy_ = nullptr;
  SDL_Window* splash_ = nullptr;
  Uint64 splashShownAt_ = 0;
  SDL_Window* cover_ = nullptr;
};

}  // namespace zendor
