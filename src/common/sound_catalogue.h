#pragma once

#include <array>

#include "common/enemy_kinds.h"
#include "platform/audio.h"

namespace zendor {

// Every sound-effect and music-theme number the game and zendor-datagen share. Each name
// carries its number, which is also the number of the shipped file: effect N is
// SND/Efecto<N>.SND and sound slot N, theme N is MUS/Tema<N>.MUS. Renumbering here moves the
// game and the generator together.

enum SoundEffect : int {
  kEffect00MenuChime = 0,  // the menu comes up
  kEffect01Blip = 1,       // shipped for the interface; the game does not play it
  kEffect02KeyClick = 2,   // each key taken in the redefinition
  kEffect11LaserCharge = 11,
  kEffect12LaserBolt = 12,  // each step of a shot, its pitch rising
  kEffect13Explosion = 13,  // in every explosion
  kEffect17CloseAttack = 17,
  kEffect18EnemyDebris = 18,
  kEffect19HeroBlast = 19,
  kEffect20HeroWail = 20,
  kEffect22Sinking = 22,  // the hero sinking into a pit
  kEffect23StingerVoice = 23,
  kEffect24BruteVoice = 24,
  kEffect25HopperVoice = 25,
  kEffect26StiltsVoice = 26,
  kEffect27ArmouredVoice = 27,
  kEffect30NightWind = 30,  // loops for the whole game
  kEffect31Lava = 31,       // loops while lava is in reach, placed by volume and pan
};

// Each creature's voice, by kind.
inline constexpr std::array<SoundEffect, kEnemyKinds> kEnemyVoiceByKind = {
    kEffect23StingerVoice, kEffect27ArmouredVoice, kEffect25HopperVoice, kEffect24BruteVoice,
    kEffect26StiltsVoice};

// From this slot on, each enemy slot s has its own copies of the voices: slot
// kFirstVoiceCopy + kEnemyKinds * s + kind.
inline constexpr int kFirstVoiceCopy = 100;

enum MusicTheme : int {
  kTheme00ArrivalJingle = 0,  // once, as the loading screen ends
  kTheme05Menu = 5,           // the menu and the ending
  // The section themes, chosen by the map.
  kTheme07Exploration = 7,
  kTheme08Pursuit = 8,
  kTheme09Ambush = 9,
  kTheme10FinalPush = 10,
};

// The device's units, by the names the game uses.
inline constexpr int kSilent = SoundDevice::kSilent;  // volume, in hundredths of a decibel
inline constexpr int kThemeAtNextBar = MusicPlayer::kAtNextBar;  // a theme's start flag

}  // namespace zendor
