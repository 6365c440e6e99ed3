#include "app/profile.h"

#include <gtest/gtest.h>

#include "support/game_fixture.h"

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
}

TEST(ProfileFile, JunkLongValuesAndNulsNeverBreakReading) {
  ScratchFolder dir;
  std::string junk = "\x01\xff[Pantalla\n=====\n[Pantalla]\nAncho=";
  junk += std::string(1000, '9');
  junk += "\nAlto=12";
  junk += '\0';
  junk += "34\n";
  for (int i = 0; i < 256; ++i) junk += static_cast<char>(i);
  const auto ini = dir.Write("junk.ini", junk);
  EXPECT_EQ(ReadProfileString(ini, "Pantalla", "Ancho", "0").size(), 254u);
  EXPECT_EQ(ReadProfileString(ini, "Pantalla", "Alto", "0"), "12");
}

TEST(LeadingNumberTest, ReadsTheLeadingDecimalLiteral) {
  EXPECT_EQ(LeadingNumber("3"), 3);
  EXPECT_EQ(LeadingNumber("  12abc"), 12);
  EXPECT_EQ(LeadingNumber("-4"), -4);
  EXPECT_EQ(LeadingNumber("2.5x"), 2.5);
  EXPECT_EQ(LeadingNumber("1e3"), 1000);
  EXPECT_EQ(LeadingNumber("1e"), 1);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("."), 0);
  EXPECT_EQ(LeadingNumber("1e999999"), 0);  // not a finite number
}

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(3.125), 3);
  EXPECT_EQ(RoundHalfEven(3.75), 4);
}

}  // namespace
}  // namespace zendor
