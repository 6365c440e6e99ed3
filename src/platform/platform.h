#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/audio.h"
#include "platform/gamepad.h"
#include "platform/random.h"
#include "platform/surface.h"
#include "platform/window.h"

namespace zendor {

// Receives the window's messages while the message pump delivers them.
class MessageHandler {
 public:
  virtual ~MessageHandler() = default;
  virtual void OnKeyDown(int virtualKey) = 0;  // keyboard auto-repeat arrives as further presses
  virtual void OnKeyUp(int virtualKey) = 0;
  virtual void OnCloseRequest() = 0;  // the window's close button, or a termination signal
};

struct ScreenRect {
  int left, top, right, bottom;
  bool operator==(const ScreenRect&) const = default;
};

using KeyboardTable = std::array<std::uint8_t, 256>;

// Cooperation levels of the graphics device.
inline constexpr int kCooperativeExclusive = 0x53;  // full screen, exclusive
inline constexpr int kCooperativeNormal = 8;

// What the display shows: the desktop (possibly at an emulated resolution) with the game
// window on it, or the exclusive full-screen mode.
struct DisplayState {
  bool exclusiveLevel = false;  // the graphics device asked for exclusive full screen
  bool exclusiveMode = false;   // a 320 x 200 exclusive mode is on
  int modeWidth = 0, modeHeight = 0, modeBits = 0;
  bool desktopChanged = false;  // an emulated desktop resolution is on
  int desktopWidth = 0, desktopHeight = 0;
};

// The stand-in for the operating system: time, messages, the game window, the keyboard state,
// the cursor, the task-switch lock, display modes, message boxes and the sound devices.
// Shared rules live here; the SDL2 and headless back ends supply the rest.
class Platform {
 public:
  Platform();
  virtual ~Platform();
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  Window& window() { return window_; }
  Random& random() { return random_; }

  // --- Time ---
  // Milliseconds since the program started.
  virtual std::uint32_t TickCount() = 0;
  // Seconds since midnight (what the random generator is seeded from).
  virtual double Timer() = 0;
  // Sleeps without delivering messages.
  virtual void Sleep(int ms) = 0;
  // The game clock: the milliseconds the program asked to sleep plus the time it waited for
  // input. It is the time a headless replay of the run shows, and what traces are stamped with.
  virtual std::uint32_t GameClock() const = 0;

  // --- Messages ---
  // Delivers every pending key press, key release and close request.
  virtual void PumpMessages(MessageHandler& handler) = 0;
  // Blocks until a message is pending.
  virtual void WaitForMessage() = 0;

  // --- Keyboard state table ---
  KeyboardTable GetKeyboardState() const { return keyboard_; }
  void SetKeyboardState(const KeyboardTable& table);

  // --- Cursor ---
  // Raises or lowers the display count; the cursor shows while the count is 0 or more.
  int ShowCursor(bool show);
  int cursorCount() const { return cursorCount_; }
  // Confines the cursor to a rectangle of the screen, or releases it.
  void ClipCursor(std::optional<ScreenRect> rect);
  std::optional<ScreenRect> cursorClip() const { return cursorClip_; }

  // --- Task switching ---
  void LockTaskSwitching(bool locked);
  bool taskSwitchingLocked() const { return taskSwitchingLocked_; }

  // --- Display ---
  const DisplayState& display() const { return display_; }
  // Whether the graphics device could be created.
  virtual bool HasGraphicsDevice() const { return true; }
  void SetCooperativeLevel(int flags);
  // Exclusive full-screen modes; true when the mode was set.
  bool SetDisplayMode(int width, int height, int bitsPerPixel);
  // Emulated change of the desktop resolution; (0, 0) gives the desktop back. Never touches the
  // player's real display mode.
  bool ChangeDesktopResolution(int width, int height);
  // Sizes the game window's client area and places it in the middle of the desktop.
  void SizeGameWindow(int width, int height);

  // --- The start-up's own windows ---
  // The mouse pointer over the program's windows: busy (an hourglass) or the default arrow.
  void SetBusyPointer(bool busy);
  bool busyPointer() const { return busyPointer_; }
  // The splash window: the picture in a small borderless window while the game loads.
  void ShowSplash(const Surface& picture);
  void CloseSplash();
  bool splashShown() const { return splashShown_; }
  const Surface& splashPicture() const { return splashPicture_; }
  // The black cover window `Negro`, behind the game window, hiding the desktop around it.
  void ShowCover();
  void CloseCover();
  bool coverShown() const { return coverShown_; }

  // --- The debug readout ---
  // Shows the game window's small debug label (the frame delay, "Caida") where it covers
  // nothing of the picture.
  virtual void ShowReadout(const std::string& /*text*/) {}

  // --- Gamepads ---
  // What the pads' controls press from now on; the game sets this as its screens change.
  void SetPadKeys(const PadKeys& keys) { padKeys_ = keys; }
  const PadKeys& padKeys() const { return padKeys_; }

  // --- Files ---
  // The system's temporary folder for this user, ending in '/'; empty (and the reason in
  // `error`) when it cannot be used.
  virtual std::string TempPath(std::string* error);

  // --- Message boxes and the beep ---
  virtual void MessageBox(const std::string& text, const std::string& title, int flags) = 0;
  virtual void Beep() = 0;

  // --- Sound ---
  // nullptr when the device cannot be created.
  virtual std::unique_ptr<SoundDevice> CreateSoundDevice() = 0;
  virtual std::unique_ptr<MusicPlayer> CreateMusicPlayer() = 0;

 protected:
  // Keeps the keyboard table in step with a delivered key: down sets the high bit and flips the
  // toggle bit, up clears the high bit.
  void RecordKeyDown(int virtualKey);
  void RecordKeyUp(int virtualKey);

  // Back-end limits and reactions.
  virtual bool SupportsExclusiveMode(int width, int height, int bitsPerPixel) const = 0;
  virtual bool SupportsDesktopResolution(int width, int height) const;
  virtual void DisplayChanged() {}
  virtual void KeyboardStateChanged() {}
  virtual void CursorChanged() {}
  virtual void StartUpWindowsChanged() {}
  // The desktop's own size when no resolution is emulated.
  virtual int RealDesktopWidth() const = 0;
  virtual int RealDesktopHeight() const = 0;

 private:
  void PlaceGameWindow();

  Window window_;
  Random random_;
  KeyboardTable keyboard_{};
  int cursorCount_ = 0;
  std::optional<ScreenRect> cursorClip_;
  bool taskSwitchingLocked_ = false;
  DisplayState display_;
  PadKeys padKeys_;
  bool busyPointer_ = false;
  bool splashShown_ = false;
  Surface splashPicture_;
  bool coverShown_ = false;
};

// Thrown to end the program at once (the farewell box was closed, or a run was stopped); the
// entry point catches it. Carries the reason for the replay trace.
struct ProgramExit {
  std::string reason;
};

}  // namespace zendor
