#pragma once

#include <array>
#include <map>
#include <utility>
#include <vector>

namespace zendor {

// The controls of a gamepad the game answers to. The d-pad and the left stick are two sources of
// the same four directions.
enum class PadControl { Left, Right, Up, Down, A, B, X, Y, Start, Back, Count };
enum class PadSource { Button, Stick };

// The virtual-key code each control presses (0: none). A pad adds no moves of its own: it
// presses keys the game already answers to.
struct PadKeys {
  std::array<int, static_cast<int>(PadControl::Count)> key{};
  int& operator[](PadControl c) { return key[static_cast<std::size_t>(c)]; }
  int operator[](PadControl c) const { return key[static_cast<std::size_t>(c)]; }
  bool operator==(const PadKeys&) const = default;
};

// A key going down or up because of a pad.
struct PadKeyChange {
  bool down;
  int key;
  bool operator==(const PadKeyChange&) const = default;
};

// Turns pad presses into key presses. A key goes down with the first control holding it and up
// with the last one letting go, so the d-pad and the stick, or X and B, never release each
// other's key. A control lets go of the key it pressed, even if the keys changed meanwhile.
class PadPresses {
 public:
  std::vector<PadKeyChange> Set(int pad, PadControl control, PadSource source, bool down,
                                const PadKeys& keys);
  // A pad went away: everything it held is let go.
  std::vector<PadKeyChange> Unplug(int pad);

 private:
  using Holder = std::pair<int, std::pair<int, int>>;  // pad, control, source
  std::vector<PadKeyChange> Release(const Holder& holder);
  std::map<Holder, int> held_;       // the key each held control pressed
  std::map<int, int> holdersOfKey_;  // how many controls hold each key
};

}  // namespace zendor
