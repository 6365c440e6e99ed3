#pragma once

#include <string_view>
#include <vector>

#include "datagen/audio/midi/notation.h"
#include "datagen/audio/midi/score.h"

// Accompaniment written from a chord progression. Every pattern is a string with one
// character per sixteenth that starts again at each new chord; '-' holds the note before and
// '.' is silence. A note never rings over into the next chord.
namespace zendor::datagen::music {

// Each chord held for its whole length, voiced within the octave around `centreKey` so the
// voices move as little as possible from chord to chord.
Phrase Pad(const std::vector<Chord>& chords, int centreKey, int velocity);

// Chords struck in a rhythm: 'x' strike, 'X' accented strike. Voiced like Pad.
Phrase Comp(const std::vector<Chord>& chords, std::string_view rhythm, int centreKey, int velocity);

// Broken chords: '1' is the chord's root (the first at or above `lowKey`), '2' its next tone
// upwards and so on, continuing into the octaves above.
Phrase Arpeggio(const std::vector<Chord>& chords, std::string_view pattern, int lowKey,
                int velocity);

// A bass line: 'R' the root (or the bass of a slash chord), the first at or above `lowKey`;
// '3', '5', '7' the chord's third, fifth and seventh above it; '8' the root an octave up.
// Notes on the beat are played a little harder than those between.
Phrase Bass(const std::vector<Chord>& chords, std::string_view pattern, int lowKey, int velocity);

}  // namespace zendor::datagen::music
