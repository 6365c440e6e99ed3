#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/window.h"
#include "replay/options.h"

namespace zendor::replay {

// Writes the window's screen at the requested virtual times: when the clock is about to move
// from `from` past a requested time, or when it stands there at the end of the run.
class Snapshots {
 public:
  Snapshots(const Window& window, std::vector<SnapshotRequest> requests);
  void TakeDue(std::uint32_t from, std::uint32_t to);
  void TakeRemaining(std::uint32_t now);
  bool failed() const { return failed_; }

 private:
  void Take(const SnapshotRequest& request);
  const Window& window_;
  std::vector<SnapshotRequest> pending_;
  bool failed_ = false;
};

// Shows the window in a real SDL window while a replay runs in real time.
class RealtimeView {
 public:
  virtual ~RealtimeView() = default;
  virtual void Show() = 0;
};
// nullptr when there is no display.
std::unique_ptr<RealtimeView> MakeRealtimeView(Platform& platform);

}  // namespace zendor::replay
