#pragma once

// The General MIDI sounds the themes use: program numbers as sent (0-based) and the keys of
// the percussion channel.
namespace zendor::datagen::music::gm {

// The percussion channel: channel 10 as musicians count.
inline constexpr int kPercussionChannel = 9;

// Programs.
inline constexpr int kElectricPiano = 4;
inline constexpr int kCelesta = 8;
inline constexpr int kGlockenspiel = 9;
inline constexpr int kVibraphone = 11;
inline constexpr int kMarimba = 12;
inline constexpr int kOverdrivenGuitar = 29;
inline constexpr int kFingeredBass = 33;
inline constexpr int kFretlessBass = 35;
inline constexpr int kSynthBass1 = 38;
inline constexpr int kSynthBass2 = 39;
inline constexpr int kTremoloStrings = 44;
inline constexpr int kPizzicatoStrings = 45;
inline constexpr int kHarp = 46;
inline constexpr int kTimpani = 47;
inline constexpr int kStrings = 48;
inline constexpr int kSlowStrings = 49;
inline constexpr int kSynthStrings = 50;
inline constexpr int kChoirAahs = 52;
inline constexpr int kSynthVoice = 54;
inline constexpr int kOrchestraHit = 55;
inline constexpr int kFrenchHorn = 60;
inline constexpr int kBrassSection = 61;
inline constexpr int kSynthBrass1 = 62;
inline constexpr int kSynthBrass2 = 63;
inline constexpr int kFlute = 73;
inline constexpr int kPanFlute = 75;
inline constexpr int kOcarina = 79;
inline constexpr int kSquareLead = 80;
inline constexpr int kSawLead = 81;
inline constexpr int kPadNewAge = 88;
inline constexpr int kPadWarm = 89;
inline constexpr int kPadPolysynth = 90;
inline constexpr int kPadChoir = 91;
inline constexpr int kPadBowed = 92;
inline constexpr int kPadHalo = 94;
inline constexpr int kPadSweep = 95;
inline constexpr int kCrystal = 98;
inline constexpr int kAtmosphere = 99;
inline constexpr int kEchoes = 102;
inline constexpr int kSciFi = 103;

// Controllers.
inline constexpr int kVolume = 7;
inline constexpr int kPan = 10;
inline constexpr int kExpression = 11;
inline constexpr int kReverb = 91;
inline constexpr int kChorus = 93;

// Percussion keys (channel 10).
inline constexpr int kKick = 36;
inline constexpr int kSideStick = 37;
inline constexpr int kSnare = 38;
inline constexpr int kClap = 39;
inline constexpr int kLowFloorTom = 41;
inline constexpr int kClosedHat = 42;
inline constexpr int kHighFloorTom = 43;
inline constexpr int kPedalHat = 44;
inline constexpr int kLowTom = 45;
inline constexpr int kOpenHat = 46;
inline constexpr int kLowMidTom = 47;
inline constexpr int kHighMidTom = 48;
inline constexpr int kCrash = 49;
inline constexpr int kHighTom = 50;
inline constexpr int kRide = 51;
inline constexpr int kTambourine = 54;
inline constexpr int kSplash = 55;
inline constexpr int kCrash2 = 57;
inline constexpr int kShaker = 70;  // maracas
inline constexpr int kOpenTriangle = 81;

}  // namespace zendor::datagen::music::gm
