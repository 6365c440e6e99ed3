// The table of the game's sound effects and the finishing every one of them gets.
#include "datagen/audio/effects/effects.h"
#include "datagen/datagen.h"
#include "platform/wav_file.h"

namespace zendor::datagen {
namespace {

using audio::Stereo;

// How an effect is finished: one-shots fade in and out so they start and end on silence;
// loops are built to join on their own and must not be faded.
struct EffectRecipe {
  int number;
  Stereo (*make)();
  bool loops;
  double fadeIn;
  double fadeOut;
};

// Every effect peaks just under full scale, leaving headroom for the resampling in the mixer.
constexpr double kPeakDbfs = -1.0;

constexpr EffectRecipe kEffects[] = {
    {0, audio::MenuChime, false, 0.001, 0.05},
    {1, audio::InterfaceBlip, false, 0.001, 0.02},
    {2, audio::KeyClick, false, 0.0005, 0.01},
    {11, audio::LaserCharge, false, 0.003, 0.025},
    // Short fades in the recording's time: the game slows this one down up to 44 times.
    {12, audio::LaserBoltStep, false, 0.0001, 0.002},
    {13, audio::Explosion, false, 0.001, 0.08},
    {17, audio::CloseAttack, false, 0.002, 0.03},
    {18, audio::DebrisCrackle, false, 0.001, 0.05},
    {19, audio::HeroBoom, false, 0.002, 0.1},
    {20, audio::HeroWail, false, 0.002, 0.1},
    {22, audio::FallingWhistle, false, 0.005, 0.04},
    {23, audio::FlyerBuzz, false, 0.002, 0.02},
    {24, audio::BeastGrowl, false, 0.002, 0.02},
    {25, audio::HopperCroak, false, 0.002, 0.02},
    {26, audio::ChitterCall, false, 0.001, 0.02},
    {27, audio::MandibleClicks, false, 0.001, 0.02},
    {30, audio::NightAmbience, true, 0.0, 0.0},
    {31, audio::LavaBubbling, true, 0.0, 0.0},
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
