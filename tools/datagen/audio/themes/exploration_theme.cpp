// Theme 7: the first section. Calm exploration under alien stars, D dorian at a walking pace:
// a harp rippling over a halo pad, a fretless bass, and a pan flute singing a long, open tune
// with vibraphone answers. Soft shaker and rim keep time.
#include "datagen/audio/midi/accompaniment.h"
#include "datagen/audio/midi/general_midi.h"
#include "datagen/audio/themes/themes.h"

namespace zendor::datagen::music {

Score ExplorationTheme() {
  Score score{.title = "Zendor Vostrik XXI - Night Crossing",
              .beatsPerMinute = 80.0,
              .beatsPerBar = 4,
              .bars = 20};
  const std::vector<Chord> opening = Progression("Dm9:16 G:16 Dm9:16 Cadd9:16");
  const std::vector<Chord> verse = Progression("Dm:16 G:16 Bb:16 C:16 Dm:16 G:16 Bb:16 A:16");
  const std::vector<Chord> bridge = Progression("Bbmaj7:16 C:16 Am:16 Dm:16 Bb:16 C:16 Gm:16 A:16");
  std::vector<Chord> all = opening;
  all.insert(all.end(), verse.begin(), verse.end());
  all.insert(all.end(), bridge.begin(), bridge.end());

  Part flute{"flute", 0, gm::kPanFlute, {.volume = 127, .pan = 60, .reverb = 90, .chorus = 10}};
  score.place(flute,
              Notes("D5:6 E5:2 F5:4 A5:4 "        // Dm
                    "G5:8 F5:2 E5:2 D5:4 "        // G
                    "F5:6 D5:2 Bb4:4 C5:4 "       // Bb
                    "E5:8 G5:4 E5:4 "             // C
                    "D5:6 E5:2 F5:4 A5:4 "        // Dm
                    "B5:8 A5:2 G5:2 F5:4 "        // G
                    "D6:6 C6:2 Bb5:4 F5:4 "       // Bb
                    "A5:4 G5:2 E5:2 C#5:4 E5:4",  // A
                    84, 0.96),
              5, 8);
  score.place(flute,
              Notes("D5:4 F5:4 A5:8 "                  // Bbmaj7
                    "G5:4 E5:4 C5:8 "                  // C
                    "E5:4 A5:4 C6:4 B5:2 A5:2 "        // Am
                    "A5:12 r:4 "                       // Dm
                    "F5:4 G5:2 A5:2 Bb5:4 A5:2 G5:2 "  // Bb
                    "E5:4 F5:2 G5:2 C6:8 "             // C
                    "Bb5:6 A5:2 G5:4 D5:4 "            // Gm
                    "E5:6 C#5:2 A4:8",                 // A, and back to the opening
                    88, 0.96),
              13, 8);

  Part vibes{"vibraphone", 1, gm::kVibraphone, {.volume = 127, .pan = 88, .reverb = 90}};
  score.place(vibes,
              Notes("A5:6 E5:2 F5:8 "  // Dm9
                    "D5:6 B4:2 G5:8 "  // G
                    "A5:6 E5:2 C6:8 "  // Dm9
                    "G5:6 E5:2 D5:8",  // Cadd9
                    104, 1.0),
              1, 4);
  score.place(vibes,
              Notes("r:8 F4:4 A4:4 r:8 G4:4 E4:4 r:8 C5:4 E5:4 r:8 D5:4 F5:4 "
                    "r:8 D5:4 F5:4 r:8 E5:4 G5:4 r:8 D5:4 Bb4:4 r:8 C#5:4 E5:4",
                    92, 1.0),
              13, 8);

  Part harp{"harp", 2, gm::kHarp, {.volume = 119, .pan = 44, .reverb = 80}};
  score.place(harp, Arpeggio(all, "1-2-3-4-5-4-3-2-", 50, 72), 1, 20);

  Part pad{"pad", 3, gm::kPadHalo, {.volume = 56, .reverb = 100, .chorus = 40}};
  score.place(pad, Pad(all, 62, 64), 1, 20);
  pad.swell(score.bar(1), score.bar(3), 60, 127);

  Part bass{"bass", 4, gm::kFretlessBass, {.volume = 109, .reverb = 40}};
  score.place(bass, Bass(opening, "R-----------5---", 38, 86), 1, 4);
  score.place(bass, Bass(verse, "R-------5---8-5-", 38, 90), 5, 8);
  score.place(bass, Bass(bridge, "R-------5---8-5-", 38, 90), 13, 8);

  Part percussion{"percussion", gm::kPercussionChannel, 0, {.volume = 127, .reverb = 70}};
  const Phrase triangle = Drums({{gm::kOpenTriangle, "x..............."}});
  const Phrase shaker = Drums({{gm::kShaker, "o.o.x.o.o.o.x.o."}});
  const Phrase walk = Drums({{gm::kShaker, "o.o.x.o.o.o.x.o."},
                             {gm::kSideStick, "........x......."},
                             {gm::kKick, "x.........x....."}});
  score.place(percussion, Sequence({Together(shaker, triangle), Repeat(shaker, 3)}), 1, 4);
  score.place(percussion, Dynamics(Repeat(walk, 8), 1.1), 5, 8);
  score.place(percussion, Dynamics(Sequence({Together(walk, triangle), Repeat(walk, 7)}), 1.1), 13,
              8);

  score.parts = {flute, vibes, harp, pad, bass, percussion};
  return score;
}

}  // namespace zendor::datagen::music
