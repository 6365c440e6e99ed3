// What drawing the world costs: one frame of the playfield (sky, stars, pieces, view copy,
// shadows, pits, islands) presented at display scale 1 and 4, and the whole frame of a game
// (that drawing with the hero, the enemies' moves and the hero's upkeep), each beside SDL's own
// software blitter doing the same block transfers on the same pixels in the same run; then the
// two transfers that dominate a frame: a masked sprite against a colour-keyed SDL_BlitSurface,
// and the presentation stretch against SDL_BlitScaled and against memcpy of the same bytes.

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "assets/sprite_catalogue.h"
#include "assets/sprite_sheets.h"
#include "bench/blit_replay.h"
#include "common/settings.h"
#include "common/sound_system.h"
#include "common/tracer.h"
#include "common/ventana.h"
#include "game/compose.h"
#include "game/hero.h"
#include "platform/blit.h"
#include "platform/headless/headless_platform.h"
#include "world/enemies.h"
#include "world/jump.h"
#include "world/playfield.h"

namespace zendor {
namespace {

// A stand-in picture of the catalogue's size: a textured figure over black with its mask.
Surface BenchSheet(const ShippedSheet& entry) {
  Surface s(entry.width, entry.height);
  const bool masked = entry.layout == SheetLayout::MaskBelow;
  const int imageH = masked ? entry.height / 2 : entry.height;
  for (int y = 0; y < imageH; ++y)
    for (int x = 0; x < entry.width; ++x) {
      const bool figure = !masked || ((x * 7 + y * 3) % 11) > 2;
      s.set(x, y, figure ? Rgb(40 + x % 200, 60 + y % 180, 90) : kBlack);
      if (masked) s.set(x, y + imageH, figure ? kBlack : kWhite);
    }
  return s;
}

// The game window in the middle of a busy stretch of level: lava, a rock column, a pit with an
// island over it, the end piece behind the hero and three enemies casting shadows.
struct BusyWorld {
  HeadlessPlatform platform;
  Settings settings;
  Tracer tracer;
  SoundSystem sound{tracer};
  Ventana v{platform, settings, sound, tracer};

  explicit BusyWorld(int scale) {
    std::string ignored;
    LoadSpriteSheets(v.sheets, "/nonexistent/", &ignored);
    for (const ShippedSheet& entry : ShippedSheets()) {
      *SheetHolder(v.sheets, entry.name, entry.index) = BenchSheet(entry);
    }
    settings.DisplayScale = static_cast<std::int16_t>(scale);
    settings.DisplayOffsetX = 32;
    settings.DisplayOffsetY = 4;
    settings.MaxEnemies = 2;
    platform.window().setClientSize(320 * scale, 200 * scale);
    v.sheets.Fondo.resize(2000, 120);

    LevelTables& l = v.level;
    l.AnimatedPieceCount = 2;
    l.AnimatedPieceX[1] = 380;
    l.AnimatedPieceX[2] = 520;
    l.TallPropCount = 1;
    l.TallPropX[1] = 460;
    l.PitCount = 1;
    l.PitX[1] = 600;
    l.PitWidth[1] = 64;
    l.IslandCount = 1;
    l.Island[1].X = 610;
    l.EndPieceX = 560;
    v.game.ScrollX = 400;
    v.game.StarDrift = -37;
    v.hero = Hero{.HeroY = kGroundLine, .HeroWidth = 22, .HeroActive = true};
    v.hero.HeroState = kHero07StandLeft;
    v.game.Enemies.assign(3, Enemy{});
    v.game.EnemySlotBusy.assign(3, false);
    for (int i = 0; i < 3; ++i) {
      v.game.Enemies[static_cast<std::size_t>(i)] = Enemy{
          .Active = true, .Kind = kEnemy1Armoured, .X = static_cast<std::int16_t>(20 + 70 * i)};
    }
  }

