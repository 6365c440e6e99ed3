#include "frontend/screen_flow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/shutdown.h"
#include "assets/temp_files.h"
#include "frontend/loading_fade.h"
#include "frontend/menu.h"
#include "platform/image_file.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

using testing::RecordingTracer;
using testing::ScratchFolder;

// Remembers what the program reported together with the virtual time ("3270 screen menu").
class TimedTracer : public RecordingTracer {
 public:
  explicit TimedTracer(const HeadlessPlatform& platform) : platform_(platform) {}
  void Screen(std::string_view state) override {
    Stamp([&] { RecordingTracer::Screen(state); });
  }
  void Sound(std::string_view op, int n, std::optional<int> value,
             std::optional<bool> loop) override {
    Stamp([&] { RecordingTracer::Sound(op, n, value, loop); });
  }
  void Music(std::string_view op, std::optional<int> theme, std::optional<int> value) override {
    Stamp([&] { RecordingTracer::Music(op, theme, value); });
  }
  void Message(std::string_view text) override {
    Stamp([&] { RecordingTracer::Message(text); });
  }

 private:
  template <typename F>
  void Stamp(F record) {
    record();
    lines.back() = std::to_string(platform_.now()) + " " + lines.back();
  }
  const HeadlessPlatform& platform_;
};

// The game window with its temporary files in a scratch folder, sound on, and the picture
// drawn at the exclusive path's place.
struct FrontEnd {
  explicit FrontEnd(Surface loadingPicture = Surface(256, 192, Rgb(90, 60, 30))) {
    settings.ProgramFolder = temp.folder();
    settings.TempFolder = temp.folder();
    settings.DisplayOffsetX = 32;
    settings.DisplayOffsetY = 4;
    settings.DisplayScale = 1;
    platform.window().setClientSize(320, 200);
    settings.SavedKeyboardState[20] = 1;  // Caps Lock was on before the game
    EXPECT_TRUE(settings.Registry.Create(temp.folder() + "abcdefgh.tmp", nullptr));
    v.sheets.Pantalla = std::move(loadingPicture);
    MakeStillFades(v);
    sound.LoadSoundsAndMusic(platform, true, true, temp.folder());
    tracer.lines.clear();
  }
  // Runs the loading sequence and forgets what it reported.
  void ReachMenu() {
    Form_Activate(v);
    tracer.lines.clear();
  }
  bool Has(const std::string& line) const {
    return std::find(tracer.lines.begin(), tracer.lines.end(), line) != tracer.lines.end();
  }

  ScratchFolder temp;
  HeadlessPlatform platform;
  Settings settings;
  TimedTracer tracer{platform};
  SoundSystem sound{tracer};
  Ventana v{platform, settings, sound, tracer};
};

TEST(LoadingSequence, FadesInHoldsFadesOutAndPutsUpTheMenuOnTime) {
  FrontEnd f;
  Form_Activate(f.v);
  std::erase_if(f.tracer.lines, [](const std::string& line) { return line == "level"; });
  EXPECT_EQ(
      f.tracer.lines,
      (std::vector<std::string>{
          "560 screen pantalla", "2620 music play 0", "3120 sound play 0 once", "3120 music play 5",
          "3120 music volume 0", "3120 sound play 0 once", "3270 screen menu"}));
  EXPECT_EQ(f.v.ScreenState(), "menu");
}

TEST(LoadingSequence, WithoutItsPicturesStillReachesTheMenu) {
  FrontEnd f;
  for (int n = 0; n <= 5; ++n) std::filesystem::remove(f.temp.path() / FadePictureName(n));
  Form_Activate(f.v);
  EXPECT_TRUE(f.Has("500 screen pantalla"));
  EXPECT_TRUE(f.Has("3150 screen menu"));
}

// What the player sees at each pause of a fade, as the colour of the picture's first pixel.
std::vector<Pixel> FadeFrames(FrontEnd& f, std::int16_t from, std::int16_t to, int x, int y) {
  std::vector<Pixel> seen;
  f.platform.onClockAdvance = [&](std::uint32_t, std::uint32_t) {
    seen.push_back(f.platform.window().screen().at(x, y));
  };
  PlayPanFrames(f.v, from, to);
  f.platform.onClockAdvance = nullptr;
  return seen;
}

