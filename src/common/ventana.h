#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/enemy_kinds.h"
#include "common/hero_states.h"
#include "platform/surface.h"

namespace zendor {

class Platform;
class SoundSystem;
class Tracer;
struct Settings;

// ---------------------------------------------------------------------------------------------
// The level, as the map file builds it (all values 16-bit; the 1-based tables start at entry 1).

struct SpawnZone {
  std::int16_t EndX = 0;
  std::int16_t StartX = 0;
  std::int16_t Kind = 0;
  std::int16_t Rarity = 0;
};

struct IslandRecord {
  std::int16_t X = 0;
  std::int16_t Y = 0;   // only record 1's row is used: all islands bob together
  bool Rising = false;  // only record 1's
};

struct LevelTables {
  static constexpr int kSections = 64;     // entries 0..63
  static constexpr int kListEntries = 63;  // 1-based tables hold entries 1..63
  static constexpr int kPits = 31;         // entries 1..31
  static constexpr int kZones = 64;        // records 0..63 per family

  std::array<std::int16_t, kSections> SectionStartX{};
  std::array<std::int16_t, kSections> SectionMusic{};
  std::int16_t LastSectionEntry = 0;  // highest entry written of the two section tables

  std::array<std::int16_t, kListEntries + 1> AnimatedPieceX{};
  std::int16_t AnimatedPieceCount = 0;
  std::array<std::int16_t, kListEntries + 1> TallPropX{};
  std::int16_t TallPropCount = 0;
  std::array<std::int16_t, kPits + 1> PitX{};
  std::array<std::int16_t, kPits + 1> PitWidth{};
  std::int16_t PitCount = 0;
  std::int16_t EndPieceX = 0;
  std::array<SpawnZone, kZones> SpawnZoneA{};
  std::int16_t SpawnZoneACount = 0;
  std::array<SpawnZone, kZones> SpawnZoneB{};
  std::int16_t SpawnZoneBCount = 0;
  std::array<IslandRecord, kListEntries + 1> Island{};  // record 0 is the island drawn last
  std::int16_t IslandCount = 0;
};

// ---------------------------------------------------------------------------------------------
// The hero. He always stands at screen x 105; walking scrolls the level under him.

inline constexpr int kHeroScreenX = 105;

struct Hero {
  std::int16_t HeroState = 0;  // one of the HeroStateNumber values (common/hero_states.h)
  double HeroY = 0;            // top of his picture on the playfield (whole pixels)
  std::int16_t GroundY = 0;    // HeroY at which a fall ends (kGroundLine on the ground)
  std::int16_t HeroWidth = 0;  // width of the current picture
  double HeroStep = 0;         // walk-cycle frame 0..3 (4..11 idle gestures), attack step 1..6
  std::int16_t CrouchDrop = 0;
  std::int16_t HeroOffsetX = 0;
  std::int16_t ApexLimitY = 0;
  double ApexPause = 0;
  std::int16_t HeroBusy = 0;  // shot step: 1..6 right, 8..13 left, 0 none
  bool Walking = false;
  bool HeroLocked = false;  // movement and fire keys ignored (close attack)
  bool HeroActive = false;
  bool HeroCaught = false;  // exploding after a touch or the lava
  bool JumpFalling = false;
  bool PitFall = false;
  bool OnIsland = false;
  bool HoverMode = false;  // debug: hangs at the apex
  bool UpHeld = false;
  bool DownHeld = false;
  bool LeftHeld = false;
  bool RightHeld = false;
  bool FireHeld = false;
};

// ---------------------------------------------------------------------------------------------
// Enemies, one record per slot 0..MaxEnemies.

struct Enemy {
  bool Active = false;
  std::int16_t LastScrollX = 0;
  std::int16_t Kind = 0;  // one of the EnemyKind values (common/enemy_kinds.h)
  float Frame = 0;        // 0 <= Frame < 4; the picture shown is Int(Frame)
  std::int16_t RightLimit = 0;
  std::int16_t LeftLimit = 0;
  std::int16_t HopStep = 0;  // a hopper over lava: 0 not yet, 1..24 hopping, -1 done
  bool MovingLeft = false;
  std::int16_t Speed = 0;
  std::int16_t X = 0;  // screen position of the picture's top-left corner
  std::int16_t Y = 0;
};

// ---------------------------------------------------------------------------------------------
// Everything about one play of the level.

struct GameState {
  bool Playing = false;
  std::int16_t FrameDelay = 75;
  double ScrollX = 0;  // strip x where the 240-pixel view begins
  double StarDrift = 0;
  std::int16_t CurrentSection = 0;
  bool SectionChanged = false;
  std::int16_t Lives = 0;
  std::int32_t Score = 0;  // shown as six digits
  std::int16_t DeathCountdown = 0;
  bool Respawning = false;
  bool EndReached = false;
  std::int16_t ScrollSpeed = 1;
  double AnimationFrame = 0;
  std::uint8_t ShadowAlpha = 0;  // of the shadow blend: 0 until the hero's first shadow, then
                                 // whatever was set last
  bool HideHero = false;         // debug
  bool FastToggle = false;       // debug
  std::vector<Enemy> Enemies;
  std::vector<bool> EnemySlotBusy;
  std::array<std::int16_t, 32> EnemyVoiceEffects{};
  std::int16_t VoicesPerEnemy = 0;
  std::int32_t FrameNumber = 0;  // frames since Jugar, for the trace
  std::string Indicador;         // the debug label
};

// ---------------------------------------------------------------------------------------------
// Every picture the game draws from. Families are indexed as the drawing code addresses them.

struct SpriteSheets {
  std::array<Surface, 28> Zendor;  // 2, 3, 4, 13, 15, 23 loaded; 6, 7, 8, 17, 19, 27 mirrored
  std::array<Surface, 15> Bicho;   // 0..4 loaded; 10..14 mirrored
  std::array<Surface, 10> Mapa;    // 0..6, 8, 9 loaded; 7 mirrored
  std::array<Surface, 5> Suelo;    // 0..2 loaded; 3 mirrored; 4 cropped
  std::array<Surface, 14> laser;   // 1..6 loaded; 8..13 mirrored
  std::array<Surface, 5> explota;
  Surface explota_zendor;
  Surface isleta_g;
  Surface sombra;
  Surface sombra_temp;
  Surface Cielo;
  Surface Estrellas;
  Surface Fondo;
  Surface Panel;
  Surface Vidas_IMG;
  Surface Letras;
  Surface Pantalla;
  Surface temp;
  Surface borrador;
};

// The names the game uses for its screens.
namespace screens {
inline constexpr std::string_view kLoading = "pantalla";
inline constexpr std::string_view kMenu = "menu";
inline constexpr std::string_view kRedefine = "redefine";
inline constexpr std::string_view kGame = "juego";
inline constexpr std::string_view kEnding = "final";
}  // namespace screens

// The game window: owns all play state, the pictures and the screen state, and reaches the
// platform, the settings, the sound slots and the tracer that the program set up.
class Ventana {
 public:
  Ventana(Platform& platform, Settings& settings, SoundSystem& sound, Tracer& tracer);

  Platform& platform;
  Settings& settings;
  SoundSystem& sound;
  Tracer& trace;

  LevelTables level;
  Hero hero;
  GameState game;
  SpriteSheets sheets;
  std::int16_t RedefineStep = 0;
  bool activated = false;   // the loading sequence has run
  int gameEntryDepth = 0;   // game routines entered from the menu or the key handler, nested
  int pressAgainDepth = 0;  // held keys being applied again, nested

  const std::string& ScreenState() const { return screenState_; }
  // Names the active screen; the tracer hears of every change.
  void SetScreenState(std::string_view state);

 private:
  std::string screenState_;
};

// Writes the window's debug label `Indicador` and shows it.
void SetIndicador(Ventana& v, std::string text);

}  // namespace zendor