  void Frame() {
    DrawSkyStarsAndStartPiece(v);
    AdvanceAnimation(v.game);
    UpdateAnimatedPieces(v);
    DrawBackProps(v);
    ComposeView(v);
    UpdateIslandsAndPits(v);
    DrawEndPieceInFront(v);
    PresentPlayfield(v);
  }

  // A whole frame of a game, from the same state every time (enemies walk, the hero's counters
  // run): logic, composition and presentation to the window's picture.
  void WholeFrame() {
    v.game = game;
    v.hero = hero;
    DrawSkyStarsAndStartPiece(v);
    AdvanceAnimation(v.game);
    UpdateAnimatedPieces(v);
    DrawBackProps(v);
    ComposeView(v);
    UpdateIslandsAndPits(v);
    DrawHero(v);
    DrawEndPieceInFront(v);
    UpdateEnemies(v);
    PresentPlayfield(v);
    HeroUpkeep(v);
  }
  void KeepState() {
    game = v.game;
    hero = v.hero;
  }
  GameState game;
  Hero hero;
};

void BM_WorldFrame(benchmark::State& state) {
  BusyWorld world(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    world.Frame();
    benchmark::DoNotOptimize(world.platform.window().screen().pixels().data());
  }
}
BENCHMARK(BM_WorldFrame)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

void BM_WorldFrame_SdlBlitter(benchmark::State& state) {
  BusyWorld world(static_cast<int>(state.range(0)));
  bench::SdlReplay sdl(bench::RecordBlits([&] { world.Frame(); }));
  for (auto _ : state) {
    sdl.Run();
    benchmark::DoNotOptimize(world.platform.window().screen().pixels().data());
  }
  state.counters["transfers"] = static_cast<double>(sdl.size());
}
BENCHMARK(BM_WorldFrame_SdlBlitter)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

void BM_WholeFrame(benchmark::State& state) {
  BusyWorld world(static_cast<int>(state.range(0)));
  world.KeepState();
  for (auto _ : state) {
    world.WholeFrame();
    benchmark::DoNotOptimize(world.platform.window().screen().pixels().data());
  }
}
BENCHMARK(BM_WholeFrame)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

// The whole frame's block transfers through SDL; the game's logic is not in it, so the game's
// own figure carries more work than this one.
void BM_WholeFrame_SdlBlitter(benchmark::State& state) {
  BusyWorld world(static_cast<int>(state.range(0)));
  world.KeepState();
  bench::SdlReplay sdl(bench::RecordBlits([&] { world.WholeFrame(); }));
  for (auto _ : state) {
    sdl.Run();
    benchmark::DoNotOptimize(world.platform.window().screen().pixels().data());
  }
  state.counters["transfers"] = static_cast<double>(sdl.size());
}
BENCHMARK(BM_WholeFrame_SdlBlitter)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

// --- The masked sprite: a 48 x 57 rock column onto the 256 x 192 frame ---------------------

constexpr int kSpriteW = 48, kSpriteH = 57;

void BM_MaskedDraw(benchmark::State& state) {
  const Surface sprite =
      BenchSheet({"Mapa", 8, kSpriteW, 2 * kSpriteH, 1, SheetLayout::MaskBelow, false});
  Surface frame(256, 192, Rgb(10, 20, 30));
  for (auto _ : state) {
    MaskedBlt(frame, 100, 40, kSpriteW, kSpriteH, sprite, 0, 0, 0, kSpriteH);
    benchmark::DoNotOptimize(frame.row(40));
  }
  state.SetItemsProcessed(state.iterations() * kSpriteW * kSpriteH);
}
BENCHMARK(BM_MaskedDraw);

struct SdlSurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SdlSurfaceDeleter>;

SdlSurface ToSdl(const Surface& s, int x, int y, int w, int h) {
  SdlSurface out(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGB888));
  for (int r = 0; r < h; ++r) {
    auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(out->pixels) + r * out->pitch);
    for (int c = 0; c < w; ++c) row[c] = s.at(x + c, y + r);
  }
  return out;
}

