// Gamepads press the keys the game already answers to: which keys on which screen, how presses
// from several controls share a key, and a whole game played with SDL's virtual pad against the
// same game played from the keyboard.

#include "platform/gamepad.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "common/pad_layout.h"
#include "common/settings.h"
#include "common/ventana.h"
#include "platform/sdl/sdl_platform.h"
#include "replay/json_trace.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

using C = PadControl;
using S = PadSource;

TEST(PadLayout, TheMenuHasPlayRedefineAndQuitAndAGameTheKeysAsBoundNow) {
  const std::array<std::int16_t, 6> redefined = {65, 68, 87, 83, 32, 80};  // A D W S space P
  const PadKeys menu = PadKeysFor(screens::kMenu, redefined);
  EXPECT_EQ(menu[C::A], '1');
  EXPECT_EQ(menu[C::Y], '2');
  EXPECT_EQ(menu[C::Back], 27);
  EXPECT_EQ(menu[C::Right], 0);
  EXPECT_EQ(menu[C::Start], 0);
  for (std::string_view screen : {screens::kGame, screens::kEnding}) {
    const PadKeys game = PadKeysFor(screen, redefined);
    EXPECT_EQ(game[C::Left], 65);
    EXPECT_EQ(game[C::Right], 68);
    EXPECT_EQ(game[C::Up], 87);
    EXPECT_EQ(game[C::A], 87);  // A jumps
    EXPECT_EQ(game[C::Down], 83);
    EXPECT_EQ(game[C::X], 32);
    EXPECT_EQ(game[C::B], 32);
    EXPECT_EQ(game[C::Start], 80);
    EXPECT_EQ(game[C::Back], 27);
    EXPECT_EQ(game[C::Y], 0);
  }
  // While loading or redefining the keys a pad presses nothing.
  EXPECT_EQ(PadKeysFor(screens::kLoading, redefined), PadKeys{});
  EXPECT_EQ(PadKeysFor(screens::kRedefine, redefined), PadKeys{});
}

TEST(PadPresses, ControlsSharingAKeyPressItOnceAndReleaseItWithTheLast) {
  PadKeys keys = PadKeysFor(screens::kGame, kDefaultKeyBindings);
  PadPresses pad;
  using Changes = std::vector<PadKeyChange>;
  EXPECT_EQ(pad.Set(0, C::X, S::Button, true, keys), (Changes{{true, 17}}));
  EXPECT_EQ(pad.Set(0, C::B, S::Button, true, keys), Changes{});
  EXPECT_EQ(pad.Set(0, C::X, S::Button, true, keys), Changes{});  // no second press
  EXPECT_EQ(pad.Set(0, C::X, S::Button, false, keys), Changes{});
  EXPECT_EQ(pad.Set(0, C::B, S::Button, false, keys), (Changes{{false, 17}}));
  // The d-pad and the stick, or two pads, hold the same direction.
  EXPECT_EQ(pad.Set(0, C::Right, S::Button, true, keys), (Changes{{true, 39}}));
  EXPECT_EQ(pad.Set(0, C::Right, S::Stick, true, keys), Changes{});
  EXPECT_EQ(pad.Set(1, C::Right, S::Button, true, keys), Changes{});
  EXPECT_EQ(pad.Set(0, C::Right, S::Button, false, keys), Changes{});
  EXPECT_EQ(pad.Set(0, C::Right, S::Stick, false, keys), Changes{});
  EXPECT_EQ(pad.Unplug(1), (Changes{{false, 39}}));  // a pad pulled out lets go
  EXPECT_EQ(pad.Set(1, C::Right, S::Button, false, keys), Changes{});
  // A held control lets go of what it pressed, even when the screen changed meanwhile: A
  // started a game as "1" and jumps from then on.
  keys = PadKeysFor(screens::kMenu, kDefaultKeyBindings);
  EXPECT_EQ(pad.Set(0, C::A, S::Button, true, keys), (Changes{{true, '1'}}));
  keys = PadKeysFor(screens::kGame, kDefaultKeyBindings);
  EXPECT_EQ(pad.Set(0, C::A, S::Button, false, keys), (Changes{{false, '1'}}));
  EXPECT_EQ(pad.Set(0, C::A, S::Button, true, keys), (Changes{{true, 38}}));
  EXPECT_EQ(pad.Set(0, C::Y, S::Button, true, keys), Changes{});  // nothing bound
}

