#include "game/game_loop.h"

#include <string>

#include "common/int16.h"
#include "common/settings.h"
#include "common/sound_catalogue.h"
#include "common/sound_system.h"
#include "common/tracer.h"
#include "frontend/menu.h"
#include "frontend/screen_flow.h"
#include "game/compose.h"
#include "game/hero.h"
#include "game/panel.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"
#include "world/ending.h"
#include "world/enemies.h"
#include "world/jump.h"
#include "world/playfield.h"
#include "world/shots.h"

namespace zendor {
namespace {

constexpr int kMusicFadeStep = 500;

// Thrown once the player has left the ending screen: every frame of the finished game still on
// the stack (loops, key presses that resumed a loop) is abandoned, as if the ending had never
// returned to them.
struct GameEnded {};

// Runs a game routine entered from outside (the menu, the key handler). The outermost one on the
// stack is where a finished game unwinds to.
template <typename Body>
void AsGameEntry(Ventana& v, Body&& body) {
  struct Depth {
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
    int& depth;
  } entered(v.gameEntryDepth);
  if (v.gameEntryDepth > 1) {
    body();
    return;
  }
  try {
    body();
  } catch (const GameEnded&) {
    // The game is over and the menu is up; nothing of it runs any more.
  }
}

[[noreturn]] void EndTheGame(Ventana& v, bool completed) {
  ShowEnding(v, completed);
  throw GameEnded{};
}

void FadeOutMenuTheme(Ventana& v) {
  do {
    const int volume = v.sound.MasterVolume();
    v.sound.SetMasterVolume(volume - kMusicFadeStep);
    v.platform.Sleep(25);
  } while (v.sound.MasterVolume() > kSilent);
  v.sound.StopTheme(kTheme05Menu);
}

void PrepareEnemySlots(Ventana& v) {
  const int slots = v.settings.MaxEnemies >= 0 ? v.settings.MaxEnemies + 1 : 0;
  v.game.Enemies.assign(static_cast<std::size_t>(slots), Enemy{});
  v.game.EnemySlotBusy.assign(static_cast<std::size_t>(slots), false);
}

// Every enemy slot gets its own copies of the five voices, so that enemies sound independently.
void PrepareEnemyVoices(Ventana& v) {
  for (int k = 0; k < kEnemyKinds; ++k) {
    v.game.EnemyVoiceEffects[static_cast<std::size_t>(k)] =
        static_cast<std::int16_t>(kEnemyVoiceByKind[static_cast<std::size_t>(k)]);
  }
  v.game.VoicesPerEnemy = kEnemyKinds;
  const int last = kFirstVoiceCopy + kEnemyKinds * v.settings.MaxEnemies + kEnemyKinds - 1;
  for (int n = kFirstVoiceCopy, k = 0; n <= last; ++n, k = (k + 1) % kEnemyKinds) {
    v.sound.Duplicate(n, v.game.EnemyVoiceEffects[static_cast<std::size_t>(k)]);
  }
}

// A life is lost ten frames after the hero's explosion (two after a fall), then the view rolls
// back to the start of the section.
void DeathAndRewind(Ventana& v) {
  GameState& g = v.game;
  if (g.DeathCountdown == 1) {
    g.Respawning = true;
    ClearEnemies(v);
    g.Lives -= 1;
    DrawLives(v);
    if (g.Lives == 0) EndTheGame(v, false);
  }
  if (g.DeathCountdown > 0) g.DeathCountdown -= 1;
  if (g.Respawning) RewindStep(g, v.hero, v.level);
}

std::int16_t SectionEntry(const std::array<std::int16_t, LevelTables::kSections>& table, int n) {
  return n >= 0 && n < LevelTables::kSections ? table[static_cast<std::size_t>(n)] : 0;
}

// Entering a section starts its theme; walking back over its start only changes the number.
void FollowSections(Ventana& v) {
  GameState& g = v.game;
  const LevelTables& l = v.level;
  if (g.CurrentSection + 1 < LevelTables::kSections &&
      g.ScrollX >= SectionEntry(l.SectionStartX, g.CurrentSection + 1)) {
    g.CurrentSection += 1;
    g.SectionChanged = true;
  }
  if (g.SectionChanged) StartTheme(v, SectionEntry(l.SectionMusic, g.CurrentSection + 1));
  if (g.ScrollX < SectionEntry(l.SectionStartX, g.CurrentSection) && g.CurrentSection > 0) {
    g.CurrentSection -= 1;
  }
}

void RunFrames(Ventana& v) {
  GameState& g = v.game;
  Hero& h = v.hero;
  for (;;) {
    DeathAndRewind(v);
    if (!g.Playing) return;

    DrawSkyStarsAndStartPiece(v);
    AdvanceAnimation(g);
    FollowSections(v);
    UpdateAnimatedPieces(v);
    DrawBackProps(v);
    ComposeView(v);
    UpdateIslandsAndPits(v);
    if ((h.HeroActive || g.EndReached) && !g.HideHero) DrawHero(v);
    if (h.HeroCaught) StepHeroCaught(v);
    DrawEndPieceInFront(v);
    if (g.EndReached && h.HeroY >= kGroundLine && h.HeroState != kHero15LandedRight)
      EndTheGame(v, true);
    if (h.HeroBusy > 0) StepShot(v);
    UpdateEnemies(v);
    PresentPlayfield(v);
    HeroUpkeep(v);
    IdleGesture(v);
    DoEvents(v);

    g.FrameNumber += 1;
    v.trace.Frame(v);
    v.platform.Sleep(g.FrameDelay);
  }
}

void TogglePause(Ventana& v) {
  // Pausing runs the first steps of a frame once more and returns; the running loop then stops
  // at its own next check. Resuming runs the game inside this key press.
  v.game.Playing = !v.game.Playing;
  RunGameLoop(v);
}

void LeaveToMenu(Ventana& v) {
  v.game.Playing = false;
  DrawMenu(v);
}

void ShowIndicador(Ventana& v) {
  SetIndicador(v, std::to_string(v.game.FrameDelay));
}

void DispatchGameKey(Ventana& v, int key) {
  const auto& bind = v.settings.KeyBindings;
  GameState& g = v.game;
  if (key == bind[kBindRight]) {
    HeroKeyRight(v);
  } else if (key == bind[kBindUp]) {
    HeroKeyUp(v);
  } else if (key == bind[kBindDown]) {
    HeroKeyDown(v);
  } else if (key == bind[kBindLeft]) {
    HeroKeyLeft(v);
  } else if (key == bind[kBindFire]) {
    HeroKeyFire(v);
  } else if (key == bind[kBindPause]) {
    TogglePause(v);
  } else if (key == vk::kEscape) {
    LeaveToMenu(v);
  } else if (key == vk::kF10) {
    g.HideHero = !g.HideHero;
  } else if (key == vk::kF11) {
    v.hero.HoverMode = !v.hero.HoverMode;
    if (!v.hero.HoverMode) v.hero.ApexPause = 0;
  } else if (key == vk::kF12) {
    g.FastToggle = !g.FastToggle;
    g.ScrollSpeed = g.FastToggle ? 2 : 1;
  } else if (key == vk::kTab) {
    v.platform.MessageBox(std::to_string(v.hero.HeroState), kProductName, 0);
  } else if (key == vk::kAdd) {
    if (g.FrameDelay > 4) g.FrameDelay -= 5;
    ShowIndicador(v);
  } else if (key == vk::kSubtract) {
    // A delay that would pass the 16-bit limit is refused and the key does nothing more.
    if (!TryAssign(g.FrameDelay, g.FrameDelay + 5.0)) return;
    ShowIndicador(v);
  }
}

}  // namespace

void Jugar(Ventana& v) {
  AsGameEntry(v, [&v] {
    GameState& g = v.game;
    Window& w = v.platform.window();
    v.SetScreenState(screens::kGame);
    w.setPersistentMode(true);
    w.clear();
    w.refresh();
    w.clear();

    PrepareEnemySlots(v);
    PrepareEnemyVoices(v);

    g.EndReached = false;
    ResetHero(v.hero, g);
    g.ScrollSpeed = 1;
    v.hero.FireHeld = false;
    g.CurrentSection = 0;
    g.ScrollX = 8;
    g.Score = 0;
    g.Lives = 2;
    g.FrameDelay = 75;
    g.FrameNumber = 0;

    DrawPanel(v);

    FadeOutMenuTheme(v);
    StartTheme(v, v.level.SectionMusic[1]);
    v.sound.Play(kEffect30NightWind, true);

    g.Playing = true;
    DrawScore(v);
    DrawLives(v);
    RunGameLoop(v);
  });
}

void RunGameLoop(Ventana& v) {
  AsGameEntry(v, [&v] { RunFrames(v); });
}

void HandleGameKey(Ventana& v, int keyCode) {
  AsGameEntry(v, [&v, keyCode] { DispatchGameKey(v, keyCode); });
}

void StartTheme(Ventana& v, int theme) {
  v.sound.SetRepeats(theme, 0);
  v.sound.SetLoop(theme, true);
  v.sound.PlayTheme(theme, kThemeAtNextBar);
  v.sound.SetMasterVolume(0);
  v.game.SectionChanged = false;
}

void ClearEnemies(Ventana& v) {
  auto& enemies = v.game.Enemies;
  for (int i = 0; i <= v.settings.MaxEnemies && i < static_cast<int>(enemies.size()); ++i) {
    enemies[static_cast<std::size_t>(i)].Active = false;
    v.sound.Stop(EnemyVoice(v.game, i));
  }
}

void ResetHero(Hero& h, GameState& g) {
  h.DownHeld = false;
  h.ApexPause = 0;
  h.HeroWidth = 22;
  h.JumpFalling = false;
  h.HeroBusy = 0;
  h.HeroActive = true;
  h.HeroY = kGroundLine;
  h.HeroStep = 0;
  h.HeroOffsetX = 0;
  h.UpHeld = false;
  h.FireHeld = false;
  h.RightHeld = false;
  h.LeftHeld = false;
  h.HeroLocked = false;
  h.PitFall = false;
  g.DeathCountdown = 0;
  h.HeroState = kHero07StandLeft;
}

void RewindStep(GameState& g, Hero& h, const LevelTables& l) {
  const std::int16_t sectionStart = SectionEntry(l.SectionStartX, g.CurrentSection);
  g.ScrollX -= 16;
  if (g.ScrollX <= sectionStart) {
    g.ScrollX = sectionStart;
    g.Respawning = false;
    ResetHero(h, g);
    h.HeroActive = true;
  }
}

}  // namespace zendor
