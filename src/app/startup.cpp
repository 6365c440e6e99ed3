#include "app/startup.h"

#include <cstdio>
#include <filesystem>

#include "app/display.h"
#include "app/profile.h"
#include "app/settings.h"
#include "app/shutdown.h"
#include "assets/sound_system.h"
#include "assets/sprite_catalogue.h"
#include "assets/sprite_sheets.h"
#include "assets/temp_files.h"
#include "frontend/screen_flow.h"
#include "game/tracer.h"
#include "platform/image_file.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"

namespace zendor {
namespace {

constexpr const char* kMainIni = kMainIniFile;
constexpr const char* kSoundIni = "Brinmoor.INI";
constexpr const char* kSplashPicture = "Pantalla";  // the title picture
constexpr const char* kMissingSetUp = "Aqu\xC3\xAD abre el SetUp.EXE para configurar el juego";

struct Difficulty {
  std::int16_t maxEnemies;
  float rarityScale;
};

Difficulty DifficultyFor(double value) {
  if (value == 0) return {2, 4};
  if (value == 2) return {5, 5};
  if (value == 3) return {8, 8};
  if (value == 4) return {8, 5};
  if (value == 5) return {11, 8};
  return {2, 2};
}

// Eight random letters from "a" to "y" and ".tmp".
std::string RegistryName(Random& random) {
  std::string name;
  for (int i = 0; i < 8; ++i) name += static_cast<char>('a' + random.Below(25));
  return name + ".tmp";
}

void Fail(Ventana& v, const std::string& description) {
  v.platform.MessageBox(description, kProductName, 16);
}

}  // namespace

void ReadConfiguration(Ventana& v, std::string& ddrawText) {
  Settings& s = v.settings;
  const std::string mainIni = s.ProgramFolder + kMainIni;
  const std::string soundIni = s.ProgramFolder + kSoundIni;
  if (!std::filesystem::is_regular_file(mainIni)) {
    v.platform.MessageBox(kMissingSetUp, kProductName, 0);
  }
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
  if (s.ProgramFolder.empty() || !std::filesystem::is_directory(s.ProgramFolder)) {
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
  std::string ddrawText;
  ReadConfiguration(v, ddrawText);
  s.KeyBindings = kDefaultKeyBindings;

  // Loading the game window: its pictures, then its load handler writes the temporary files.
  if (!LoadSpriteSheets(v.sheets, s.ProgramFolder + kArtFolder + "/", &error)) {
    std::fprintf(stderr, "zendor: %s\n", error.c_str());
  }
  // A fade series that cannot be written ends the load handler before the sounds are unpacked.
  if (MakeStillFades(v)) UnpackSoundAndMusic(v);

  platform.ShowCover();  // hides the desktop behind the game window, whatever the display path
  platform.CloseSplash();
  HideMouseCursor(platform);
  platform.SetBusyPointer(false);
  SetUpDisplay(platform, s, ddrawText);
  v.sound.LoadSoundsAndMusic(platform, s.SoundOn, s.MusicOn, s.TempFolder);
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
