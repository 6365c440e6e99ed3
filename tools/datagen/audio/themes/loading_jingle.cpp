// Theme 0: the jingle as the loading screen fades out. A minor call in D that resolves onto a
// bright D major chord and rings out; it plays once.
//
// It is written as one long bar of eight beats: the menu theme that follows waits for the
// next bar line of the theme playing before it starts, so the whole fanfare is heard and the
// menu comes in on its downbeat.
#include "datagen/audio/midi/accompaniment.h"
#include "datagen/audio/midi/general_midi.h"
#include "datagen/audio/themes/themes.h"

namespace zendor::datagen::music {

Score LoadingJingle() {
  Score score{
      .title = "Zendor Vostrik XXI - Arrival", .beatsPerMinute = 96.0, .beatsPerBar = 8, .bars = 1};
  // Seven beats of music, then one beat for the last chord to ring into the silence.
  const std::vector<Chord> chords = Progression("Dm:8 Bb:4 C:4 D:12 D:4");
  const std::vector<Chord> sounding(chords.begin(), chords.end() - 1);

  Part lead{"lead", 0, gm::kSawLead, {.volume = 61, .reverb = 70, .chorus = 40}};
  score.place(lead, Notes("A4:2 D5:2 F5:4 F5:2 D5:2 E5:2 G5:2 F#5:12! r:4", 100, 0.95), 1, 1);

  Part brass{"brass", 1, gm::kSynthBrass1, {.volume = 58, .pan = 54, .reverb = 60}};
  score.place(brass,
              Notes("D4+F4+A4:3! D4+F4+A4:1 D4+F4+A4:4 Bb3+D4+F4:4 C4+E4+G4:4 D4+F#4+A4+D5:12! r:4",
                    96, 0.9),
              1, 1);

  Part strings{"strings", 2, gm::kStrings, {.volume = 113, .pan = 76, .reverb = 80}};
  score.place(strings, Together(Pad(sounding, 57, 80), Notes("r:32")), 1, 1);

  Part bass{"bass", 3, gm::kSynthBass1, {.volume = 119, .reverb = 30}};
  score.place(bass, Notes("D2:6 D2:2 Bb1:4 C2:4 D2:12 r:4", 104, 0.9), 1, 1);

  Part sparkle{"sparkle", 4, gm::kCelesta, {.volume = 107, .pan = 90, .reverb = 90}};
  score.place(sparkle, Together(Arpeggio(sounding, "12345678----", 62, 84), Notes("r:32")), 1, 1);

  Part timpani{"timpani", 5, gm::kTimpani, {.volume = 108, .pan = 40, .reverb = 60}};
  score.place(timpani,
              Notes("D2:4! r:4 A1:1? A1:1? A1:1 A1:1 A1:1 A1:1 A1:1 A1:1! D2:12! r:4", 100, 0.9), 1,
              1);

  Part drums{"drums", gm::kPercussionChannel, 0, {.volume = 127, .reverb = 50}};
  score.place(drums,
              Dynamics(Drums({{gm::kKick, "X.......x...x...X..............."},
                              {gm::kSnare, "............oxxX................"},
                              {gm::kCrash, "X...............X..............."}}),
                       1.2),
              1, 1);

  score.parts = {lead, brass, strings, bass, sparkle, timpani, drums};
  return score;
}

}  // namespace zendor::datagen::music
