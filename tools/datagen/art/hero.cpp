#include <vector>

#include "datagen/art/hero_figure.h"
#include "datagen/art/painters.h"
#include "datagen/art/sheet_layout.h"

namespace zendor::datagen {
namespace {

Vec2 Shift(Vec2 p, double dx, double dy) {
  return {p.x + dx, p.y + dy};
}

// Moves the whole upper body (head, torso, arms, rifle) by (dx, dy).
void ShiftUpperBody(HeroPose& p, double dx, double dy) {
  for (Vec2* v : {&p.head, &p.neck, &p.hip, &p.farElbow, &p.farHand, &p.nearElbow, &p.nearHand,
                  &p.butt, &p.muzzle})
    *v = Shift(*v, dx, dy);
}

Surface Frame(int w, int h, const HeroPose& pose) {
  Surface f(w, h);
  PaintHero(f, pose);
  return f;
}

// The four steps of the walk: 0 standing (both feet down), 1 the near leg striding forward,
// 2 passing with the far leg lifted, 3 the far leg striding forward.
HeroPose WalkPose(int step) {
  HeroPose p = StandingPose();
  switch (step) {
    case 1:
      ShiftUpperBody(p, 0.4, 1.0);
      p.nearKnee = {14.0, 28.8};
      p.nearFoot = {16.0, 37.6};
      p.farKnee = {8.2, 30.4};
      p.farFoot = {5.0, 36.8};
      p.farToe = 0.5;
      break;
    case 2:
      ShiftUpperBody(p, 0.2, -0.2);
      p.nearKnee = {10.6, 28.8};
      p.nearFoot = {10.2, 37.6};
      p.farKnee = {12.6, 27.6};
      p.farFoot = {10.4, 34.4};
      p.farToe = 0.3;
      break;
    case 3:
      ShiftUpperBody(p, 0.4, 1.0);
      p.farKnee = {13.4, 28.8};
      p.farFoot = {15.6, 37.6};
      p.nearKnee = {8.8, 30.4};
      p.nearFoot = {5.6, 36.8};
      p.nearToe = 0.5;
      break;
    default:
      break;
  }
  return p;
}

// Looking around: up at the sky, back over the shoulder, and forwards again.
HeroPose LookAroundPose(int step) {
  HeroPose p = StandingPose();
  const Vec2 looks[] = {{0.7, -0.8}, {-0.9, -0.2}, {-1.0, 0.1}, {0.6, 0.2}};
  p.look = looks[step];
  if (step == 1 || step == 2) p.head = Shift(p.head, -0.4, 0);
  return p;
}

// Checking the rifle: raises it, looks along it, taps the charge cell, lowers it.
HeroPose RifleCheckPose(int step) {
  HeroPose p = StandingPose();
  const Vec2 butts[] = {{7.0, 19.0}, {8.0, 17.0}, {8.0, 17.0}, {6.5, 19.5}};
  const Vec2 muzzles[] = {{19.5, 11.0}, {19.5, 8.5}, {19.5, 9.0}, {20.0, 14.5}};
  p.butt = butts[step];
  p.muzzle = muzzles[step];
  p.look = step == 3 ? Vec2{1, 0} : Vec2{0.8, 0.5};
  p.farElbow = {13.0, 16.0};
  p.farHand = Shift(p.muzzle, -4.5, 2.0);
  p.nearElbow = {9.2, 17.4};
  p.nearHand = step == 2 ? Shift(p.butt, 5.5, -2.8) : Shift(p.butt, 4.0, 0.0);
  return p;
}

}  // namespace

Surface HeroWalkSheet() {
  std::vector<Surface> frames;
  for (int k = 0; k < 4; ++k) frames.push_back(Frame(22, 41, WalkPose(k)));
  for (int k = 0; k < 4; ++k) frames.push_back(Frame(22, 41, LookAroundPose(k)));
  for (int k = 0; k < 4; ++k) frames.push_back(Frame(22, 41, RifleCheckPose(k)));
  return WithMaskBelow(JoinFrames(frames));
}

Surface HeroInAirSheet() {
  HeroPose p = StandingPose();
  ShiftUpperBody(p, 0.5, 0);
  p.nearKnee = {15.0, 25.5};
  p.nearFoot = {13.6, 32.4};
  p.nearToe = 0.4;
  p.farKnee = {12.4, 26.6};
  p.farFoot = {8.4, 31.6};
  p.farToe = 0.7;
  p.butt = {7.0, 17.0};
  p.muzzle = {21.0, 12.0};
  p.farElbow = {14.0, 14.0};
  p.farHand = {17.5, 13.0};
  p.nearElbow = {10.0, 17.0};
  p.nearHand = {12.8, 16.2};
  p.look = {0.9, -0.4};
  return WithMaskBelow(Frame(23, 41, p));
}

Surface HeroTakeOffSheet() {
  HeroPose p = StandingPose();
  ShiftUpperBody(p, 2.0, 6.0);
  p.neck = Shift(p.neck, 1.5, 0);
  p.head = Shift(p.head, 2.0, 0);
  p.nearKnee = {18.0, 30.0};
  p.nearFoot = {15.0, 37.6};
  p.farKnee = {15.6, 31.2};
  p.farFoot = {10.4, 37.6};
  p.farToe = 0.2;
  p.butt = {9.0, 27.0};
  p.muzzle = {24.5, 25.0};
  p.farElbow = {16.0, 23.4};
  p.farHand = {19.5, 24.8};
  p.nearElbow = {11.0, 25.0};
  p.nearHand = {14.5, 26.6};
  p.look = {1.0, 0.3};
  return WithMaskBelow(Frame(30, 41, p));
}

Surface HeroLandingSheet() {
  HeroPose p = StandingPose();
  ShiftUpperBody(p, 0.6, 3.5);
  p.nearKnee = {15.0, 31.0};
  p.nearFoot = {13.0, 37.6};
  p.farKnee = {12.0, 32.0};
  p.farFoot = {7.6, 37.6};
  p.butt = {6.5, 23.0};
  p.muzzle = {21.0, 21.0};
  p.farElbow = {14.0, 20.0};
  p.farHand = {17.0, 21.4};
  p.look = {1.0, 0.5};
  return WithMaskBelow(Frame(23, 41, p));
}

Surface HeroCrouchSheet() {
  // Kneeling and aiming: the muzzle sits at the top right, where the shot appears.
  HeroPose p;
  p.head = {10.5, 6.8};
  p.look = {1.0, 0.15};
  p.neck = {9.8, 11.2};
  p.hip = {9.0, 20.5};
  p.nearKnee = {16.0, 22.6};
  p.nearFoot = {15.8, 28.6};
  p.farKnee = {10.6, 28.6};
  p.farFoot = {4.0, 28.0};
  p.farToe = 1.2;
  p.butt = {9.5, 9.6};
  p.muzzle = {29.9, 4.4};
  p.farElbow = {15.5, 12.5};
  p.farHand = {19.5, 7.6};
  p.nearElbow = {9.0, 15.0};
  p.nearHand = {13.8, 9.8};
  return WithMaskBelow(Frame(30, 32, p));
}

Surface HeroAttackSheet() {
  // A flying kick: wind up, chamber the knee, strike out to the right, hold, pull back, stand.
  std::vector<Surface> frames;
  for (int k = 0; k < 6; ++k) {
    HeroPose p = StandingPose();
    ShiftUpperBody(p, 0, 10.0);
    p.farKnee = Shift(p.farKnee, 0, 10.0);
    p.farFoot = Shift(p.farFoot, 0, 10.0);
    p.nearKnee = Shift(p.nearKnee, 0, 10.0);
    p.nearFoot = Shift(p.nearFoot, 0, 10.0);
    switch (k) {
      case 0:  // wind up: rifle raised, weight back
        ShiftUpperBody(p, -1.0, 0.5);
        p.nearKnee = {13.5, 38.5};
        p.nearFoot = {13.0, 45.0};
        break;
      case 1:  // knee chambered
        ShiftUpperBody(p, -2.0, 0);
        p.nearKnee = {17.0, 36.0};
        p.nearFoot = {14.0, 41.0};
        p.nearToe = -0.6;
        break;
      case 2:  // full extension
      case 3:
        ShiftUpperBody(p, -1.5, k == 2 ? 0 : 0.5);
        p.head = Shift(p.head, -0.5, 0.5);
        p.nearKnee = {16.5, 32.5};
        p.nearFoot = {k == 2 ? 21.4 : 20.8, 33.5};
        p.nearToe = -1.57;
        break;
      case 4:  // pulling back
        ShiftUpperBody(p, -1.5, 0);
        p.nearKnee = {16.0, 37.0};
        p.nearFoot = {15.0, 43.0};
        break;
      default:  // back in stance
        break;
    }
    if (k <= 4) {
      // Rifle held across the chest, out of the way of the kick.
      p.butt = Shift(p.hip, -4.0, -2.0);
      p.muzzle = Shift(p.hip, 8.5, -12.5);
      p.farHand = Shift(p.hip, 4.5, -9.0);
      p.farElbow = Shift(p.hip, 4.0, -4.5);
      p.nearHand = Shift(p.hip, 0.5, -5.0);
      p.nearElbow = Shift(p.hip, -2.0, -6.5);
    }
    Surface f(32, 51);
    PaintHero(f, p);
    frames.push_back(f);
  }
  return WithMaskBelow(JoinFrames(frames));
}

}  // namespace zendor::datagen
