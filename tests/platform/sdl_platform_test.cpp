// The SDL back end: its key map, where the game's screen lands on the real one, and the
// platform itself on SDL's stand-in drivers.

#include "platform/sdl/sdl_platform.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/key_map.h"
#include "platform/sdl/screen_layout.h"
#include "platform/virtual_keys.h"
#include "platform/wav_file.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

int Placed(SDL_Scancode scancode) {
  return VirtualKeyFromSdl(scancode, SDLK_UNKNOWN);
}

TEST(SdlKeyMap, LettersFollowTheLayoutAndDigitsThePlace) {
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_A, SDLK_a), vk::kA);
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_Z, SDLK_z), 'Z');
  // The key in the place of Q prints "A" on a French keyboard: it is the A key.
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_Q, SDLK_a), vk::kA);
  // A layout without Latin letters still gives the letter of the place.
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_F, 0x430), 'F');
  // Digits by place, even where the layout prints punctuation on them.
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_1, SDLK_AMPERSAND), vk::k1);
  EXPECT_EQ(Placed(SDL_SCANCODE_9), '9');
  EXPECT_EQ(Placed(SDL_SCANCODE_0), vk::k0);
  // Keypad digits are the keypad's codes (keypad 1 is not the menu's 1), even when Num Lock is
  // off and SDL reports the navigation key.
  for (int i = 0; i < 10; ++i) {
    const auto place = static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + (i + 9) % 10);
    EXPECT_EQ(Placed(place), vk::kNumpad0 + i) << i;
    EXPECT_EQ(VirtualKeyFromSdl(place, SDLK_HOME), vk::kNumpad0 + i) << i;
  }
}

TEST(SdlKeyMap, TheGamesKeysTheLockKeysAndKeysItNeverSees) {
  const std::pair<SDL_Scancode, int> expected[] = {
      {SDL_SCANCODE_LEFT, vk::kLeft},
      {SDL_SCANCODE_UP, vk::kUp},
      {SDL_SCANCODE_RIGHT, vk::kRight},
      {SDL_SCANCODE_DOWN, vk::kDown},
      {SDL_SCANCODE_LCTRL, vk::kControl},
      {SDL_SCANCODE_RCTRL, vk::kControl},
      {SDL_SCANCODE_PAUSE, vk::kPause},
      {SDL_SCANCODE_ESCAPE, vk::kEscape},
      {SDL_SCANCODE_KP_PLUS, vk::kAdd},
      {SDL_SCANCODE_KP_MINUS, vk::kSubtract},
      {SDL_SCANCODE_KP_ENTER, vk::kReturn},
      {SDL_SCANCODE_TAB, vk::kTab},
      {SDL_SCANCODE_F10, vk::kF10},
      {SDL_SCANCODE_F12, vk::kF12},
      {SDL_SCANCODE_CAPSLOCK, vk::kCapital},
      {SDL_SCANCODE_NUMLOCKCLEAR, vk::kNumLock},
      {SDL_SCANCODE_SCROLLLOCK, vk::kScroll},
      {SDL_SCANCODE_PRINTSCREEN, vk::kSnapshot},
      {SDL_SCANCODE_SPACE, vk::kSpace},
      {SDL_SCANCODE_UNKNOWN, 0},
      {SDL_SCANCODE_AUDIONEXT, 0},
      {static_cast<SDL_Scancode>(SDL_NUM_SCANCODES), 0},
  };
  for (const auto& [scancode, virtualKey] : expected) {
    EXPECT_EQ(Placed(scancode), virtualKey) << scancode;
  }
}

constexpr DisplayState kExclusive320x200{
    .exclusiveLevel = true, .exclusiveMode = true, .modeWidth = 320, .modeHeight = 200};

DisplayState Desktop(int width, int height) {
  return {.desktopChanged = true, .desktopWidth = width, .desktopHeight = height};
}

