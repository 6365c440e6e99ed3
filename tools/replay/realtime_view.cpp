#include "replay/snapshots.h"

namespace zendor::replay {

// Watching a replay needs the SDL presenter; until it is wired in, replays run without a view.
std::unique_ptr<RealtimeView> MakeRealtimeView(const Window&) {
  return nullptr;
}

}  // namespace zendor::replay
