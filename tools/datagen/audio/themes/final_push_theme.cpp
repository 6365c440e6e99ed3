// Theme 10: the last section, the run for the end of the level. C minor at full tilt: driving
// octave bass, a string ostinato in sixteenths, timpani, a heroic saw lead doubled by brass
// on its return, and a choir over the middle strain. Four closing bars climb to G7 and straight
// back into the first bar.
#include "datagen/audio/midi/accompaniment.h"
#include "datagen/audio/midi/general_midi.h"
#include "datagen/audio/themes/themes.h"

namespace zendor::datagen::music {
namespace {

// The main strain: eight bars over Cm Ab Eb Bb Cm Ab Fm G.
Phrase HeroicStrain(int velocity) {
  return Notes(
      "G4:2 C5:2 Eb5:2 G5:10! "           // Cm
      "Ab5:4 G5:2 F5:2 Eb5:4 C5:4 "       // Ab
      "Bb5:6 G5:2 Eb5:8 "                 // Eb
      "F5:8 D5:4 F5:4 "                   // Bb
      "G4:2 C5:2 Eb5:2 G5:6 Ab5:2 G5:2 "  // Cm
      "C6:8! Bb5:2 Ab5:2 G5:4 "           // Ab
      "Ab5:4 G5:2 F5:2 C5:8 "             // Fm
      "B4:4 D5:4 G5:4 F5:4",              // G
      velocity, 0.9);
}

}  // namespace

Score FinalPushTheme() {
  Score score{.title = "Zendor Vostrik XXI - The Last Run",
              .beatsPerMinute = 140.0,
              .beatsPerBar = 4,
              .bars = 32};
  const std::vector<Chord> opening = Progression("Cm:16 Cm:16 Ab:16 Bb:16");
  const std::vector<Chord> strain = Progression("Cm:16 Ab:16 Eb:16 Bb:16 Cm:16 Ab:16 Fm:16 G:16");
  const std::vector<Chord> middle = Progression("Ab:16 Bb:16 Gm:16 Cm:16 Ab:16 Bb:16 G:16 G:16");
  const std::vector<Chord> closing = Progression("Ab:16 Bb:16 G:16 G7:16");
  std::vector<Chord> all = opening;
  for (const auto* block : {&strain, &middle, &strain, &closing})
    all.insert(all.end(), block->begin(), block->end());

  Part lead{"lead", 0, gm::kSawLead, {.volume = 58, .reverb = 50, .chorus = 40}};
  score.place(lead, HeroicStrain(96), 5, 8);
  score.place(lead,
              Notes("Eb5:4 Ab5:4 C6:8 "            // Ab
                    "D6:4 C6:2 Bb5:2 F5:8 "        // Bb
                    "G5:4 Bb5:4 D6:4 C6:2 Bb5:2 "  // Gm
                    "C6:12! r:4 "                  // Cm
                    "Eb6:4 C6:4 Ab5:4 C6:4 "       // Ab
                    "D6:4 Bb5:4 F5:4 Bb5:4 "       // Bb
                    "B5:8 D6:8 "                   // G
                    "G6:8! F6:4 D6:4",             // G
                    98, 0.9),
              13, 8);
  score.place(lead, HeroicStrain(104), 21, 8);
  score.place(lead,
              Notes("C6:4 Eb6:4 Ab6:8 "     // Ab
                    "F6:4 D6:4 Bb5:8 "      // Bb
                    "B5:4 D6:4 G6:8! "      // G
                    "F6:4 D6:4 B5:4 G5:4",  // G7
                    104, 0.9),
              29, 4);

  Part brass{"brass", 1, gm::kSynthBrass1, {.volume = 48, .pan = 80, .reverb = 50}};
  score.place(brass, Comp(middle, "X--.X--.X-X-X---", 60, 88), 13, 8);
  score.place(brass, Transposed(HeroicStrain(96), -12), 21, 8);
  score.place(brass, Comp(closing, "X--.X--.X-X-X-X-", 60, 96), 29, 4);

  Part strings{"strings", 2, gm::kStrings, {.volume = 116, .pan = 44, .reverb = 60}};
  score.place(strings, Arpeggio(all, "1312131213121312", 60, 80), 1, 32);

  Part choir{"choir", 3, gm::kChoirAahs, {.volume = 94, .reverb = 90}};
  score.place(choir, Pad(middle, 67, 84), 13, 8);
  score.place(choir, Pad(closing, 67, 92), 29, 4);

  Part bass{"bass", 4, gm::kSynthBass2, {.volume = 75, .reverb = 20}};
  score.place(bass, Bass(all, "R-8-R-8-R-8-R-8-", 36, 100), 1, 32);

  Part timpani{"timpani", 5, gm::kTimpani, {.volume = 103, .pan = 34, .reverb = 60}};
  score.place(timpani, Bass(opening, "R---R---R-R-R-RR", 36, 90), 1, 4);
  score.place(timpani,
              Bass(std::vector<Chord>(all.begin() + 4, all.end()), "R-------R---R-R-", 36, 96), 5,
              28);

  Part drums{"drums", gm::kPercussionChannel, 0, {.volume = 112, .reverb = 40}};
  const Phrase toms =
      Drums({{gm::kKick, "x.......x......."}, {gm::kLowFloorTom, "x..x..x.x..x..x."}});
  const Phrase charge = Drums({{gm::kKick, "x.x...x.x.x...x."},
                               {gm::kSnare, "....X.......X..."},
                               {gm::kClosedHat, "x.x.x.x.x.x.x.x."}});
  const Phrase ride = Drums({{gm::kKick, "x.x...x.x.x...x."},
                             {gm::kSnare, "....X.......X..."},
                             {gm::kRide, "x.x.x.x.x.x.x.x."}});
  const Phrase crash = Drums({{gm::kCrash, "X..............."}});
  const Phrase fill = Drums({{gm::kKick, "x.x...x........."},
                             {gm::kSnare, "....X...xxxxXXXX"},
                             {gm::kHighTom, "..........x....."},
                             {gm::kLowTom, "...........x...."}});
  const Phrase tomsIntoRoll = Drums({{gm::kKick, "x.......x......."},
                                     {gm::kLowFloorTom, "x..x..x........."},
                                     {gm::kSnare, "........xoxoxxXX"}});
  score.place(drums, Sequence({Repeat(toms, 3), tomsIntoRoll}), 1, 4);
  score.place(drums,
              Sequence({Together(charge, crash), Repeat(charge, 3), Together(charge, crash),
                        Repeat(charge, 2), fill}),
              5, 8);
  score.place(drums,
              Sequence({Together(ride, crash), Repeat(ride, 3), Together(ride, crash),
                        Repeat(ride, 2), fill}),
              13, 8);
  score.place(drums,
              Sequence({Together(charge, crash), Repeat(charge, 3), Together(charge, crash),
                        Repeat(charge, 2), fill}),
              21, 8);
  score.place(drums, Sequence({Together(charge, crash), charge, charge, fill}), 29, 4);

  score.parts = {lead, brass, strings, choir, bass, timpani, drums};
  return score;
}

}  // namespace zendor::datagen::music
