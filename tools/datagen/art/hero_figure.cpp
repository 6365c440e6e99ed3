#include "datagen/art/hero_figure.h"

#include <cmath>
#include <vector>

#include "datagen/art/palette.h"
#include "datagen/art/shading.h"

namespace zendor::datagen {
namespace {

Vec2 Add(Vec2 a, Vec2 b) {
  return {a.x + b.x, a.y + b.y};
}
Vec2 Sub(Vec2 a, Vec2 b) {
  return {a.x - b.x, a.y - b.y};
}
Vec2 Scale(Vec2 a, double k) {
  return {a.x * k, a.y * k};
}
Vec2 Unit(Vec2 a) {
  const double len = std::hypot(a.x, a.y);
  return len > 0 ? Scale(a, 1 / len) : Vec2{1, 0};
}

// A point given along a direction u and across it (v = u turned a quarter clockwise).
Vec2 Along(Vec2 origin, Vec2 u, double s, double q) {
  return {origin.x + u.x * s - u.y * q, origin.y + u.y * s + u.x * q};
}

void PaintBoot(Surface& f, Vec2 ankle, double pitch, int bias) {
  const double c = std::cos(pitch), s = std::sin(pitch);
  const Vec2 local[] = {{-1.8, -1.7}, {1.4, -1.7}, {3.7, 0.3}, {3.7, 2.5}, {-1.8, 2.5}};
  std::vector<Vec2> outline;
  for (const Vec2& p : local) {
    // Pivot on the toe tip so a lifted heel keeps the toe on the ground.
    const Vec2 q{p.x - 3.7, p.y - 2.5};
    outline.push_back({ankle.x + 3.7 + q.x * c + q.y * s, ankle.y + 2.5 - q.x * s + q.y * c});
  }
  Paint(f, Plate(outline, 1.0), pal::kMetal, {.bias = bias + 1});
}

void PaintLeg(Surface& f, Vec2 hip, Vec2 knee, Vec2 foot, double pitch, int bias) {
  const bool near = bias == 0;
  Paint(f, Limb(hip, knee, 2.3, 2.0), pal::kSuit, {.bias = bias, .seams = near});
  Paint(f, Limb(knee, foot, 2.0, 1.7), pal::kSuit, {.bias = bias, .seams = near});
  // Knee pad.
  Paint(f, Ball(knee.x + 0.6, knee.y, 1.3, 1.3), pal::kSuit, {.bias = bias + 1, .seams = false});
  PaintBoot(f, foot, pitch, bias);
}

void PaintArm(Surface& f, Vec2 shoulder, Vec2 elbow, Vec2 hand, int bias) {
  const bool near = bias == 0;
  Paint(f, Limb(shoulder, elbow, 1.8, 1.6), pal::kSuit, {.bias = bias, .seams = near});
  Paint(f, Limb(elbow, hand, 1.6, 1.5), pal::kSuit, {.bias = bias, .seams = near});
  Paint(f, Ball(hand.x, hand.y, 1.5, 1.4), pal::kMetal, {.bias = bias + 2, .seams = near});
}

void PaintRifle(Surface& f, Vec2 butt, Vec2 muzzle) {
  const Vec2 u = Unit(Sub(muzzle, butt));
  const double len = std::hypot(muzzle.x - butt.x, muzzle.y - butt.y);
  const double local[][2] = {{0, -1.2},   {3.5, -1.8}, {len - 4.5, -1.8}, {len - 4.5, -1.0},
                             {len, -1.0}, {len, 1.0},  {len - 4.5, 1.0},  {len - 4.5, 1.8},
                             {7.5, 1.8},  {7.0, 3.6},  {5.4, 3.6},        {5.0, 1.8},
                             {3.0, 1.8},  {0, 2.3}};
  std::vector<Vec2> outline;
  for (const auto& p : local) outline.push_back(Along(butt, u, p[0], p[1]));
  Paint(f, Plate(outline, 1.0), pal::kMetal, {.bias = 1});
  // The charge cell glows along the top of the body.
  for (double s = 4.0; s < len - 5.0; s += 0.5) {
    const Vec2 p = Along(butt, u, s, -0.4);
    Plot(f, static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y)),
         s < len - 7.0 ? pal::kCyanArray[2] : pal::kCyanArray[4]);
  }
}