TEST(LoadingFade, ShowsTheDarkestPictureFirstWhenFadingInAndLastWhenFadingOut) {
  FrontEnd f(Surface(256, 192, Rgb(255, 200, 153)));
  const std::vector<Pixel> in = FadeFrames(f, 5, 0, 32, 4);
  EXPECT_EQ(in, (std::vector<Pixel>{Rgb(0, 0, 0), Rgb(51, 0, 0), Rgb(102, 47, 0), Rgb(153, 98, 51),
                                    Rgb(204, 149, 102), Rgb(255, 200, 153)}));
  const std::vector<Pixel> out = FadeFrames(f, 0, 5, 32, 4);
  EXPECT_EQ(out, std::vector<Pixel>(in.rbegin(), in.rend()));
  EXPECT_EQ(f.platform.now(), 120u);  // six pauses of 10 ms each way
}

TEST(LoadingFade, PlacesThePictureAtTheOriginScaledByTheZoom) {
  FrontEnd f;
  f.settings.DisplayOffsetX = 0;
  f.settings.DisplayOffsetY = 0;
  f.settings.DisplayScale = 2;
  f.platform.window().setClientSize(512, 384);
  PlayPanFrames(f.v, 1, 0);
  const Surface& screen = f.platform.window().screen();
  EXPECT_EQ(screen.at(0, 0), Rgb(90, 60, 30));
  EXPECT_EQ(screen.at(511, 383), Rgb(90, 60, 30));
}

TEST(LoadingFade, StopsAtAMissingPicture) {
  FrontEnd f;
  std::filesystem::remove(f.temp.path() / FadePictureName(3));
  PlayPanFrames(f.v, 5, 0);
  EXPECT_EQ(f.platform.now(), 20u);  // pictures 5 and 4 only
}

TEST(KeyRouting, KeysPressedDuringTheLoadingSleepsActInTheMenu) {
  FrontEnd f;
  f.platform.SetScript({{0, ScriptedKey::Kind::Down, 49}, {100, ScriptedKey::Kind::Down, 50}});
  Form_Activate(f.v);  // the "1" at 0 ms meets the empty screen and does nothing
  EXPECT_EQ(f.v.ScreenState(), "menu");
  DoEvents(f.v);
  EXPECT_EQ(f.v.ScreenState(), "redefine");
  for (const std::string& line : f.tracer.lines) EXPECT_FALSE(line.ends_with("screen juego"));
}

TEST(Redefinition, TakesSixKeysEscapeIncludedAndReturnsToTheMenu) {
  FrontEnd f;
  f.ReachMenu();
  Form_KeyDown(f.v, 50);
  EXPECT_EQ(f.v.ScreenState(), "redefine");
  EXPECT_EQ(f.platform.now(), 3270u + 150 + 150);  // the question, then "IZQUIERDA"
  for (int key : {27, 65, 65, 50, 49, 97}) Form_KeyDown(f.v, key);
  EXPECT_EQ(f.settings.KeyBindings, (std::array<std::int16_t, 6>{27, 65, 65, 50, 49, 97}));
  EXPECT_EQ(f.v.ScreenState(), "menu");
  EXPECT_EQ(f.v.RedefineStep, 6);
  // each key clicks: its own pitch, stopped, rewound, played once
  const auto click =
      std::find(f.tracer.lines.begin(), f.tracer.lines.end(), "3570 sound frequency 2 0");
  ASSERT_LE(click + 4, f.tracer.lines.end());
  EXPECT_EQ(std::vector<std::string>(click, click + 4),
            (std::vector<std::string>{"3570 sound frequency 2 0", "3570 sound stop 2",
                                      "3570 sound rewind 2", "3570 sound play 2 once"}));
  EXPECT_EQ(std::count_if(f.tracer.lines.begin(), f.tracer.lines.end(),
                          [](const std::string& l) { return l.ends_with("sound play 2 once"); }),
            6);
  EXPECT_TRUE(f.Has(std::to_string(f.platform.now() - 150) + " music play 5"));
  EXPECT_TRUE(f.platform.messages().empty());
}

