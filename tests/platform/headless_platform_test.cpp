#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zendor {
namespace {

// Writes down every message with the virtual time it arrived at; a key press may sleep.
class Log : public MessageHandler {
 public:
  explicit Log(HeadlessPlatform& p) : p_(p) {}
  void OnKeyDown(int key) override {
    lines.push_back(std::to_string(p_.now()) + " down " + std::to_string(key));
    if (key == 'S') p_.Sleep(100);
  }
  void OnKeyUp(int key) override {
    lines.push_back(std::to_string(p_.now()) + " up " + std::to_string(key));
  }
  void OnCloseRequest() override { lines.push_back("close"); }
  std::vector<std::string> lines;

 private:
  HeadlessPlatform& p_;
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
}

TEST(HeadlessMessages, WaitingWithNothingLeftRunsToTheStopTime) {
  HeadlessPlatform p;
  p.StopAt(5000, "script-end");
  p.WaitForMessage();
  EXPECT_EQ(p.now(), 5000u);
}

TEST(HeadlessMessages, ALoopThatNeverSleepsEndsTheRunInsteadOfSpinning) {
  HeadlessPlatform p;
  p.SetScript({{10, K::Down, 'A'}});
  p.StopAt(1000, "until");
  Log log(p);
  EXPECT_THROW(
      {
        for (;;) p.PumpMessages(log);
      },
      ProgramExit);
  EXPECT_EQ(p.now(), 0u);
}

TEST(HeadlessClock, OnlySleepsMoveTimeAndObserversSeeEveryStep) {
  HeadlessPlatform p;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> steps;
  p.onClockAdvance = [&](std::uint32_t from, std::uint32_t to) { steps.emplace_back(from, to); };
  p.Sleep(25);
  p.Sleep(0);
  p.Sleep(-5);
  p.Sleep(75);
  EXPECT_EQ(p.TickCount(), 100u);
  EXPECT_DOUBLE_EQ(p.Timer(), 0.1);
  EXPECT_EQ(steps, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{0, 25}, {25, 100}}));
}

TEST(HeadlessDisplay, ExclusiveModesCanBeRefused) {
  HeadlessPlatform p;
  p.SetCooperativeLevel(kCooperativeExclusive);
  EXPECT_FALSE(p.SetDisplayMode(640, 480, 24));
  EXPECT_TRUE(p.SetDisplayMode(320, 200, 16));
  EXPECT_EQ(p.window().width(), 320);
  p.SetCooperativeLevel(kCooperativeNormal);
  EXPECT_FALSE(p.display().exclusiveMode);
  HeadlessPlatform refusing;
  refusing.RefuseExclusiveModes(true);
  refusing.SetCooperativeLevel(kCooperativeExclusive);
  EXPECT_FALSE(refusing.SetDisplayMode(320, 200, 24));
}

TEST(HeadlessDisplay, TheGameWindowSitsInTheMiddleOfAnEmulatedDesktop) {
  HeadlessPlatform p;
  p.ChangeDesktopResolution(800, 600);
  p.SizeGameWindow(512, 384);
  EXPECT_EQ(p.window().left(), 144);
  EXPECT_EQ(p.window().top(), 108);
  p.ChangeDesktopResolution(0, 0);
  EXPECT_FALSE(p.display().desktopChanged);
}

TEST(HeadlessKeyboard, LockKeysToggleOnFreshPressesOnly) {
  HeadlessPlatform p;
  p.SetScript({{0, K::Down, 20}, {0, K::Repeat, 20}, {0, K::Up, 20}, {0, K::Down, 20}});
  Log log(p);
  p.PumpMessages(log);
  EXPECT_EQ(p.GetKeyboardState()[20], 0x80);  // pressed twice: toggled on, then off again
  EXPECT_EQ(log.lines.size(), 4u);
}

}  // namespace
}  // namespace zendor
