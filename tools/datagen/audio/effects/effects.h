#pragma once

#include "datagen/audio/synth/signal.h"

// Every sound effect of the game, as raw stereo signals: levels are relative, the finishing
// (fades, loudness, 16-bit conversion) happens when the effect table is written out.
namespace zendor::datagen::audio {

// Front end.
Stereo MenuChime();      // 0
Stereo InterfaceBlip();  // 1
Stereo KeyClick();       // 2

// The hero's weapons.
Stereo LaserCharge();    // 11
Stereo LaserBoltStep();  // 12
Stereo CloseAttack();    // 17

// Explosions.
Stereo Explosion();      // 13
Stereo DebrisCrackle();  // 18
Stereo HeroBoom();       // 19
Stereo HeroWail();       // 20

// The world.
Stereo FallingWhistle();  // 22
Stereo NightAmbience();   // 30, a seamless loop
Stereo LavaBubbling();    // 31, a seamless loop

// Enemy voices, one per kind of creature.
Stereo FlyerBuzz();       // 23, kind 0
Stereo BeastGrowl();      // 24, kind 3
Stereo HopperCroak();     // 25, kind 2
Stereo ChitterCall();     // 26, kind 4
Stereo MandibleClicks();  // 27, kind 1

}  // namespace zendor::datagen::audio
