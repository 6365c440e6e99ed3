#include "app/profile.h"

#include <gtest/gtest.h>

#include "support/game_fixture.h"

// Halves rounded to the even neighbour are checked through the display zoom in display_test.cpp.
namespace zendor {
namespace {

using testing::ScratchFolder;

TEST(ProfileFile, ReadsValuesLikeTheSystemDoes) {
  ScratchFolder dir;
  const auto ini = dir.Write("a.ini",
                             "; comment\r\n[Other]\r\nAncho=1\r\n"
                             "  [ pantalla ]  \r\n  ANCHO =  800  \r\nAlto=\"600\"\r\nAncho=999\r\n"
                             "Empty=\r\n");
  EXPECT_EQ(ReadProfileString(ini, "Pantalla", "Ancho", "0"), "800");  // first match, any case
  EXPECT_EQ(ReadProfileString(ini, "PANTALLA", "alto", "0"), "600");   // quotes dropped
  EXPECT_EQ(ReadProfileString(ini, "Pantalla", "Empty", "7"), "");
  EXPECT_EQ(ReadProfileString(ini, "Pantalla", "DDraw", "1"), "1");
  EXPECT_EQ(ReadProfileString(ini, "Opciones", "Ancho", "x"), "x");
  EXPECT_EQ(ReadProfileString((dir.path() / "missing.ini").string(), "Pantalla", "Ancho", "0"),
            "0");

  // Junk, long values and NULs never break reading: at most 254 characters, up to a NUL.
  std::string junk = "\x01\xff[Pantalla\n=====\n[Pantalla]\nAncho=" + std::string(1000, '9');
  junk += "\nAlto=12";
  junk += '\0';  // the value ends here
  junk += "34\n";
  for (int i = 0; i < 256; ++i) junk += static_cast<char>(i);
  const auto bad = dir.Write("junk.ini", junk);
  EXPECT_EQ(ReadProfileString(bad, "Pantalla", "Ancho", "0").size(), 254u);
  EXPECT_EQ(ReadProfileString(bad, "Pantalla", "Alto", "0"), "12");
}

TEST(ProfileFile, ANumberIsTheLeadingDecimalLiteral) {
  const std::pair<const char*, double> cases[] = {
      {"3", 3},  {"  12abc", 12}, {"-4", -4}, {"2.5x", 2.5}, {"1e3", 1000},
      {"1e", 1}, {"abc", 0},      {"", 0},    {".", 0},      {"1e999999", 0}};  // not finite
  for (const auto& [text, number] : cases) EXPECT_EQ(LeadingNumber(text), number) << text;
}

}  // namespace
}  // namespace zendor
