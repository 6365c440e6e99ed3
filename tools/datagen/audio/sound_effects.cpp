// The table of the game's sound effects and the finishing every one of them gets.
#include "common/sound_catalogue.h"
#include "datagen/audio/effects/effects.h"
#include "datagen/datagen.h"
#include "platform/wav_file.h"

namespace zendor::datagen {
namespace {

using audio::Stereo;

// How an effect is finished: one-shots fade in and out so they start and end on silence;
// loops are built to join on their own and must not be faded.
struct EffectRecipe {
  SoundEffect number;
  Stereo (*make)();
  bool loops;
  double fadeIn;
  double fadeOut;
};

// Every effect peaks just under full scale, leaving headroom for the resampling in the mixer.
constexpr double kPeakDbfs = -1.0;

constexpr EffectRecipe kEffects[] = {
    {kEffect00MenuChime, audio::MenuChime, false, 0.001, 0.05},
    {kEffect01Blip, audio::InterfaceBlip, false, 0.001, 0.02},
    {kEffect02KeyClick, audio::KeyClick, false, 0.0005, 0.01},
    {kEffect11LaserCharge, audio::LaserCharge, false, 0.003, 0.025},
    // Short fades in the recording's time: the game slows this one down up to 44 times.
    {kEffect12LaserBolt, audio::LaserBoltStep, false, 0.0001, 0.002},
    {kEffect13Explosion, audio::Explosion, false, 0.001, 0.08},
    {kEffect17CloseAttack, audio::CloseAttack, false, 0.002, 0.03},
    {kEffect18EnemyDebris, audio::DebrisCrackle, false, 0.001, 0.05},
    {kEffect19HeroBlast, audio::HeroBoom, false, 0.002, 0.1},
    {kEffect20HeroWail, audio::HeroWail, false, 0.002, 0.1},
    {kEffect22Sinking, audio::FallingWhistle, false, 0.005, 0.04},
    {kEffect23StingerVoice, audio::FlyerBuzz, false, 0.002, 0.02},
    {kEffect24BruteVoice, audio::BeastGrowl, false, 0.002, 0.02},
    {kEffect25HopperVoice, audio::HopperCroak, false, 0.002, 0.02},
    {kEffect26StiltsVoice, audio::ChitterCall, false, 0.001, 0.02},
    {kEffect27ArmouredVoice, audio::MandibleClicks, false, 0.001, 0.02},
    {kEffect30NightWind, audio::NightAmbience, true, 0.0, 0.0},
    {kEffect31Lava, audio::LavaBubbling, true, 0.0, 0.0},
};

}  // namespace

std::vector<StoredFile> MakeSoundEffects() {
  std::vector<StoredFile> files;
  for (const EffectRecipe& recipe : kEffects) {
    Stereo sound = recipe.make();
    if (!recipe.loops) audio::FadeEdges(sound, recipe.fadeIn, recipe.fadeOut);
    audio::NormalisePeak(sound, kPeakDbfs);
    files.push_back({recipe.number, EncodeWav16(audio::ToPcm16(sound), 2, audio::kSampleRate)});
  }
  return files;
}

}  // namespace zendor::datagen
