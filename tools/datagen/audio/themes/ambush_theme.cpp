// Theme 9: the third section. The creatures close in: G minor at a running pace, a galloping
// synth bass, tremolo strings, brass stabs and a saw lead that fights its way upwards, with a
// choir joining for the last eight bars before the D7 that starts it all again.
#include "datagen/audio/midi/accompaniment.h"
#include "datagen/audio/midi/general_midi.h"
#include "datagen/audio/themes/themes.h"

namespace zendor::datagen::music {

Score AmbushTheme() {
  Score score{.title = "Zendor Vostrik XXI - Ambush",
              .beatsPerMinute = 124.0,
              .beatsPerBar = 4,
              .bars = 28};
  const std::vector<Chord> opening = Progression("Gm:16 Gm:16 Eb:16 D:16");
  const std::vector<Chord> verse = Progression("Gm:16 Eb:16 Cm:16 D:16 Gm:16 Eb:16 Cm:16 D:16");
  const std::vector<Chord> bridge = Progression("Eb:16 F:16 Gm:16 Gm:16 Eb:16 F:16 D:16 D7:16");
  const std::vector<Chord> climax = Progression("Cm:16 Gm:16 Ab:16 Eb:16 Cm:16 D:16 Gm:16 D7:16");
  std::vector<Chord> all = opening;
  for (const auto* block : {&verse, &bridge, &climax})
    all.insert(all.end(), block->begin(), block->end());

  Part lead{"lead", 0, gm::kSawLead, {.volume = 60, .reverb = 50, .chorus = 40}};
  score.place(lead,
              Notes("G5:3! G5:1 D5:4 G5:4 A5:2 Bb5:2 "  // Gm
                    "Bb5:6 G5:2 Eb5:8 "                 // Eb
                    "C6:4 Bb5:2 G5:2 Eb5:4 G5:4 "       // Cm
                    "F#5:8 A5:4 D5:4 "                  // D
                    "G5:3! G5:1 D5:4 G5:4 Bb5:2 C6:2 "  // Gm
                    "D6:6 C6:2 Bb5:4 G5:4 "             // Eb
                    "Eb6:4 D6:2 C6:2 G5:4 C6:4 "        // Cm
                    "A5:6 F#5:2 D5:8",                  // D
                    92, 0.85),
              5, 8);
  score.place(lead,
              Notes("G5:8 Bb5:8 "            // Eb
                    "A5:8 C6:8 "             // F
                    "D6:12! C6:2 Bb5:2 "     // Gm
                    "G5:8 D5:4 G5:4 "        // Gm
                    "G5:4 Bb5:4 Eb6:8 "      // Eb
                    "F6:4 Eb6:2 D6:2 C6:8 "  // F
                    "D6:8 F#5:4 A5:4 "       // D
                    "D6:4 C6:4 A5:4 F#5:4",  // D7
                    96, 0.9),
              13, 8);
  score.place(lead,
              Notes("G5:2 C6:2 Eb6:4 D6:2 C6:2 G5:4 "  // Cm
                    "Bb5:2 D6:2 G6:8! F6:2 D6:2 "      // Gm
                    "Eb6:6 C6:2 Ab5:8 "                // Ab
                    "G5:4 Bb5:4 Eb6:4 D6:4 "           // Eb
                    "C6:6 D6:2 Eb6:4 G6:4 "            // Cm
                    "F#6:8! D6:4 A5:4 "                // D
                    "G6:4 D6:4 Bb5:4 G5:4 "            // Gm
                    "A5:4 C6:4 F#5:4 D5:4",            // D7
                    100, 0.9),
              21, 8);

  Part bass{"bass", 1, gm::kSynthBass1, {.volume = 94, .reverb = 20}};
  score.place(bass, Bass(all, "R-RRR-RRR-RRR-R8", 36, 98), 1, 28);

  Part strings{"tremolo strings", 2, gm::kTremoloStrings, {.volume = 95, .pan = 44, .reverb = 70}};
  score.place(strings, Pad(all, 62, 76), 1, 28);
  strings.swell(score.bar(1), score.bar(5), 50, 127);

  Part brass{"brass", 3, gm::kSynthBrass1, {.volume = 45, .pan = 84, .reverb = 50}};
  const std::vector<Chord> afterOpening(all.begin() + 4, all.end());
  score.place(brass, Comp(afterOpening, "X-.X-.X-........", 60, 88), 5, 24);

  Part choir{"choir", 4, gm::kChoirAahs, {.volume = 97, .reverb = 90}};
  score.place(choir, Pad(climax, 67, 84), 21, 8);

  Part timpani{"timpani", 5, gm::kTimpani, {.volume = 120, .pan = 30, .reverb = 60}};
  score.place(timpani, Bass(climax, "R-------R---R-R-", 36, 96), 21, 8);

  Part drums{"drums", gm::kPercussionChannel, 0, {.volume = 123, .reverb = 40}};
  const Phrase gather =
      Drums({{gm::kKick, "x...x...x...x..."}, {gm::kClosedHat, "oooxoooxoooxooox"}});
  const Phrase run = Drums({{gm::kKick, "x...x...x...x..x"},
                            {gm::kSnare, "....X.......X..."},
                            {gm::kClosedHat, "x...x...x...x..."},
                            {gm::kOpenHat, "..x...x...x...x."}});
  const Phrase crash = Drums({{gm::kCrash, "X..............."}});
  const Phrase fill = Drums({{gm::kKick, "x...x...x......."},
                             {gm::kSnare, "....X.......xxxX"},
                             {gm::kHighTom, "........xx......"},
                             {gm::kLowTom, "..........xx...."}});
  const Phrase roll = Drums({{gm::kKick, "x...x...x...x..."}, {gm::kSnare, "o.o.o.o.xoxoxxXX"}});
  score.place(drums, Sequence({Repeat(gather, 3), roll}), 1, 4);
  score.place(drums, Sequence({Together(run, crash), Repeat(run, 6), fill}), 5, 8);
  score.place(drums, Sequence({Together(run, crash), Repeat(run, 6), fill}), 13, 8);
  score.place(
      drums,
      Sequence({Together(run, crash), Repeat(run, 3), Together(run, crash), Repeat(run, 2), fill}),
      21, 8);

  score.parts = {lead, bass, strings, brass, choir, timpani, drums};
  return score;
}

}  // namespace zendor::datagen::music
