#include "replay/script.h"

#include <gtest/gtest.h>

#include "replay/options.h"

namespace zendor::replay {
namespace {

TEST(ReplayScript, ReadsEventsKeyNamesAndComments) {
  std::string error;
  const auto events = ParseScript(
      "# start\n\n100 down RIGHT\r\n100 repeat 7\n250 up 39\n300 down A\n"
      "300 down KP_PLUS\n400 down 123\n",
      &error);
  ASSERT_TRUE(events) << error;
  ASSERT_EQ(events->size(), 6u);
  EXPECT_EQ((*events)[0].virtualKey, 39);
  EXPECT_EQ((*events)[1].kind, ScriptedKey::Kind::Repeat);
  EXPECT_EQ((*events)[1].virtualKey, '7');  // a single digit is the digit key
  EXPECT_EQ((*events)[2].kind, ScriptedKey::Kind::Up);
  EXPECT_EQ((*events)[2].virtualKey, 39);  // two digits are a code
  EXPECT_EQ((*events)[3].virtualKey, 65);
  EXPECT_EQ((*events)[4].virtualKey, 107);
  EXPECT_EQ((*events)[5].virtualKey, 123);
}

TEST(ReplayScript, MalformedLinesAreNamed) {
  const std::pair<const char*, const char*> cases[] = {
      {"100 down\n", "line 1:"},
      {"100 down UP\n50 down UP\n", "line 2: time 50 is before"},
      {"\n\nx down UP\n", "line 3:"},
      {"100 press UP\n", "line 1: \"press\""},
      {"100 down lower\n", "line 1: \"lower\""},
      {"100 down UP extra\n", "line 1: unexpected"},
      {"100 down 999\n", "line 1:"},
  };
  for (const auto& [text, expected] : cases) {
    std::string error;
    EXPECT_FALSE(ParseScript(text, &error)) << text;
    EXPECT_EQ(error.rfind(expected, 0), 0u) << error;
  }
}

TEST(ReplayOptions, ParsesEveryOptionAndRejectsBadOnes) {
  const char* good[] = {"zendor-replay",  "--seed",    "42",      "--until", "1000",
                        "--snapshot",     "560:a.png", "--trace", "-",       "--trace-audio",
                        "--no-exclusive", "s.txt"};
  std::string error;
  const auto o = ParseOptions(12, const_cast<char**>(good), "dir", &error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->seed, 42u);
  EXPECT_EQ(o->until, 1000u);
  ASSERT_EQ(o->snapshots.size(), 1u);
  EXPECT_EQ(o->snapshots[0].file, "a.png");
  EXPECT_TRUE(o->traceAudio && o->noExclusive);
  EXPECT_EQ(o->programFolder, "dir");
  const char* bad1[] = {"zendor-replay", "--until", "soon", "s.txt"};
  EXPECT_FALSE(ParseOptions(4, const_cast<char**>(bad1), "dir", &error));
  const char* bad2[] = {"zendor-replay", "--snapshot", "560", "s.txt"};
  EXPECT_FALSE(ParseOptions(4, const_cast<char**>(bad2), "dir", &error));
  const char* bad3[] = {"zendor-replay", "--frobnicate"};
  EXPECT_FALSE(ParseOptions(2, const_cast<char**>(bad3), "dir", &error));
  EXPECT_EQ(error, "unknown option --frobnicate");
}

}  // namespace
}  // namespace zendor::replay
