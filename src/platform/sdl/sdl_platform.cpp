#include "platform/sdl/sdl_platform.h"

#include <SDL2/SDL.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#include "platform/recording.h"
#include "platform/screenshot.h"
#include "platform/sdl/key_map.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_gamepads.h"
#include "platform/sdl/sdl_presenter.h"
#include "platform/sdl/sdl_startup_windows.h"
#include "platform/sdl/soundfont.h"
#include "platform/user_folders.h"
#include "platform/virtual_keys.h"

namespace zendor {
namespace {

constexpr const char* kWindowTitle = "Zendor Vostrik XXI";
constexpr int kFallbackDesktopWidth = 1920;
constexpr int kFallbackDesktopHeight = 1080;

// The lock keys the keyboard table and SDL's modifier state both know about.
struct LockKey {
  int virtualKey;
  SDL_Keymod modifier;
};
constexpr LockKey kLockKeys[] = {
    {vk::kCapital, KMOD_CAPS}, {vk::kNumLock, KMOD_NUM}, {vk::kScroll, KMOD_SCROLL}};

class SdlPlatform final : public Platform {
 public:
  SdlPlatform(const std::string& title, RecordingWriter* recorder);
  ~SdlPlatform() override;

  std::uint32_t TickCount() override;
  std::uint32_t GameClock() const override { return gameClock_; }
  double Timer() override;
  void Sleep(int ms) override;
  void PumpMessages(MessageHandler& handler) override;
  void WaitForMessage() override;
  bool HasGraphicsDevice() const override { return presenter_ != nullptr; }
  void ShowReadout(const std::string& text) override;
  void MessageBox(const std::string& text, const std::string& title, int flags) override;
  void Beep() override;
  std::unique_ptr<SoundDevice> CreateSoundDevice() override;
  std::unique_ptr<MusicPlayer> CreateMusicPlayer() override;

 protected:
  bool SupportsExclusiveMode(int width, int height, int bitsPerPixel) const override;
  void DisplayChanged() override;
  void KeyboardStateChanged() override;
  void CursorChanged() override;
  void StartUpWindowsChanged() override;
  int RealDesktopWidth() const override;
  int RealDesktopHeight() const override;

 private:
  void Present();
  std::shared_ptr<SdlAudioOutput> AudioOutput();
  // Keys of the window itself, seen before the game gets them as usual: Alt+Enter and F9.
  void WindowKey(const SDL_KeyboardEvent& key);
  void TakeDueScreenshot();
  void Deliver(MessageHandler& handler, std::uint64_t pump, RecordedInput::Kind kind, int key);
  bool recording() const { return recorder_ && recorder_->open(); }

