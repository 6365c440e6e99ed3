#include "frontend/screen_flow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/shutdown.h"
#include "assets/temp_files.h"
#include "frontend/loading_fade.h"
#include "platform/virtual_keys.h"
#include "support/game_fixture.h"

// The loading sequence's timing and sounds, keys queued during it, the keypad's "1" and the
// redefinition's trace are proved by the scenarios front_* and sound_loading_to_menu. The
// sequence reads its pictures only through PlayPanFrames, tested here.
namespace zendor {
namespace {

// The game window with its temporary files in a scratch folder, sound on, and the picture
// drawn at the exclusive path's place.
struct FrontEnd : testing::GameFixture {
  explicit FrontEnd(Surface loadingPicture = Surface(256, 192, Rgb(90, 60, 30))) {
    settings.ProgramFolder = settings.TempFolder = temp.folder();
    platform.window().setClientSize(320, 200);
    settings.SavedKeyboardState[20] = 1;  // Caps Lock was on before the game
    EXPECT_TRUE(settings.Registry.Create(temp.folder() + "abcdefgh.tmp", nullptr));
    v.sheets.Pantalla = std::move(loadingPicture);
    MakeStillFades(v);
    sound.LoadSoundsAndMusic(platform, true, true, temp.folder());
  }
  // Runs the loading sequence and forgets what it reported.
  void ReachMenu() {
    Form_Activate(v);
    tracer.lines.clear();
  }

