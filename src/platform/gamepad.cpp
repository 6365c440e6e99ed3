#include "platform/gamepad.h"

namespace zendor {

std::vector<PadKeyChange> PadPresses::Set(int pad, PadControl control, PadSource source, bool down,
                                          const PadKeys& keys) {
  const Holder holder{pad, {static_cast<int>(control), static_cast<int>(source)}};
  if (!down) return Release(holder);
  const int key = keys[control];
  if (key == 0 || held_.count(holder)) return {};
  held_[holder] = key;
  if (holdersOfKey_[key]++ > 0) return {};
  return {{true, key}};
}

std::vector<PadKeyChange> PadPresses::Release(const Holder& holder) {
  const auto it = held_.find(holder);
  if (it == held_.end()) return {};
  const int key = it->second;
  held_.erase(it);
  if (--holdersOfKey_[key] > 0) return {};
  holdersOfKey_.erase(key);
  return {{false, key}};
}

std::vector<PadKeyChange> PadPresses::Unplug(int pad) {
  std::vector<Holder> holders;
  for (const auto& [holder, key] : held_) {
    if (holder.first == pad) holders.push_back(holder);
  }
  std::vector<PadKeyChange> changes;
  for (const Holder& holder : holders) {
    for (const PadKeyChange& change : Release(holder)) changes.push_back(change);
  }
  return changes;
}

}  // namespace zendor