  RecordingWriter* recorder_;
  std::uint32_t gameClock_ = 0;
  std::uint64_t pumps_ = 0;
  bool screenshotDue_ = false;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  bool events_ = false;
  std::unique_ptr<SdlPresenter> presenter_;
  std::unique_ptr<SdlGamepads> gamepads_;
  std::unique_ptr<SdlStartUpWindows> startUpWindows_;
  std::shared_ptr<SdlAudioOutput> audio_;
  bool audioTried_ = false;
};

SdlPlatform::SdlPlatform(const std::string& title, RecordingWriter* recorder)
    : recorder_(recorder) {
  // The events subsystem also turns SIGINT and SIGTERM into a quit event.
  events_ = SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
  presenter_ = SdlPresenter::Create(title);
  if (presenter_) SDL_StopTextInput();  // keys only: no input-method windows popping up
  gamepads_ = std::make_unique<SdlGamepads>();
  if (presenter_) startUpWindows_ = std::make_unique<SdlStartUpWindows>();
  // Start the keyboard table with the lock keys as they stand.
  KeyboardTable table = GetKeyboardState();
  const SDL_Keymod modifiers = SDL_GetModState();
  for (const LockKey& lock : kLockKeys) {
    if (modifiers & lock.modifier) table[static_cast<std::size_t>(lock.virtualKey)] |= 0x01;
  }
  SetKeyboardState(table);
}

SdlPlatform::~SdlPlatform() {
  if (recording()) recorder_->End(pumps_, gameClock_);
  gamepads_.reset();
  startUpWindows_.reset();
  presenter_.reset();
  audio_.reset();  // the devices keep the stream open as long as they live
  if (events_) SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

std::uint32_t SdlPlatform::TickCount() {
  const auto elapsed = std::chrono::steady_clock::now() - start_;
  const auto ms = static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
  if (recording()) recorder_->ClockRead(ms);
  return ms;
}

double SdlPlatform::Timer() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto sinceSecond = now - std::chrono::system_clock::from_time_t(seconds);
  const double fraction = std::chrono::duration<double>(sinceSecond).count();
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

void SdlPlatform::Sleep(int ms) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  Present();  // what was drawn before the sleep is on screen during it
  if (ms > 0) TakeDueScreenshot();
  std::this_thread::sleep_until(until);
  if (ms > 0) gameClock_ += static_cast<std::uint32_t>(ms);
}

void SdlPlatform::Deliver(MessageHandler& handler, std::uint64_t pump, RecordedInput::Kind kind,
                          int key) {
  if (recording()) recorder_->Input({pump, gameClock_, kind, key});
  switch (kind) {
    case RecordedInput::Kind::Close:
      handler.OnCloseRequest();
      break;
    case RecordedInput::Kind::Up:
      RecordKeyUp(key);
      handler.OnKeyUp(key);
      break;
    default:
      RecordKeyDown(key);
      handler.OnKeyDown(key);
      break;
  }
}

void SdlPlatform::PumpMessages(MessageHandler& handler) {
  // A handler may run a game that pumps on its own; this pump keeps its number when it goes on
  // delivering afterwards.
  const std::uint64_t pump = ++pumps_;
  Present();
  SDL_Event event;
  while (events_ && SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        if (event.type == SDL_KEYDOWN) WindowKey(event.key);
        const int key = VirtualKeyFromSdl(event.key.keysym.scancode, event.key.keysym.sym);
        if (key == 0) break;
        if (event.type == SDL_KEYUP) {
          Deliver(handler, pump, RecordedInput::Kind::Up, key);
        } else {  // auto-repeat arrives as further presses
          Deliver(handler, pump,
                  event.key.repeat ? RecordedInput::Kind::Repeat : RecordedInput::Kind::Down, key);
        }
        break;
      }
      case SDL_QUIT:
        Deliver(handler, pump, RecordedInput::Kind::Close, 0);
        break;
      case SDL_WINDOWEVENT:
        if (startUpWindows_ && startUpWindows_->Handle(event, presenter_->sdlWindow())) break;
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
          Deliver(handler, pump, RecordedInput::Kind::Close, 0);
        }
        if (presenter_ && SdlPresenter::NeedsRedraw(event)) presenter_->Invalidate();
        break;
      default:
        for (const PadKeyChange& change : gamepads_->Handle(event, padKeys())) {
          Deliver(handler, pump, change.down ? RecordedInput::Kind::Down : RecordedInput::Kind::Up,
                  change.key);
        }
        break;
    }
  }
  Present();  // what the handlers drew
}

// The debug readout goes into the window's title, beside the game's name.
void SdlPlatform::ShowReadout(const std::string& text) {
  if (!presenter_) return;
  const std::string title = text.empty() ? kWindowTitle : std::string(kWindowTitle) + " - " + text;
  SDL_SetWindowTitle(presenter_->sdlWindow(), title.c_str());
}

void SdlPlatform::WindowKey(const SDL_KeyboardEvent& key) {
  if (key.repeat || !presenter_) return;
  if (key.keysym.scancode == SDL_SCANCODE_RETURN && (key.keysym.mod & KMOD_ALT)) {
    presenter_->SwitchLook();
  } else if (key.keysym.scancode == SDL_SCANCODE_F9) {
    screenshotDue_ = true;  // once the picture of this moment is drawn
  }
}

// A screenshot shows the picture the game drew after the key: it is taken when the game next
// sleeps or waits, as a headless replay's snapshot of that moment is.
void SdlPlatform::TakeDueScreenshot() {
  if (!screenshotDue_) return;
  screenshotDue_ = false;
  const Surface seen = presenter_->Capture(window(), display());
  std::string error;
  const auto path = SaveScreenshot(PicturesFolder(), std::time(nullptr),
                                   GamePicture(window().screen()), &seen, &error);
  if (path) {
    std::fprintf(stderr, "zendor: screenshot saved as %s\n", path->c_str());
  } else {
    std::fprintf(stderr, "zendor: no screenshot: %s\n", error.c_str());
  }
}

void SdlPlatform::WaitForMessage() {
  Present();
  TakeDueScreenshot();
  const auto began = std::chrono::steady_clock::now();
  if (!events_ || SDL_WaitEvent(nullptr) == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));  // never spin
  }
  gameClock_ += static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               std::chrono::steady_clock::now() - began)
                                               .count());
  if (recording()) recorder_->WaitEnded(gameClock_);
}

void SdlPlatform::Present() {
  if (presenter_) presenter_->Present(window(), display());
}

