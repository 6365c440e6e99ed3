// Theme 5: the title and menu theme. A minor, a mysterious four-bar opening of bells over a
// warm pad and a pulsing arpeggio, then the hero's melody on a saw lead, a rising middle
// strain that climbs to E major, and a closing strain whose E7 leads back to the opening.
#include "datagen/audio/midi/accompaniment.h"
#include "datagen/audio/midi/general_midi.h"
#include "datagen/audio/themes/themes.h"

namespace zendor::datagen::music {
namespace {

Phrase Groove() {
  return Drums({{gm::kKick, "x.....x...x....."},
                {gm::kSnare, "....x.......x..."},
                {gm::kClosedHat, "x.o.x.o.x.o.x.o."}});
}

}  // namespace

Score MenuTheme() {
  Score score{
      .title = "Zendor Vostrik XXI - Title", .beatsPerMinute = 100.0, .beatsPerBar = 4, .bars = 16};
  const std::vector<Chord> opening = Progression("Am:16 Fmaj7:16 C:16 G:16");
  const std::vector<Chord> theme = Progression("Am:16 F:16 C:16 G:16");
  const std::vector<Chord> rising = Progression("Dm:16 Am:16 F:16 E:16");
  const std::vector<Chord> closing = Progression("Am:16 F:16 G:16 E7:16");
  std::vector<Chord> all = opening;
  for (const auto* block : {&theme, &rising, &closing})
    all.insert(all.end(), block->begin(), block->end());

  Part lead{"lead", 0, gm::kSawLead, {.volume = 65, .reverb = 60, .chorus = 50}};
  score.place(lead,
              Notes("A4:4 E5:6 D5:2 C5:2 B4:2 "       // Am
                    "C5:4 A4:4 C5:2 D5:2 E5:4 "       // F
                    "G5:6 E5:2 C5:4 D5:2 E5:2 "       // C
                    "D5:10 B4:2 G4:4 "                // G
                    "F5:4 E5:2 D5:2 A5:8 "            // Dm
                    "G5:2 F5:2 E5:4 C5:4 A4:4 "       // Am
                    "F5:4 E5:2 F5:2 A5:4 G5:2 F5:2 "  // F
                    "E5:4 G#5:4 B5:8! "               // E
                    "A5:6! E5:2 C5:4 E5:4 "           // Am
                    "F5:6 C5:2 A4:4 C5:4 "            // F
                    "D5:4 B4:4 D5:2 G5:2 F5:4 "       // G
                    "E5:8 D5:4 B4:2 G#4:2",           // E7
                    92, 0.92),
              5, 12);

  Part bells{"bells", 1, gm::kVibraphone, {.volume = 127, .pan = 84, .reverb = 80}};
  score.place(bells,
              Notes("E5:4 A5:4 C6:8 "       // Am
                    "B5:4 A5:4 E5:8 "       // Fmaj7
                    "G5:4 E5:4 C5:4 E5:4 "  // C
                    "D5:4 G5:4 B5:8",       // G
                    110, 1.0),
              1, 4);
  // The bells come back to answer the melody's last strain.
  score.place(bells, Notes("r:8 C6:4 B5:4 r:8 A5:4 C6:4 r:8 B5:4 D6:4 r:8 B5:4 G#5:4", 100, 1.0),
              13, 4);

  Part pad{"pad", 2, gm::kPadWarm, {.volume = 74, .reverb = 80, .chorus = 30}};
  score.place(pad, Pad(all, 62, 72), 1, 16);

  Part arp{"arpeggio", 3, gm::kSquareLead, {.volume = 61, .pan = 44, .reverb = 70}};
  score.place(arp, Arpeggio(all, "1234323412343234", 57, 70), 1, 16);

  Part bass{"bass", 4, gm::kSynthBass1, {.volume = 104, .reverb = 20}};
  score.place(bass, Bass(opening, "R-------R---5-R-", 33, 96), 1, 4);
  score.place(bass, Bass(theme, "R-.R-.R-R-.R5-8-", 33, 100), 5, 4);
  score.place(bass, Bass(rising, "R-.R-.R-R-.R5-8-", 33, 100), 9, 4);
  score.place(bass, Bass(closing, "R-.R-.R-R-.R5-8-", 33, 100), 13, 4);

  Part strings{"strings", 5, gm::kSlowStrings, {.volume = 90, .pan = 40, .reverb = 80}};
  score.place(strings, Pad(rising, 55, 80), 9, 4);
  score.place(strings, Pad(closing, 55, 74), 13, 4);
  strings.swell(score.bar(9), score.bar(12), 70, 127);

  Part drums{"drums", gm::kPercussionChannel, 0, {.volume = 127, .reverb = 40}};
  const Phrase hush =
      Drums({{gm::kKick, "x.......x......."}, {gm::kClosedHat, "..o...o...o...o."}});
  const Phrase lift = Drums({{gm::kKick, "x.......x......."},
                             {gm::kClosedHat, "..o...o...o....."},
                             {gm::kSnare, "............o.ox"}});
  const Phrase crash = Drums({{gm::kCrash, "x..............."}});
  const Phrase fill = Drums({{gm::kKick, "x.......x......."},
                             {gm::kSnare, "....x.......oxxX"},
                             {gm::kHighTom, "........xx......"},
                             {gm::kLowTom, "..........xx...."},
                             {gm::kClosedHat, "x.x.x.x........."}});
  const Phrase verse = Sequence({Together(Groove(), crash), Repeat(Groove(), 3)});
  const Phrase last = Sequence({Together(Groove(), crash), Repeat(Groove(), 2), fill});
  score.place(drums, Dynamics(Sequence({Repeat(hush, 3), lift, verse, verse, last}), 1.2), 1, 16);

  score.parts = {lead, bells, pad, arp, bass, strings, drums};
  return score;
}

}  // namespace zendor::datagen::music
