#pragma once

#include "platform/surface.h"

namespace zendor {

// The game window's client area. Drawing goes to the persistent image while that mode is on
// and straight to the visible screen while it is off; a repaint shows the persistent image again.
class Window {
 public:
  Window();

  // The surface that drawing reaches right now (persistent image or screen).
  Surface& target() { return persistentMode_ ? persistent_ : screen_; }
  // What the player sees.
  const Surface& screen() const { return screen_; }
  const Surface& persistentImage() const { return persistent_; }

  bool persistentMode() const { return persistentMode_; }
  void setPersistentMode(bool on) { persistentMode_ = on; }

  // Clears the drawing target to the background colour (black).
  void clear();
  // Brings the window up to date on screen: shows the persistent image while that mode is on.
  void refresh();
  // What the window system does when the window must be redrawn.
  void repaint();

  int width() const { return screen_.width(); }
  int height() const { return screen_.height(); }
  // Sizes the client area, keeping what is drawn.
  void setClientSize(int width, int height);

  bool visible() const { return visible_; }
  void show() { visible_ = true; }
  void close() {
    visible_ = false;
    closed_ = true;
  }
  bool closed() const { return closed_; }

  // Position on the (emulated) desktop, in pixels.
  int left() const { return left_; }
  int top() const { return top_; }
  void move(int left, int top) { left_ = left, top_ = top; }

  // Increments whenever the screen may have changed; back ends present when it moves.
  unsigned long screenVersion() const { return screenVersion_; }
  void touchScreen() { ++screenVersion_; }

  // The largest client area a window may have; larger requests are cut to it.
  static constexpr int kMaxClientSide = 4096;

 private:
  Surface persistent_;
  Surface screen_;
  bool persistentMode_ = false;
  bool visible_ = false;
  bool closed_ = false;
  int left_ = 0;
  int top_ = 0;
  unsigned long screenVersion_ = 0;
};

}  // namespace zendor