// Where the game's screen lands on a real output of outputWidth x outputHeight, the game window
// standing at gameWindow's place and size on the screen the game believes in.
void ExpectLayout(const char* what, const DisplayState& display, LayoutRect gameWindow,
                  int outputWidth, int outputHeight, float scale, LayoutRect canvas,
                  LayoutRect picture) {
  SCOPED_TRACE(what);
  Window window;
  window.setClientSize(static_cast<int>(gameWindow.width), static_cast<int>(gameWindow.height));
  window.move(static_cast<int>(gameWindow.x), static_cast<int>(gameWindow.y));
  const ScreenLayout layout = LayOutScreen(display, window, outputWidth, outputHeight);
  const bool windowed = !display.exclusiveMode && !display.desktopChanged;
  EXPECT_EQ(layout.fullScreen, !windowed);
  // Only a window asks the window system for a size: the game window's own.
  EXPECT_EQ(layout.windowWidth, windowed ? window.width() : 0);
  EXPECT_EQ(layout.windowHeight, windowed ? window.height() : 0);
  EXPECT_FLOAT_EQ(layout.scale, scale);
  EXPECT_EQ(layout.canvas, canvas);
  EXPECT_EQ(layout.picture, picture);
}

TEST(SdlScreenLayout, TheGamesScreenIsEnlargedByWholeStepsOrShrunkToFitAndCentred) {
  ExpectLayout("exclusive mode", kExclusive320x200, {0, 0, 320, 200}, 1920, 1080, 5,
               {160, 40, 1600, 1000}, {160, 40, 1600, 1000});
  ExpectLayout("exclusive mode, 4 fitting across and 3 down", kExclusive320x200, {0, 0, 320, 200},
               1366, 768, 3, {203, 84, 960, 600}, {203, 84, 960, 600});
  ExpectLayout("a small desktop holding the window at its place", Desktop(640, 480),
               {64, 48, 512, 384}, 1920, 1080, 2, {320, 60, 1280, 960},
               {320 + 128, 60 + 96, 1024, 768});
  ExpectLayout("a desktop the size of the screen", Desktop(1920, 1080), {64, 48, 512, 384}, 1920,
               1080, 1, {0, 0, 1920, 1080}, {64, 48, 512, 384});
  ExpectLayout("a desktop larger than the screen", Desktop(2560, 1440), {640, 240, 1280, 960}, 1920,
               1080, 0.75f, {0, 0, 1920, 1080}, {480, 180, 960, 720});
  ExpectLayout("windowed", DisplayState{}, {576, 252, 768, 576}, 768, 576, 1, {0, 0, 768, 576},
               {0, 0, 768, 576});
  ExpectLayout("windowed, given a smaller window", DisplayState{}, {576, 252, 768, 576}, 384, 300,
               0.5f, {0, 6, 384, 288}, {0, 6, 384, 288});
}

struct Recorder : MessageHandler {
  std::vector<int> downs, ups;
  int closes = 0;
  void OnKeyDown(int key) override { downs.push_back(key); }
  void OnKeyUp(int key) override { ups.push_back(key); }
  void OnCloseRequest() override { ++closes; }
};

// Puts a key event, a quit request or (SDL_WINDOWEVENT) a click on the window's close button on
// SDL's queue.
void Push(Uint32 type, SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN, bool repeat = false) {
  SDL_Event event{};
  event.type = type;
  if (type == SDL_WINDOWEVENT) event.window.event = SDL_WINDOWEVENT_CLOSE;
  if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
  }
  SDL_PushEvent(&event);
}

// The SDL back end on SDL's own stand-in drivers: no display and no sound card needed.
class SdlPlatformOnDummyDrivers : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    platform_ = CreateSdlPlatform();
    if (!platform_->HasGraphicsDevice()) GTEST_SKIP() << "SDL video cannot start here";
  }
  void TearDown() override {
    platform_.reset();
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("SDL_AUDIODRIVER");
  }

  std::unique_ptr<Platform> platform_;
};

