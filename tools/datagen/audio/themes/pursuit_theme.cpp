// Theme 8: the second section. Rising tension in E minor: a staccato synth bass and plucked
// strings pulse in eighths, sustained strings darken, a square lead climbs, and from the
// middle on brass stabs and fuller drums push forward. The B7 of the last bar turns back to
// the start.
#include "datagen/audio/midi/accompaniment.h"
#include "datagen/audio/midi/general_midi.h"
#include "datagen/audio/themes/themes.h"

namespace zendor::datagen::music {

Score PursuitTheme() {
  Score score{.title = "Zendor Vostrik XXI - Footsteps Behind",
              .beatsPerMinute = 108.0,
              .beatsPerBar = 4,
              .bars = 24};
  const std::vector<Chord> opening = Progression("Em:16 Em:16 C:16 D:16");
  const std::vector<Chord> verse = Progression("Em:16 C:16 Am:16 B:16 Em:16 C:16 Am:16 B:16");
  const std::vector<Chord> climb =
      Progression("C:16 D:16 Em:16 Em:16 Am:16 Em:16 F:16 B:16 Em:16 C:16 D:16 B7:16");
  std::vector<Chord> all = opening;
  all.insert(all.end(), verse.begin(), verse.end());
  all.insert(all.end(), climb.begin(), climb.end());

  Part lead{"lead", 0, gm::kSquareLead, {.volume = 72, .reverb = 60, .chorus = 30}};
  score.place(lead,
              Notes("E5:6 F#5:2 G5:4 B5:4 "       // Em
                    "C6:6 B5:2 G5:4 E5:4 "        // C
                    "A5:4 G5:2 F#5:2 E5:4 C5:4 "  // Am
                    "D#5:8 F#5:4 B4:4 "           // B
                    "E5:4 G5:2 B5:2 E6:6 D6:2 "   // Em
                    "C6:4 B5:2 A5:2 G5:4 E5:4 "   // C
                    "A5:6 C6:2 B5:4 A5:4 "        // Am
                    "F#5:8 D#5:4 B4:4",           // B
                    88, 0.9),
              5, 8);
  score.place(lead,
              Notes("G5:8 E5:4 G5:4 "        // C
                    "A5:8 F#5:4 A5:4 "       // D
                    "B5:12! A5:2 G5:2 "      // Em
                    "E5:12 r:4 "             // Em
                    "C6:4 B5:4 A5:4 E5:4 "   // Am
                    "G5:4 F#5:4 E5:4 B4:4 "  // Em
                    "A5:4 C6:4 F5:8 "        // F
                    "D#6:8! B5:4 F#5:4 "     // B
                    "E6:8 B5:4 G5:4 "        // Em
                    "E6:4 D6:2 C6:2 G5:8 "   // C
                    "F#5:4 A5:4 D6:4 C6:4 "  // D
                    "B5:12 r:4",             // B7
                    94, 0.9),
              13, 12);

  Part bass{"bass", 1, gm::kSynthBass2, {.volume = 89, .reverb = 20}};
  score.place(bass, Bass(all, "R.R.8.R.R.R.8.5.", 35, 100), 1, 24);

  Part pizzicato{"pizzicato", 2, gm::kPizzicatoStrings, {.volume = 96, .pan = 40, .reverb = 60}};
  score.place(pizzicato, Arpeggio(all, "1-3-2-3-4-3-2-3-", 52, 84), 1, 24);

  Part strings{"strings", 3, gm::kStrings, {.volume = 104, .pan = 84, .reverb = 80}};
  std::vector<Chord> held(all.begin() + 4, all.end());
  score.place(strings, Pad(held, 64, 74), 5, 20);
  strings.swell(score.bar(13), score.bar(17), 80, 127);

  Part brass{"brass", 4, gm::kSynthBrass2, {.volume = 58, .pan = 70, .reverb = 50}};
  const std::vector<Chord> pushing(all.begin() + 16, all.end());
  score.place(brass, Comp(pushing, "X--.x--.x-x-....", 60, 84), 17, 8);

  Part drums{"drums", gm::kPercussionChannel, 0, {.volume = 127, .reverb = 40}};
  const Phrase creep = Drums({{gm::kClosedHat, "x.o.x.o.x.o.x.o."},
                              {gm::kKick, "x.......x......."},
                              {gm::kLowFloorTom, "...........o..o."}});
  const Phrase march = Drums({{gm::kKick, "x..x..x...x..x.."},
                              {gm::kSnare, "....x.......x..."},
                              {gm::kClosedHat, "x.x.x.x.x.x.x.x."}});
  const Phrase drive = Drums({{gm::kKick, "x..x..x.x.x..x.."},
                              {gm::kSnare, "....x.......x..o"},
                              {gm::kClosedHat, "xoxoxoxoxoxoxoxo"}});
  const Phrase toms =
      Drums({{gm::kHighTom, "........x..x...."}, {gm::kLowTom, "..........x..x.x"}});
  const Phrase crash = Drums({{gm::kCrash, "X..............."}});
  const Phrase fill = Drums({{gm::kKick, "x..x..x........."},
                             {gm::kSnare, "....x...xoxxXxXX"},
                             {gm::kClosedHat, "xoxoxoxo........"}});
  score.place(drums, Repeat(creep, 4), 1, 4);
  score.place(drums, Sequence({Together(march, crash), Repeat(march, 6), fill}), 5, 8);
  score.place(
      drums,
      Sequence({Together(march, crash), march, Together(march, toms), Together(march, toms)}), 13,
      4);
  score.place(drums,
              Sequence({Together(drive, crash), Repeat(drive, 3), Together(drive, crash),
                        Repeat(drive, 2), fill}),
              17, 8);

  score.parts = {lead, bass, pizzicato, strings, brass, drums};
  return score;
}

}  // namespace zendor::datagen::music
