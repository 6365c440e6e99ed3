#include "replay/snapshots.h"

#include <cstdio>

#include "platform/image_file.h"

namespace zendor::replay {

Snapshots::Snapshots(const Window& window, std::vector<SnapshotRequest> requests)
    : window_(window), pending_(std::move(requests)) {}

void Snapshots::Take(const SnapshotRequest& request) {
  std::string error;
  if (!WriteImageFile(request.file, window_.screen(), &error)) {
    std::fprintf(stderr, "zendor-replay: snapshot %s\n", error.c_str());
    failed_ = true;
  }
}

void Snapshots::TakeDue(std::uint32_t from, std::uint32_t to) {
  for (auto it = pending_.begin(); it != pending_.end();) {
    if (it->time >= from && it->time < to) {
      Take(*it);
      it = pending_.erase(it);
    } else {
      ++it;
    }
  }
}

void Snapshots::TakeRemaining(std::uint32_t now) {
  for (const auto& request : pending_) {
    if (request.time <= now) {
      Take(request);
    } else {
      std::fprintf(stderr, "zendor-replay: the run ended at %u ms, before the snapshot at %u ms\n",
                   now, request.time);
      failed_ = true;
    }
  }
  pending_.clear();
}

}  // namespace zendor::replay