TEST_F(SdlPlatformOnDummyDrivers, DeliversKeysRepeatsAndCloseRequests) {
  Recorder recorder;
  Push(SDL_KEYDOWN, SDL_SCANCODE_LCTRL);
  Push(SDL_KEYDOWN, SDL_SCANCODE_LCTRL, true);
  Push(SDL_KEYDOWN, SDL_SCANCODE_KP_4);
  Push(SDL_KEYDOWN, SDL_SCANCODE_AUDIONEXT);  // not a key of the game
  // Waiting returns at once while a message is pending, and leaves it for the pump.
  platform_->WaitForMessage();
  platform_->PumpMessages(recorder);
  EXPECT_EQ(recorder.downs, (std::vector<int>{vk::kControl, vk::kControl, vk::kNumpad0 + 4}));
  EXPECT_EQ(platform_->GetKeyboardState()[vk::kControl] & 0x80, 0x80);

  Push(SDL_KEYUP, SDL_SCANCODE_RCTRL);
  Push(SDL_QUIT);         // a termination signal
  Push(SDL_WINDOWEVENT);  // the window's close button
  platform_->PumpMessages(recorder);
  EXPECT_EQ(recorder.ups, (std::vector<int>{vk::kControl}));
  EXPECT_EQ(platform_->GetKeyboardState()[vk::kControl] & 0x80, 0);
  EXPECT_EQ(recorder.closes, 2);
}

TEST_F(SdlPlatformOnDummyDrivers, ShowsEveryDisplayPathAndKeepsTime) {
  Recorder recorder;
  Window& window = platform_->window();
  platform_->SetCooperativeLevel(kCooperativeExclusive);
  EXPECT_FALSE(platform_->SetDisplayMode(640, 480, 24));
  EXPECT_TRUE(platform_->SetDisplayMode(320, 200, 24));
  EXPECT_TRUE(platform_->SetDisplayMode(320, 200, 16));
  window.show();
  window.target().fill(Rgb(200, 10, 10));
  window.refresh();
  platform_->PumpMessages(recorder);

  platform_->SetCooperativeLevel(kCooperativeNormal);
  EXPECT_TRUE(platform_->ChangeDesktopResolution(800, 600));
  platform_->SizeGameWindow(768, 576);
  platform_->ShowCursor(false);
  platform_->ClipCursor(ScreenRect{16, 12, 784, 588});
  platform_->PumpMessages(recorder);

  EXPECT_TRUE(platform_->ChangeDesktopResolution(0, 0));
  platform_->SizeGameWindow(256, 192);
  platform_->ClipCursor(std::nullopt);
  const std::uint32_t before = platform_->TickCount();
  platform_->Sleep(30);
  EXPECT_GE(platform_->TickCount() - before, 30u);
  window.close();
  platform_->PumpMessages(recorder);
  EXPECT_TRUE(recorder.downs.empty());
}

TEST_F(SdlPlatformOnDummyDrivers, SoundsPlayThroughTheAudioStream) {
  auto sound = platform_->CreateSoundDevice();
  if (!sound) GTEST_SKIP() << "SDL audio cannot start here";
  auto music = platform_->CreateMusicPlayer();
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(music->Play(-1, 0), -1);

  const testing::ScratchFolder scratch;
  const auto wav = EncodeWav16(std::vector<std::int16_t>(2 * 2205, 1000), 2, 44100);
  const auto path = scratch.Write("blip.wav", std::string(wav.begin(), wav.end()));
  const auto buffer = sound->Load(path.string());
  std::filesystem::remove(path);  // the sound is held, not read from the file as it plays
  ASSERT_GE(buffer, 0);
  // A broken or missing file is refused with the reason; the game names the file.
  std::string why;
  EXPECT_EQ(sound->Load(scratch.Write("bad.wav", std::string("RIFF\0\0", 6)).string(), &why), -1);
  EXPECT_EQ(why, "not a RIFF WAVE file");
  EXPECT_EQ(sound->Load(path.string(), &why), -1);
  EXPECT_NE(why.find("No such file"), std::string::npos) << why;
  sound->Play(buffer, false);
  EXPECT_TRUE(sound->IsPlaying(buffer));
  // A twentieth of a second of sound: the audio thread plays it out on its own.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (sound->IsPlaying(buffer) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(sound->IsPlaying(buffer));
}

}  // namespace
}  // namespace zendor