// One hand on the game: what it does at each frame (and when the menu first comes up), through
// either a pad or the keyboard.
enum class Move { Right, Jump, Crouch, Fire, OtherFire, Pause, Start };

class Hand {
 public:
  virtual ~Hand() = default;
  virtual void Press(Move move, bool down) = 0;
};

class Keyboard : public Hand {
 public:
  void Press(Move move, bool down) override {
    static const std::map<Move, SDL_Scancode> kKeys = {
        {Move::Right, SDL_SCANCODE_RIGHT},     {Move::Jump, SDL_SCANCODE_UP},
        {Move::Crouch, SDL_SCANCODE_DOWN},     {Move::Fire, SDL_SCANCODE_LCTRL},
        {Move::OtherFire, SDL_SCANCODE_RCTRL}, {Move::Pause, SDL_SCANCODE_PAUSE},
        {Move::Start, SDL_SCANCODE_1}};
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = kKeys.at(move);
    event.key.keysym.sym = SDL_GetKeyFromScancode(event.key.keysym.scancode);
    SDL_PushEvent(&event);
  }
};

// SDL's virtual joystick, described as a game controller with every button and axis.
class VirtualPad : public Hand {
 public:
  VirtualPad() {
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "virtual test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index >= 0) joystick_ = SDL_JoystickOpen(index);
  }
  ~VirtualPad() override {
    if (joystick_) {
      const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
      SDL_JoystickClose(joystick_);
      for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
      }
    }
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  bool ready() const { return joystick_ != nullptr; }
  void Press(Move move, bool down) override {
    switch (move) {
      case Move::Crouch:  // the left stick, pushed down
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, down ? 32767 : 0);
        return;
      case Move::Right:
        return Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, down);
      case Move::Jump:
      case Move::Start:  // A starts a game in the menu
        return Button(SDL_CONTROLLER_BUTTON_A, down);
      case Move::Fire:
        return Button(SDL_CONTROLLER_BUTTON_X, down);
      case Move::OtherFire:
        return Button(SDL_CONTROLLER_BUTTON_B, down);
      case Move::Pause:
        return Button(SDL_CONTROLLER_BUTTON_START, down);
    }
  }

 private:
  void Button(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
  }
  SDL_Joystick* joystick_ = nullptr;
};

// Plays a short game by frame numbers: a press made after frame n reaches the game at the next
// message pump. The pause is taken at the next frame, and the resuming key reaches the game
// once the paused loop has handed back to the menu's pump. Ends the run with a close request.
class PlayingTrace : public replay::JsonTrace {
 public:
  PlayingTrace(std::FILE* out, Hand& hand)
      : JsonTrace(
            out, [] { return 0u; }, false),
        hand_(hand) {}
  void Screen(std::string_view state) override {
    JsonTrace::Screen(state);
    if (state == screens::kMenu && !started_) {
      started_ = true;
      hand_.Press(Move::Start, true);
    } else if (state == screens::kGame) {
      hand_.Press(Move::Start, false);
    }
  }
  void Frame(const Ventana& v) override {
    JsonTrace::Frame(v);
    const std::map<int, std::vector<std::pair<Move, bool>>> kPlay = {
        {2, {{Move::Right, true}}},      {8, {{Move::Right, false}}},
        {10, {{Move::Jump, true}}},      {12, {{Move::Jump, false}}},
        {30, {{Move::Crouch, true}}},    {33, {{Move::Fire, true}}},
        {34, {{Move::Fire, false}}},     {38, {{Move::Crouch, false}}},
        {42, {{Move::OtherFire, true}}}, {43, {{Move::OtherFire, false}}},
        {50, {{Move::Pause, true}}},     {51, {{Move::Pause, false}, {Move::Right, true}}},
        {56, {{Move::Right, false}}}};
    if (const auto it = kPlay.find(v.game.FrameNumber); it != kPlay.end()) {
      for (const auto& [move, down] : it->second) hand_.Press(move, down);
    }
    if (v.game.FrameNumber == 60) {
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
    }
  }

