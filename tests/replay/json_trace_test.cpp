#include "replay/json_trace.h"

#include <gtest/gtest.h>

namespace zendor::replay {
namespace {

// Every trace line is valid UTF-8 JSON whatever bytes a message holds: well-formed characters
// pass as they are, control characters and stray bytes become escapes.
TEST(TraceText, StringsAreValidJsonAndUtf8WhateverTheBytes) {
  const std::pair<std::string, std::string> cases[] = {
      {"Aqu\xC3\xAD abre", "\"Aqu\xC3\xAD abre\""},
      {"a\"b\\c\n\x01", R"("a\"b\\c\n\u0001")"},
      {"\xE9t\xE9", R"("\u00e9t\u00e9")"},                    // Latin-1, not UTF-8
      {"\xC3", R"("\u00c3")"},                                // cut short at the end
      {"\xC0\xAF", R"("\u00c0\u00af")"},                      // an overlong slash
      {"\xED\xA0\x80", R"("\u00ed\u00a0\u0080")"},            // a surrogate
      {"\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},           // four bytes, well formed
      {"\xF4\x90\x80\x80", R"("\u00f4\u0090\u0080\u0080")"},  // past U+10FFFF
  };
  for (const auto& [text, json] : cases) EXPECT_EQ(JsonString(text), json) << text;
}

}  // namespace
}  // namespace zendor::replay