  testing::ScratchFolder temp;
};

TEST(LoadingFade, DarkestPictureFirstFadingInAndLastFadingOutAtTheZoomUpToAMissingPicture) {
  FrontEnd f(Surface(256, 192, Rgb(255, 200, 153)));
  // What the player sees at each pause of a fade, as the colour of the picture's first pixel.
  const auto frames = [&f](std::int16_t from, std::int16_t to) {
    std::vector<Pixel> seen;
    f.platform.onClockAdvance = [&](std::uint32_t, std::uint32_t) {
      seen.push_back(f.platform.window().screen().at(32, 4));
    };
    PlayPanFrames(f.v, from, to);
    f.platform.onClockAdvance = nullptr;
    return seen;
  };
  const std::vector<Pixel> in = frames(5, 0);
  EXPECT_EQ(in, (std::vector<Pixel>{Rgb(0, 0, 0), Rgb(51, 0, 0), Rgb(102, 47, 0), Rgb(153, 98, 51),
                                    Rgb(204, 149, 102), Rgb(255, 200, 153)}));
  EXPECT_EQ(frames(0, 5), std::vector<Pixel>(in.rbegin(), in.rend()));
  EXPECT_EQ(f.platform.now(), 120u);  // six pauses of 10 ms each way

  // At the window's origin, scaled by the zoom.
  f.settings.DisplayOffsetX = f.settings.DisplayOffsetY = 0;
  f.settings.DisplayScale = 2;
  f.platform.window().setClientSize(512, 384);
  PlayPanFrames(f.v, 1, 0);
  EXPECT_EQ(f.platform.window().screen().at(0, 0), Rgb(255, 200, 153));
  EXPECT_EQ(f.platform.window().screen().at(511, 383), Rgb(255, 200, 153));

  // A missing picture ends a fade where it is.
  std::filesystem::remove(f.temp.path() / FadePictureName(3));
  const std::uint32_t start = f.platform.now();
  PlayPanFrames(f.v, 5, 0);
  EXPECT_EQ(f.platform.now(), start + 20);  // pictures 5 and 4 only
}

TEST(Redefinition, TakesSixKeysEscapeIncludedEachClickingAndClearingTheWordBand) {
  FrontEnd f;
  f.ReachMenu();
  Form_KeyDown(f.v, vk::k2);
  EXPECT_EQ(f.v.ScreenState(), "redefine");
  Surface& screen = f.platform.window().target();
  const Pixel stain = Rgb(1, 2, 3);
  const int stains[][2] = {{0, 88}, {255, 97}, {10, 98}};
  for (const auto& at : stains) screen.set(32 + at[0], 4 + at[1], stain);
  f.tracer.lines.clear();

  Form_KeyDown(f.v, vk::kEscape);
  // the key clicks at its own pitch, stopped, rewound, played once; the next word's band is
  // blacked out (rows 88 to 97) before it is written
  EXPECT_EQ(f.tracer.lines, (std::vector<std::string>{"sound frequency 2 0", "sound stop 2",
                                                      "sound rewind 2", "sound play 2 once"}));
  EXPECT_EQ(screen.at(32 + 0, 4 + 88), kBlack);
  EXPECT_EQ(screen.at(32 + 255, 4 + 97), kBlack);
  EXPECT_EQ(screen.at(32 + 10, 4 + 98), stain);

  for (int key : {vk::kA, vk::kA, vk::k2, vk::k1, vk::kNumpad1}) Form_KeyDown(f.v, key);
  EXPECT_EQ(f.settings.KeyBindings, (std::array<std::int16_t, 6>{vk::kEscape, vk::kA, vk::kA,
                                                                 vk::k2, vk::k1, vk::kNumpad1}));
  EXPECT_EQ(f.v.ScreenState(), "menu");
  EXPECT_EQ(f.v.RedefineStep, 6);
  EXPECT_EQ(std::ranges::count(f.tracer.lines, "sound play 2 once"), 6);
  EXPECT_TRUE(f.platform.messages().empty());
}

TEST(KeyRelease, IsHandedToTheHeroOnEveryScreen) {
  for (const char* screen : {"", "pantalla", "menu", "redefine", "juego", "final"}) {
    SCOPED_TRACE(screen);
    FrontEnd f;
    f.v.SetScreenState(screen);
    auto& h = f.v.hero;
    h.UpHeld = h.RightHeld = h.DownHeld = h.LeftHeld = h.FireHeld = true;
    for (int key : {vk::kUp, vk::kRight, vk::kDown, vk::kLeft, vk::kControl}) Form_KeyUp(f.v, key);
    EXPECT_FALSE(h.UpHeld || h.RightHeld || h.DownHeld || h.LeftHeld || h.FireHeld);
    EXPECT_EQ(f.v.ScreenState(), screen);
  }
}

// Escape in the menu waits 5 s and says goodbye; closing the window ends at once without a
// word. Either way the temporary files go and the keyboard, cursor and display are put back.
TEST(Quitting, FromTheMenuOrByClosingTheWindowCleansUp) {
  for (const bool escape : {true, false}) {
    SCOPED_TRACE(escape ? "Escape" : "closed");
    FrontEnd f;
    f.ReachMenu();
    HeadlessPlatform& p = f.platform;
    p.SetKeyboardState({});
    p.ShowCursor(false);
    p.ClipCursor(ScreenRect{0, 0, 10, 10});
    p.LockTaskSwitching(true);
    const std::uint32_t pressed = p.now();

    if (escape) {
      EXPECT_THROW(Form_KeyDown(f.v, vk::kEscape), ProgramExit);
    } else {
      VentanaMessages messages(f.v);
      EXPECT_THROW(messages.OnCloseRequest(), ProgramExit);
    }

    EXPECT_EQ(p.now(), pressed + (escape ? 5000 : 0));
    ASSERT_EQ(p.messages().size(), escape ? 1u : 0u);
    if (escape) {
      EXPECT_EQ(p.messages()[0].flags, 64);
      EXPECT_EQ(p.messages()[0].title, "Zendor Vostrik XxI");
      EXPECT_EQ(p.messages()[0].text, FarewellText("\r\n"));
    }
    EXPECT_TRUE(std::filesystem::is_empty(f.temp.path()));
    EXPECT_GE(p.cursorCount(), 0);
    EXPECT_FALSE(p.cursorClip());
    EXPECT_EQ(p.GetKeyboardState()[20], 1);
    EXPECT_FALSE(p.taskSwitchingLocked());
    EXPECT_TRUE(p.window().closed());
    EXPECT_FALSE(p.display().desktopChanged || p.display().exclusiveMode);
  }
}

}  // namespace
}  // namespace zendor