 private:
  Hand& hand_;
  bool started_ = false;
};

class GameOnDummyDrivers : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("TMPDIR", scratch_.folder().c_str(), 1);
    // The stand-in window never has the focus, without which SDL ignores pads.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
  }
  void TearDown() override {
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("TMPDIR");
    unsetenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS");
  }

  // The frame lines of a seeded game played by `hand`, without their times (real waits differ).
  std::string Play(Hand& hand) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    {
      auto platform = CreateSdlPlatform();
      platform->random().FixSeed(77);
      PlayingTrace trace(out, hand);
      EXPECT_EQ(RunProgram(*platform, ZENDOR_GAME_DIR, trace), "shutdown");
    }
    std::fclose(out);
    std::string frames;
    const std::regex time(",\"t\":[0-9]+");
    std::istringstream lines(std::string(text, size));
    std::free(text);
    for (std::string line; std::getline(lines, line);) {
      if (line.find("\"type\":\"frame\"") != std::string::npos) {
        frames += std::regex_replace(line, time, "") + "\n";
      }
    }
    return frames;
  }

  testing::ScratchFolder scratch_;
};

struct KeyLog : MessageHandler {
  std::vector<std::string> keys;
  void OnKeyDown(int key) override { keys.push_back("down " + std::to_string(key)); }
  void OnKeyUp(int key) override { keys.push_back("up " + std::to_string(key)); }
  void OnCloseRequest() override { keys.push_back("close"); }
};

TEST_F(GameOnDummyDrivers, APadPluggedInDuringPlayPressesKeysAndLetsGoWhenPulledOut) {
  auto platform = CreateSdlPlatform();
  platform->SetPadKeys(PadKeysFor(screens::kGame, kDefaultKeyBindings));
  KeyLog log;
  platform->PumpMessages(log);
  {
    VirtualPad pad;  // plugged in now
    if (!pad.ready()) GTEST_SKIP() << "SDL's virtual joystick is missing: " << SDL_GetError();
    platform->PumpMessages(log);  // the pad arrives
    pad.Press(Move::Right, true);
    platform->PumpMessages(log);
    EXPECT_EQ(platform->GetKeyboardState()[39] & 0x80, 0x80);
    pad.Press(Move::Crouch, true);
    platform->PumpMessages(log);
  }  // pulled out with the d-pad and the stick still held
  platform->PumpMessages(log);
  // Both let go, in whatever order SDL reports the pad's last moments.
  ASSERT_EQ(log.keys.size(), 4u);
  std::sort(log.keys.begin() + 2, log.keys.end());
  EXPECT_EQ(log.keys, (std::vector<std::string>{"down 39", "down 40", "up 39", "up 40"}));
  EXPECT_EQ(platform->GetKeyboardState()[39] & 0x80, 0);
}

TEST_F(GameOnDummyDrivers, AGamePlayedWithThePadIsTheSameGameAsFromTheKeyboard) {
  Keyboard keyboard;
  const std::string typed = Play(keyboard);
  VirtualPad pad;
  if (!pad.ready()) GTEST_SKIP() << "SDL's virtual joystick is missing: " << SDL_GetError();
  const std::string padded = Play(pad);
  // It walked, jumped, crouched and shot, struck standing, paused and resumed.
  for (const char* seen :
       {"\"Walking\":true", "\"JumpFalling\":true", "\"HeroState\":4,", "\"HeroBusy\":1,",
        "\"HeroState\":23,", "\"Playing\":false", "\"n\":60,"}) {
    EXPECT_NE(typed.find(seen), std::string::npos) << seen;
  }
  EXPECT_EQ(padded, typed);
}

}  // namespace
}  // namespace zendor