void BM_MaskedDraw_SdlColourKey(benchmark::State& state) {
  const Surface sprite =
      BenchSheet({"Mapa", 8, kSpriteW, 2 * kSpriteH, 1, SheetLayout::MaskBelow, false});
  SdlSurface image = ToSdl(sprite, 0, 0, kSpriteW, kSpriteH);
  SDL_SetColorKey(image.get(), SDL_TRUE, 0);
  SdlSurface frame(SDL_CreateRGBSurfaceWithFormat(0, 256, 192, 32, SDL_PIXELFORMAT_RGB888));
  SDL_FillRect(frame.get(), nullptr, Rgb(10, 20, 30));
  for (auto _ : state) {
    SDL_Rect at{100, 40, kSpriteW, kSpriteH};
    SDL_BlitSurface(image.get(), nullptr, frame.get(), &at);
    benchmark::DoNotOptimize(frame->pixels);
  }
  state.SetItemsProcessed(state.iterations() * kSpriteW * kSpriteH);
}
BENCHMARK(BM_MaskedDraw_SdlColourKey);

// --- The presentation stretch: the 240 x 120 playfield onto the window ---------------------

void BM_Stretch(benchmark::State& state) {
  const int scale = static_cast<int>(state.range(0));
  Surface temp(256, 192);
  for (int y = 0; y < 192; ++y)
    for (int x = 0; x < 256; ++x) temp.set(x, y, Rgb(x, y, x ^ y));
  Surface window(320 * scale, 200 * scale);
  for (auto _ : state) {
    StretchBlt(window, 40 * scale, 12 * scale, 240 * scale, 120 * scale, temp, 0, 0, 240, 120,
               Rop::SrcCopy);
    benchmark::DoNotOptimize(window.row(12 * scale));
  }
  state.SetItemsProcessed(state.iterations() * 240 * 120 * scale * scale);
}
BENCHMARK(BM_Stretch)->Arg(1)->Arg(4);

void BM_Stretch_SdlBlitScaled(benchmark::State& state) {
  const int scale = static_cast<int>(state.range(0));
  Surface temp(240, 120);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 240; ++x) temp.set(x, y, Rgb(x, y, x ^ y));
  SdlSurface source = ToSdl(temp, 0, 0, 240, 120);
  SdlSurface window(
      SDL_CreateRGBSurfaceWithFormat(0, 320 * scale, 200 * scale, 32, SDL_PIXELFORMAT_RGB888));
  for (auto _ : state) {
    SDL_Rect at{40 * scale, 12 * scale, 240 * scale, 120 * scale};
    SDL_BlitScaled(source.get(), nullptr, window.get(), &at);
    benchmark::DoNotOptimize(window->pixels);
  }
  state.SetItemsProcessed(state.iterations() * 240 * 120 * scale * scale);
}
BENCHMARK(BM_Stretch_SdlBlitScaled)->Arg(1)->Arg(4);

// The floor for the stretch: copying the bytes it writes, row by row, with no scaling at all.
void BM_Stretch_Memcpy(benchmark::State& state) {
  const int scale = static_cast<int>(state.range(0));
  const int w = 240 * scale, h = 120 * scale;
  Surface rows(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) rows.set(x, y, Rgb(x, y, x ^ y));
  Surface window(320 * scale, 200 * scale);
  for (auto _ : state) {
    for (int y = 0; y < h; ++y) {
      std::memcpy(window.row(12 * scale + y) + 40 * scale, rows.row(y), sizeof(Pixel) * w);
    }
    benchmark::DoNotOptimize(window.row(12 * scale));
  }
  state.SetItemsProcessed(state.iterations() * w * h);
}
BENCHMARK(BM_Stretch_Memcpy)->Arg(1)->Arg(4);

}  // namespace
}  // namespace zendor