void PaintHelmet(Surface& f, const HeroPose& pose) {
  const Vec2 h = pose.head;
  Paint(f, Ball(h.x, h.y, 4.6, 4.8), pal::kSuit, {.bias = 0});
  // The visor: a band of tinted glass on the side he looks to, kept inside the helmet.
  const Vec2 c = Add(h, Vec2{pose.look.x * 2.0, pose.look.y * 2.0 + 0.4});
  Shape visor = Ball(c.x, c.y, 2.7, 2.2);
  const auto inVisor = visor.contains;
  visor.contains = [inVisor, h](double x, double y, Vec3& n) {
    const double u = (x - h.x) / 3.9, v = (y - h.y) / 4.1;
    return u * u + v * v <= 1.0 && inVisor(x, y, n);
  };
  Paint(f, visor, pal::kCyan, {.bias = -1, .seams = false, .contrast = 1.6});
  Plot(f, static_cast<int>(std::floor(c.x - 0.9)), static_cast<int>(std::floor(c.y - 1.0)),
       pal::kCyanArray[4]);
  // Collar ring.
  Paint(f, Limb(Add(h, Vec2{-2.2, 4.4}), Add(h, Vec2{1.6, 4.4}), 0.9, 0.9), pal::kMetal,
        {.bias = 1, .seams = false});
}

void PaintTorso(Surface& f, const HeroPose& pose) {
  const Vec2 u = Unit(Sub(pose.hip, pose.neck));
  // Backpack with its oxygen tank, behind the back.
  std::vector<Vec2> pack = {Along(pose.neck, u, 0.5, 1.5), Along(pose.neck, u, 0.5, 5.6),
                            Along(pose.neck, u, 8.8, 5.6), Along(pose.neck, u, 8.8, 1.5)};
  Paint(f, Plate(pack, 1.2), pal::kSuit, {.bias = -1});
  const Vec2 tankTop = Along(pose.neck, u, 2.0, 4.2), tankBottom = Along(pose.neck, u, 7.5, 4.2);
  Paint(f, Limb(tankTop, tankBottom, 1.1, 1.1), pal::kOrange, {.bias = -1, .seams = false});
  // Body.
  Paint(f, Limb(Along(pose.neck, u, 1.8, 0), Along(pose.hip, u, -1.2, 0), 3.7, 3.3), pal::kSuit);
  // Belt and hips.
  Paint(f, Ball(pose.hip.x, pose.hip.y, 3.4, 2.1), pal::kMetal, {.bias = 1});
  // Chest lamp.
  const Vec2 lamp = Along(pose.neck, u, 4.5, -2.2);
  Plot(f, static_cast<int>(std::floor(lamp.x)), static_cast<int>(std::floor(lamp.y)),
       pal::kOrangeArray[4]);
}

}  // namespace

void PaintHero(Surface& f, const HeroPose& pose) {
  const Vec2 u = Unit(Sub(pose.hip, pose.neck));
  const Vec2 shoulder = Along(pose.neck, u, 2.3, 0.4);
  const Vec2 farShoulder = Along(pose.neck, u, 2.3, -0.8);
  PaintArm(f, farShoulder, pose.farElbow, pose.farHand, -1);
  PaintLeg(f, Add(pose.hip, Vec2{-0.6, 0.5}), pose.farKnee, pose.farFoot, pose.farToe, -1);
  PaintTorso(f, pose);
  PaintLeg(f, Add(pose.hip, Vec2{0.6, 0.5}), pose.nearKnee, pose.nearFoot, pose.nearToe, 0);
  if (!pose.rifleInFront) PaintRifle(f, pose.butt, pose.muzzle);
  PaintHelmet(f, pose);
  if (pose.rifleInFront) PaintRifle(f, pose.butt, pose.muzzle);
  PaintArm(f, shoulder, pose.nearElbow, pose.nearHand, 0);
  // Shoulder pad with an orange flash.
  Paint(f, Ball(shoulder.x - 0.3, shoulder.y - 0.2, 2.1, 1.8), pal::kSuit, {.bias = 1});
  Plot(f, static_cast<int>(std::floor(shoulder.x - 1.0)),
       static_cast<int>(std::floor(shoulder.y - 0.5)), pal::kOrangeArray[3]);
  Outline(f, pal::kOutline);
}

HeroPose StandingPose() {
  HeroPose p;
  p.head = {10.5, 6.6};
  p.neck = {10.0, 11.0};
  p.hip = {10.0, 21.5};
  p.farKnee = {9.6, 29.5};
  p.farFoot = {8.6, 37.6};
  p.nearKnee = {11.2, 29.5};
  p.nearFoot = {11.4, 37.6};
  p.farElbow = {12.6, 17.6};
  p.farHand = {16.0, 17.4};
  p.nearElbow = {9.6, 18.0};
  p.nearHand = {12.2, 20.4};
  p.butt = {5.5, 20.5};
  p.muzzle = {19.6, 17.5};
  return p;
}

}  // namespace zendor::datagen