void SdlPlatform::MessageBox(const std::string& text, const std::string& title, int flags) {
  Uint32 kind = SDL_MESSAGEBOX_INFORMATION;
  if ((flags & 0xF0) == 0x10) kind = SDL_MESSAGEBOX_ERROR;
  if ((flags & 0xF0) == 0x30) kind = SDL_MESSAGEBOX_WARNING;
  bool shown = false;
  if (presenter_) {
    // The player needs the mouse to answer: free it for as long as the box is up.
    presenter_->ConfineCursor(std::nullopt, window(), display());
    SDL_ShowCursor(SDL_ENABLE);
    SDL_Window* parent = presenter_->shown() ? presenter_->sdlWindow() : nullptr;
    shown = SDL_ShowSimpleMessageBox(kind, title.c_str(), text.c_str(), parent) == 0;
    CursorChanged();
  }
  if (!shown) std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

void SdlPlatform::Beep() {
  std::fputc('\a', stderr);
  std::fflush(stderr);
}

std::shared_ptr<SdlAudioOutput> SdlPlatform::AudioOutput() {
  if (!audioTried_) {
    audioTried_ = true;
    audio_ = SdlAudioOutput::Open();
  }
  return audio_;
}

std::unique_ptr<SoundDevice> SdlPlatform::CreateSoundDevice() {
  auto output = AudioOutput();
  if (!output) return nullptr;
  return std::make_unique<SdlSoundDevice>(std::move(output));
}

std::unique_ptr<MusicPlayer> SdlPlatform::CreateMusicPlayer() {
  auto output = AudioOutput();
  if (!output) {
    ReportSilentMusic(std::string("no sound output could be opened (") + SDL_GetError() + ")");
    return std::make_unique<FluidMusicPlayer>(std::nullopt);
  }
  auto soundFont = FindSoundFont(UsualSoundFontPlaces());
  if (!soundFont) {
    ReportSilentMusic(
        "no General MIDI SoundFont was found in /usr/share/sounds/sf2 or /usr/share/soundfonts "
        "(the fluid-soundfont-gm package has one)");
  }
  return std::make_unique<SdlMusicPlayer>(std::move(output), std::move(soundFont));
}

bool SdlPlatform::SupportsExclusiveMode(int width, int height, int bitsPerPixel) const {
  return presenter_ && width == 320 && height == 200 && (bitsPerPixel == 24 || bitsPerPixel == 16);
}

void SdlPlatform::DisplayChanged() {
  if (!presenter_) return;
  presenter_->Invalidate();
  presenter_->ConfineCursor(cursorClip(), window(), display());
}

void SdlPlatform::KeyboardStateChanged() {
  // SDL only keeps its own idea of the lock keys; the lights on the keyboard stay as they are.
  const KeyboardTable table = GetKeyboardState();
  int modifiers = SDL_GetModState();
  for (const LockKey& lock : kLockKeys) {
    if (table[static_cast<std::size_t>(lock.virtualKey)] & 0x01) {
      modifiers |= lock.modifier;
    } else {
      modifiers &= ~lock.modifier;
    }
  }
  SDL_SetModState(static_cast<SDL_Keymod>(modifiers));
}

void SdlPlatform::CursorChanged() {
  if (!presenter_) return;
  SDL_ShowCursor(cursorCount() >= 0 ? SDL_ENABLE : SDL_DISABLE);
  presenter_->ConfineCursor(cursorClip(), window(), display());
}

void SdlPlatform::StartUpWindowsChanged() {
  if (!startUpWindows_) return;
  startUpWindows_->SetBusyPointer(busyPointer());
  if (splashShown()) {
    startUpWindows_->ShowSplash(splashPicture());
  } else {
    startUpWindows_->CloseSplash();
  }
  if (coverShown()) {
    startUpWindows_->ShowCover(RealDesktopWidth(), RealDesktopHeight());
  } else {
    startUpWindows_->CloseCover();
  }
}

int SdlPlatform::RealDesktopWidth() const {
  const int width = presenter_ ? presenter_->desktopWidth() : 0;
  return width > 0 ? width : kFallbackDesktopWidth;
}

int SdlPlatform::RealDesktopHeight() const {
  const int height = presenter_ ? presenter_->desktopHeight() : 0;
  return height > 0 ? height : kFallbackDesktopHeight;
}

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform(RecordingWriter* recorder) {
  return std::make_unique<SdlPlatform>(kWindowTitle, recorder);
}

std::unique_ptr<Platform> CreateSdlPlatform(const std::string& title) {
  return std::make_unique<SdlPlatform>(title, nullptr);
}

}  // namespace zendor
