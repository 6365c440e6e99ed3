#include "replay/script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "replay/options.h"

namespace zendor::replay {
namespace {

// Every scenario reads its script and options through these, with every key name, digit and code
// form it uses; here is what they refuse.
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

TEST(ReplayOptions, BadOnesAreRefused) {
  const std::vector<std::vector<const char*>> cases = {
      {"zendor-replay", "--until", "soon", "s.txt"},
      {"zendor-replay", "--snapshot", "560", "s.txt"},
      {"zendor-replay", "--seed"},
      {"zendor-replay", "--frobnicate"},
  };
  std::string error;
  for (const auto& args : cases) {
    EXPECT_FALSE(
        ParseOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()), "dir", &error))
        << args[1];
  }
  EXPECT_EQ(error, "unknown option --frobnicate");
}

}  // namespace
}  // namespace zendor::replay
