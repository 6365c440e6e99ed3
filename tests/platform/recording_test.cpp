#include "platform/recording.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"

namespace zendor {
namespace {

using Kind = RecordedInput::Kind;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(RecordedGameFile, WhatIsWrittenReadsBackAndTellsItselfFromAScript) {
  const std::string path = testing::TempDir() + "recording_round_trip.zrec";
  {
    RecordingWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Open(path, 0x1234567, false, &error)) << error;
    writer.ClockRead(1353);
    writer.WaitEnded(1747);
    writer.Input({3, 1747, Kind::Down, 49});
    writer.Input({57, 7318, Kind::Repeat, 38});
    writer.Input({3, 7393, Kind::Close, 0});
    // Everything so far is on disk before the run ends (a crash keeps it).
    EXPECT_NE(ReadAll(path).find("key 3 7393 close"), std::string::npos);
    writer.End(58, 12393);
  }
  const std::string text = ReadAll(path);
  EXPECT_TRUE(LooksLikeRecording(text));
  EXPECT_FALSE(LooksLikeRecording("0 down 49\n"));
  std::string error;
  const auto r = ParseRecording(text, &error);
  ASSERT_TRUE(r) << error;
  EXPECT_EQ(r->seed, 0x234567u);  // 24 bits
  EXPECT_FALSE(r->exclusiveModes);
  EXPECT_EQ(r->clockReads, std::vector<std::uint32_t>{1353});
  EXPECT_EQ(r->waits, std::vector<std::uint32_t>{1747});
  ASSERT_EQ(r->inputs.size(), 3u);
  EXPECT_EQ(r->inputs[1].pump, 57u);
  EXPECT_EQ(r->inputs[1].kind, Kind::Repeat);
  EXPECT_EQ(r->inputs[1].virtualKey, 38);
  EXPECT_EQ(r->inputs[2].kind, Kind::Close);
  EXPECT_EQ(r->endPump, 58u);
  std::filesystem::remove(path);
}

TEST(RecordedGameFile, AMalformedLineIsNamedByItsNumber) {
  const std::string head = std::string(kRecordingHeader) + "\nseed 5\n";
  const std::pair<std::string, std::string> cases[] = {
      {"zendor-recording 2\n", "line 1: not a recording"},
      {head + "key 3 10 press 49\n", "line 3: \"press\" is not down, up, repeat or close"},
      {head + "key 3 10 down 256\n", "line 3: \"256\" is not a key code"},
      {head + "key 3 10 down 49\nkey 4 9 up 49\n", "line 4: time 9 comes before"},
      {head + "seed 16777216\n", "line 3: \"seed 16777216\" is not a recording line"},
      {head + "wait soon\n", "line 3: \"wait soon\" is not a recording line"},
  };
  for (const auto& [text, expected] : cases) {
    std::string error;
    EXPECT_FALSE(ParseRecording(text, &error)) << text;
    EXPECT_EQ(error.rfind(expected, 0), 0u) << error;
  }
}

// Writes down every delivered message with its virtual time; the key 'G' runs a game of two
// frames that pump on their own, as the menu's key handler does.
struct NestedGame : MessageHandler {
  explicit NestedGame(HeadlessPlatform& platform) : p(platform) {}
  void OnKeyDown(int key) override {
    Note(" down ", key);
    if (key != 'G') return;
    for (int frame = 0; frame < 2; ++frame) {
      p.PumpMessages(*this);
      p.Sleep(75);
    }
  }
  void OnKeyUp(int key) override { Note(" up ", key); }
  void OnCloseRequest() override { lines.push_back(std::to_string(p.now()) + " close"); }
  void Note(const char* what, int key) {
    lines.push_back(std::to_string(p.now()) + what + std::to_string(key));
  }
  HeadlessPlatform& p;
  std::vector<std::string> lines;
};

TEST(RecordedGameReplay, EachKeyComesFromThePumpThatSawItEvenAfterANestedGameReturns) {
  HeadlessPlatform p;
  Recording r;
  r.seed = 4242;
  r.exclusiveModes = false;
  r.clockReads = {1353, 2996};
  r.waits = {500};
  // Pump 1 starts the game; its frames pump as 2 and 3; the release of 'G' and the close come
  // to pump 1 again once the game is over, 150 ms later.
  r.inputs = {{1, 500, Kind::Down, 'G'},
              {2, 500, Kind::Down, 'A'},
              {3, 575, Kind::Up, 'A'},
              {1, 650, Kind::Up, 'G'},
              {1, 650, Kind::Close, 0}};
  p.SetRecording(r);
  EXPECT_TRUE(p.random().fixed());
  EXPECT_EQ(p.random().state(), 4242u);
  EXPECT_EQ(p.TickCount(), 1353u);  // the clock reads as recorded, then as the game clock
  EXPECT_EQ(p.TickCount(), 2996u);
  EXPECT_EQ(p.TickCount(), 0u);

  NestedGame game(p);
  p.WaitForMessage();  // ends when the recorded wait did
  EXPECT_EQ(p.GameClock(), 500u);
  p.PumpMessages(game);
  EXPECT_EQ(game.lines, (std::vector<std::string>{"500 down 71", "500 down 65", "575 up 65",
                                                  "650 up 71", "650 close"}));
  EXPECT_EQ(p.RecordingDivergence(), "");
  try {
    p.WaitForMessage();
    FAIL() << "the replay went on past the recorded waits";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.reason, "recording-end");
  }
}

TEST(RecordedGameReplay, AKeyAtAnotherTimeOrNeverDeliveredIsADivergence) {
  Recording r;
  r.inputs = {{1, 100, Kind::Down, 'A'}, {5, 200, Kind::Down, 'B'}};
  HeadlessPlatform early;
  early.SetRecording(r);
  NestedGame game(early);
  early.PumpMessages(game);  // at 0 ms, not 100
  EXPECT_EQ(early.RecordingDivergence(), "the key recorded at pump 1, 100 ms came at 0 ms");

  r.inputs[0].time = 0;
  HeadlessPlatform stopped;
  stopped.SetRecording(r);
  NestedGame other(stopped);
  stopped.PumpMessages(other);
  EXPECT_EQ(stopped.RecordingDivergence(),
            "the key recorded at pump 5, 200 ms was never delivered");
}

}  // namespace
}  // namespace zendor
