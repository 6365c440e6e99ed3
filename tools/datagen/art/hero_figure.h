#pragma once

#include "datagen/art/canvas.h"

// The hero in his space suit, painted from a pose: the joints of a simple skeleton in frame
// pixels, facing right. Every hero sheet draws him from here (and the loading picture reuses
// those frames), so he looks the same in every pose.
namespace zendor::datagen {

struct HeroPose {
  Vec2 head;        // centre of the helmet
  Vec2 look{1, 0};  // where the visor faces: x > 0 forwards, x < 0 over the shoulder
  Vec2 neck, hip;   // the torso runs from neck to hip
  Vec2 farKnee, farFoot, nearKnee, nearFoot;  // feet: the ankle; the sole is 2.5 px below
  double farToe = 0, nearToe = 0;             // foot pitch in radians, positive lifts the heel
  Vec2 farElbow, farHand, nearElbow, nearHand;
  Vec2 butt, muzzle;         // the laser rifle, stock to muzzle
  bool rifleInFront = true;  // false: the rifle passes behind the near arm and the helmet
};

// Paints the hero (outlined) onto a transparent frame.
void PaintHero(Surface& frame, const HeroPose& pose);

// The hero standing still, feet on row 40 of a 22 x 41 frame.
HeroPose StandingPose();

}  // namespace zendor::datagen
