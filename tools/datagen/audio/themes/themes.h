#pragma once

#include "datagen/audio/midi/score.h"

// The game's music. Every theme but the jingle loops as a whole, so each ends exactly on a bar
// line with nothing left sounding, and its first bar follows naturally from its last.
namespace zendor::datagen::music {

Score LoadingJingle();     // 0: the short fanfare as the loading screen closes
Score MenuTheme();         // 5: the title and menu theme
Score ExplorationTheme();  // 7: first section, calm exploration under alien stars
Score PursuitTheme();      // 8: second section, something is following
Score AmbushTheme();       // 9: third section, the creatures close in
Score FinalPushTheme();    // 10: last section, the run for the end of the level

}  // namespace zendor::datagen::music