TEST(Redefinition, ClearsTheWordBandBeforeEachWord) {
  FrontEnd f;
  f.ReachMenu();
  Form_KeyDown(f.v, 50);
  Surface& screen = f.platform.window().target();
  const Pixel stain = Rgb(1, 2, 3);
  screen.set(32 + 0, 4 + 88, stain);
  screen.set(32 + 255, 4 + 97, stain);
  screen.set(32 + 10, 4 + 98, stain);
  Form_KeyDown(f.v, 65);
  EXPECT_EQ(screen.at(32 + 0, 4 + 88), kBlack);
  EXPECT_EQ(screen.at(32 + 255, 4 + 97), kBlack);
  EXPECT_EQ(screen.at(32 + 10, 4 + 98), stain);
}

TEST(KeyRelease, IsHandedToTheHeroOnEveryScreen) {
  for (const char* screen : {"", "pantalla", "menu", "redefine", "juego", "final"}) {
    SCOPED_TRACE(screen);
    FrontEnd f;
    f.v.SetScreenState(screen);
    f.v.hero.UpHeld = f.v.hero.RightHeld = f.v.hero.DownHeld = f.v.hero.LeftHeld = true;
    f.v.hero.FireHeld = true;
    for (int key : {38, 39, 40, 37, 17}) Form_KeyUp(f.v, key);
    EXPECT_FALSE(f.v.hero.UpHeld || f.v.hero.RightHeld || f.v.hero.DownHeld || f.v.hero.LeftHeld ||
                 f.v.hero.FireHeld);
    EXPECT_EQ(f.v.ScreenState(), screen);
  }
}

TEST(Quitting, EscapeInTheMenuCleansUpWaitsAndSaysGoodbye) {
  FrontEnd f;
  f.ReachMenu();
  Platform& p = f.platform;
  p.SetKeyboardState({});
  p.ShowCursor(false);
  p.ClipCursor(ScreenRect{0, 0, 10, 10});
  p.LockTaskSwitching(true);
  const std::uint32_t pressed = f.platform.now();

  EXPECT_THROW(Form_KeyDown(f.v, 27), ProgramExit);

  EXPECT_EQ(f.tracer.lines.front(), std::to_string(pressed) + " music stop 5");
  EXPECT_EQ(f.platform.now(), pressed + 5000);
  ASSERT_EQ(f.platform.messages().size(), 1u);
  const ShownMessage& box = f.platform.messages()[0];
  EXPECT_EQ(box.flags, 64);
  EXPECT_EQ(box.title, "Zendor Vostrik XxI");
  EXPECT_TRUE(box.text.starts_with("Beta 060813\r\n"));
  EXPECT_EQ(box.text, FarewellText("\r\n"));
  EXPECT_TRUE(std::filesystem::is_empty(f.temp.path()));
  EXPECT_GE(p.cursorCount(), 0);
  EXPECT_FALSE(p.cursorClip());
  EXPECT_EQ(p.GetKeyboardState()[20], 1);
  EXPECT_FALSE(p.taskSwitchingLocked());
  EXPECT_TRUE(p.window().closed());
  EXPECT_FALSE(p.display().desktopChanged || p.display().exclusiveMode);
}

TEST(Quitting, ClosingTheWindowCleansUpAtOnceWithoutAFarewell) {
  FrontEnd f;
  f.ReachMenu();
  const std::uint32_t closed = f.platform.now();
  VentanaMessages messages(f.v);
  EXPECT_THROW(messages.OnCloseRequest(), ProgramExit);
  EXPECT_EQ(f.platform.now(), closed);
  EXPECT_TRUE(f.platform.messages().empty());
  EXPECT_TRUE(std::filesystem::is_empty(f.temp.path()));
  EXPECT_TRUE(f.platform.window().closed());
  EXPECT_EQ(f.platform.GetKeyboardState()[20], 1);
}

}  // namespace
}  // namespace zendor
