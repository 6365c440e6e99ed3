#include "app/startup.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

#include "app/config_files.h"
#include "app/display.h"
#include "app/profile.h"
#include "app/shutdown.h"
#include "assets/sprite_catalogue.h"
#include "assets/sprite_sheets.h"
#include "assets/temp_files.h"
#include "common/settings.h"
#include "common/sound_system.h"
#include "common/tracer.h"
#include "frontend/screen_flow.h"
#include "platform/image_file.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"
#include "platform/whole_file.h"

namespace zendor {
namespace {

constexpr const char* kSplashPicture = "Pantalla";  // the title picture
constexpr const char* kMissingSetUp = "Aqu\xC3\xAD abre el SetUp.EXE para configurar el juego";

// Eight random letters from "a" to "y" and ".tmp".
std::string RegistryName(Random& random) {
  std::string name;
  for (int i = 0; i < 8; ++i) name += static_cast<char>('a' + random.Below(25));
  return name + ".tmp";
}

void Fail(Ventana& v, const std::string& description) {
  v.platform.MessageBox(description, kProductName, 16);
}

// A configuration file that is there but cannot be read is named once; its values keep their
// defaults.
void ReportUnreadableProfile(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(path, ec);
  if (ec || status.type() == std::filesystem::file_type::not_found) return;
  std::string text, error;
  if (!ReadWholeText(path, text, kLargestProfileFile, &error)) {
    std::fprintf(stderr, "zendor: %s: %s; its settings keep their defaults\n", path.c_str(),
                 error.c_str());
  }
}

// Runs a start-up step whose failure is skipped: the program goes on, and says what went wrong.
template <typename Step>
void SkippedOnFailure(const char* what, Step step) {
  try {
    step();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zendor: %s failed (%s); going on without it\n", what, e.what());
  }
}

}  // namespace

void ReadConfiguration(Ventana& v, std::string& ddrawText) {
  Settings& s = v.settings;
  const std::string mainIni = s.ProgramFolder + kMainIni;
  const std::string soundIni = s.ProgramFolder + kSoundIni;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(mainIni, ec)) {
    v.platform.MessageBox(kMissingSetUp, kProductName, 0);
  }
  ReportUnreadableProfile(mainIni);
  ReportUnreadableProfile(soundIni);
  const double fullScreen =
      LeadingNumber(ReadProfileString(mainIni, "Pantalla", "PantallaCompleta", "0"));
  s.FitToScreen = fullScreen == 1 || fullScreen == 2;
  s.ScreenWidthText = ReadProfileString(mainIni, "Pantalla", "Ancho", "0");
  s.ScreenHeightText = ReadProfileString(mainIni, "Pantalla", "Alto", "0");
  ddrawText = ReadProfileString(mainIni, "Pantalla", "DDraw", "1");
  s.SoundOn = LeadingNumber(ReadProfileString(soundIni, "Sonido", "SND", "1")) != 0;
  s.MusicOn = LeadingNumber(ReadProfileString(soundIni, "Sonido", "MUS", "1")) != 0;
  const double language = LeadingNumber(ReadProfileString(mainIni, "Opciones", "Idioma", "0"));
  s.LanguageIndex =
      language >= -32768 && language <= 32767 ? static_cast<std::int16_t>(language) : 0;
  const Difficulty d =
      DifficultyFor(LeadingNumber(ReadProfileString(mainIni, "Opciones", "Dificultad", "0")));
  s.MaxEnemies = d.maxEnemies;
  s.SpawnRarityScale = d.rarityScale;
}

bool StartUp(Ventana& v, const std::string& programFolder) {
  Platform& platform = v.platform;
  Settings& s = v.settings;
  // The busy pointer and the title picture in the splash window while the game loads.
  platform.SetBusyPointer(true);
  platform.ShowSplash(
      ReadImageFile(programFolder + "/" + kArtFolder + "/" + kSplashPicture + ".bmp").surface);
  s.NewLine = "\r\n";

  // Early steps: any failure ends the program with its description.
  s.ProgramFolder = programFolder;
  std::error_code ec;
  if (s.ProgramFolder.empty() || !std::filesystem::is_directory(s.ProgramFolder, ec)) {
    Fail(v, "The program folder " + programFolder + " cannot be found");
    return false;
  }
  if (s.ProgramFolder.back() != '/') s.ProgramFolder += '/';
  std::string error;
  s.TempFolder = platform.TempPath(&error);
  if (s.TempFolder.empty()) {
    Fail(v, error);
    return false;
  }
  RemoveFilesOfDeadRuns(s.TempFolder);
  platform.random().Reseed(platform.Timer());
  if (!s.Registry.Create(s.TempFolder + RegistryName(platform.random()), &error)) {
    Fail(v, error + " in the temporary folder " + s.TempFolder);
    return false;
  }
  s.SavedKeyboardState = platform.GetKeyboardState();
  for (int key : {vk::kCapital, vk::kNumLock, vk::kScroll, vk::kSnapshot, vk::kSpace}) {
    ClearKeyState(platform, key);
  }

  // From here on a failing step is skipped.
  std::string ddrawText = "1";
  SkippedOnFailure("reading the configuration", [&] { ReadConfiguration(v, ddrawText); });
  s.KeyBindings = kDefaultKeyBindings;

  // Loading the game window: its pictures, then its load handler writes the temporary files.
  SkippedOnFailure("loading the pictures", [&] {
    if (!LoadSpriteSheets(v.sheets, s.ProgramFolder + kArtFolder + "/", &error)) {
      std::fprintf(stderr, "zendor: %s\n", error.c_str());
    }
  });
  SkippedOnFailure("writing the temporary files", [&] {
    // A fade series that cannot be written ends the load handler before the sounds are unpacked.
    std::string why;
    if (MakeStillFades(v, &why)) {
      UnpackSoundAndMusic(v);
    } else {
      std::fprintf(stderr, "zendor: %s, so the sounds and music are not unpacked either\n",
                   why.c_str());
    }
  });

  platform.ShowCover();  // hides the desktop behind the game window, whatever the display path
  platform.CloseSplash();
  HideMouseCursor(platform);
  platform.SetBusyPointer(false);
  SkippedOnFailure("setting up the display", [&] { SetUpDisplay(platform, s, ddrawText); });
  SkippedOnFailure("loading the sounds and music", [&] {
    v.sound.LoadSoundsAndMusic(platform, s.SoundOn, s.MusicOn, s.TempFolder, s.ProgramFolder);
  });
  v.trace.Start(s);

  platform.window().show();
  if (!v.activated) {
    v.activated = true;
    Form_Activate(v);
  }
  const Window& w = platform.window();
  platform.ClipCursor(ScreenRect{w.left(), w.top(), w.left() + w.width(), w.top() + w.height()});
  return true;
}

}  // namespace zendor
