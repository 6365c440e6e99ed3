#include "platform/sdl/sdl_platform.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "support/game_fixture.h"

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/image_file.h"
#include "platform/wav_file.h"

namespace zendor {
namespace {

struct Recorder : MessageHandler {
  std::vector<int> downs, ups;
  int closes = 0;
  void OnKeyDown(int key) override { downs.push_back(key); }
  void OnKeyUp(int key) override { ups.push_back(key); }
  void OnCloseRequest() override { ++closes; }
};

void PushKey(Uint32 type, SDL_Scancode scancode, SDL_Keycode keycode, bool repeat = false) {
  SDL_Event event{};
  event.type = type;
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat ? 1 : 0;
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = keycode;
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
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LCTRL, SDLK_LCTRL);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LCTRL, SDLK_LCTRL, true);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_4, SDLK_KP_4);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_AUDIONEXT, SDLK_AUDIONEXT);  // not a key of the game
  // Waiting returns at once while a message is pending, and leaves it for the pump.
  platform_->WaitForMessage();
  platform_->PumpMessages(recorder);
  EXPECT_EQ(recorder.downs, (std::vector<int>{17, 17, 100}));
  EXPECT_EQ(platform_->GetKeyboardState()[17] & 0x80, 0x80);

  PushKey(SDL_KEYUP, SDL_SCANCODE_RCTRL, SDLK_RCTRL);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  SDL_Event closeButton{};
  closeButton.type = SDL_WINDOWEVENT;
  closeButton.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&closeButton);
  platform_->PumpMessages(recorder);
  EXPECT_EQ(recorder.ups, (std::vector<int>{17}));
  EXPECT_EQ(platform_->GetKeyboardState()[17] & 0x80, 0);
  EXPECT_EQ(recorder.closes, 2);  // a termination signal and the window's close button
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
  const double timer = platform_->Timer();
  EXPECT_GE(timer, 0.0);
  EXPECT_LT(timer, 86400.0);
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

  const zendor::testing::ScratchFolder scratch;
  const auto path = scratch.path() / "blip.wav";
  ASSERT_TRUE(
      WriteWholeFile(path, EncodeWav16(std::vector<std::int16_t>(2 * 2205, 1000), 2, 44100)));
  const auto buffer = sound->Load(path.string());
  std::filesystem::remove(path);
  ASSERT_GE(buffer, 0);
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
