#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zendor {
namespace {

// Writes down every message with the virtual time it arrived at; a key press may sleep.
struct Log : MessageHandler {
  explicit Log(HeadlessPlatform& platform) : p(platform) {}
  void OnKeyDown(int key) override {
    Note(" down ", key);
    if (key == 'S') p.Sleep(100);
  }
  void OnKeyUp(int key) override { Note(" up ", key); }
  void OnCloseRequest() override { lines.push_back("close"); }
  void Note(const char* what, int key) {
    lines.push_back(std::to_string(p.now()) + what + std::to_string(key));
  }
  HeadlessPlatform& p;
  std::vector<std::string> lines;
};

using K = ScriptedKey::Kind;

TEST(HeadlessMessages, APumpDeliversWhatIsDueIncludingWhatFallsDueWhileAHandlerSleeps) {
  HeadlessPlatform p;
  p.SetScript({{0, K::Down, 'S'}, {50, K::Repeat, 'A'}, {150, K::Up, 'A'}});
  Log log(p);
  p.PumpMessages(log);  // 'S' sleeps to 100: 'A' at 50 is delivered by the same pump, 150 is not
  EXPECT_EQ(log.lines, (std::vector<std::string>{"0 down 83", "100 down 65"}));
  EXPECT_EQ(p.GetKeyboardState()['A'] & 0x80, 0x80);
  p.WaitForMessage();  // jumps to the next event
  EXPECT_EQ(p.now(), 150u);
  p.PumpMessages(log);
  EXPECT_EQ(log.lines.back(), "150 up 65");
  EXPECT_EQ(p.GetKeyboardState()['A'] & 0x80, 0);
}

TEST(HeadlessMessages, TheStopTimeIsTestedWhenAPumpBeginsAndNothingAtItIsDelivered) {
  HeadlessPlatform p;
  p.SetScript({{100, K::Down, 'A'}});
  p.StopAt(100, "until");
  Log log(p);
  p.Sleep(99);
  p.PumpMessages(log);
  p.WaitForMessage();
  EXPECT_EQ(p.now(), 100u);
  try {
    p.PumpMessages(log);
    FAIL() << "the run did not stop";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.reason, "until");
  }
  EXPECT_TRUE(log.lines.empty());
  // With nothing left in the script, waiting runs to the stop time.
  HeadlessPlatform idle;
  idle.StopAt(5000, "script-end");
  idle.WaitForMessage();
  EXPECT_EQ(idle.now(), 5000u);
}

TEST(HeadlessMessages, ALoopThatNeverSleepsEndsTheRunInsteadOfSpinning) {
  HeadlessPlatform p;
  p.SetScript({{10, K::Down, 'A'}});
  p.StopAt(1000, "until");
  Log log(p);
  const auto pumpForEver = [&] {
    for (;;) p.PumpMessages(log);
  };
  EXPECT_THROW(pumpForEver(), ProgramExit);
  EXPECT_EQ(p.now(), 0u);
}

TEST(HeadlessDisplay, OnlyTheSmallModesAreOfferedAndAWindowSitsInTheMiddleOfTheDesktop) {
  HeadlessPlatform p;
  p.SetCooperativeLevel(kCooperativeExclusive);
  EXPECT_FALSE(p.SetDisplayMode(640, 480, 24));
  EXPECT_TRUE(p.SetDisplayMode(320, 200, 16));
  p.SetCooperativeLevel(kCooperativeNormal);  // leaving exclusive use gives the desktop back
  EXPECT_FALSE(p.display().exclusiveMode);
  p.ChangeDesktopResolution(800, 600);
  p.SizeGameWindow(512, 384);
  EXPECT_EQ(p.window().left(), 144);
  EXPECT_EQ(p.window().top(), 108);
}

}  // namespace
}  // namespace zendor
