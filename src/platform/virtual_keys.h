#pragma once

namespace zendor::vk {

// Windows virtual-key codes of the keys the game can see.
inline constexpr int kBack = 8;
inline constexpr int kTab = 9;
inline constexpr int kReturn = 13;
inline constexpr int kShift = 16;
inline constexpr int kControl = 17;
inline constexpr int kMenu = 18;  // Alt
inline constexpr int kPause = 19;
inline constexpr int kCapital = 20;  // Caps Lock
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kPrior = 33;
inline constexpr int kNext = 34;
inline constexpr int kEnd = 35;
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kSnapshot = 44;  // Print Screen
inline constexpr int kInsert = 45;
inline constexpr int kDelete = 46;
inline constexpr int k0 = 48;  // '0'..'9' are 48..57, 'A'..'Z' 65..90
inline constexpr int k1 = 49;
inline constexpr int k2 = 50;
inline constexpr int kA = 65;
inline constexpr int kNumpad0 = 96;  // keypad digits 96..105
inline constexpr int kNumpad1 = 97;
inline constexpr int kMultiply = 106;
inline constexpr int kAdd = 107;       // keypad +
inline constexpr int kSubtract = 109;  // keypad -
inline constexpr int kDecimal = 110;
inline constexpr int kDivide = 111;
inline constexpr int kF1 = 112;  // F1..F12 are 112..123
inline constexpr int kF10 = 121;
inline constexpr int kF11 = 122;
inline constexpr int kF12 = 123;
inline constexpr int kNumLock = 144;
inline constexpr int kScroll = 145;  // Scroll Lock
inline constexpr int kLControl = 162;
inline constexpr int kRControl = 163;

}  // namespace zendor::vk
