#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "datagen/art/painters.h"
#include "datagen/art/palette.h"
#include "datagen/art/shading.h"
#include "datagen/art/sheet_layout.h"

// The five kinds of alien, each drawn moving right in four frames.
namespace zendor::datagen {
namespace {

constexpr double kPi = std::numbers::pi;

// Where a foot is in a four-step gait: forwards/backwards swing and how high it is lifted.
struct Stride {
  double dx, lift;
};
Stride GaitAt(int step, double phase, double reach, double lift) {
  const double a = 2 * kPi * step / 4.0 + phase;
  return {reach * std::cos(a), std::max(0.0, std::sin(a)) * lift};
}

void Eye(Surface& f, double x, double y, pal::Ramp glow) {
  Paint(f, Ball(x, y, 1.3, 1.3), glow, {.bias = 1, .seams = false});
  Plot(f, static_cast<int>(std::floor(x - 0.5)), static_cast<int>(std::floor(y - 0.5)),
       pal::kStarWhite);
}

// Kind 0: a winged stinger that flies low over the ground; wings beat up, level, down, level.
Surface FlyerFrame(int step) {
  Surface f(24, 38);
  const double bob = step == 0 ? -1 : (step == 2 ? 1 : 0);
  const double y0 = 28 + bob;
  // Wing tip and trailing corner, relative to the wing root, for each beat.
  const Vec2 tips[] = {{-5.0, -15.0}, {-10.0, -6.0}, {-7.0, 8.5}, {-9.5, -3.0}};
  const Vec2 trails[] = {{-9.5, -8.0}, {-9.5, -0.5}, {-9.5, 3.5}, {-9.5, 1.0}};
  auto wing = [&](double dx, int bias) {
    const Vec2 root{13.5 + dx, y0 - 2.5 - (bias < 0 ? 0.5 : 0)};
    const Vec2 tip{root.x + tips[step].x, root.y + tips[step].y};
    const Vec2 trail{root.x + trails[step].x, root.y + trails[step].y};
    const Vec2 back{root.x - 5.0, root.y + 1.0};
    const std::vector<Vec2> w = {root, tip, trail, back};
    Paint(f, Plate(w, 1.5), pal::kMagenta, {.bias = bias, .seams = false, .contrast = 0.5});
    // Veins from the root to the tip and to the trailing corner.
    const Pixel vein = pal::kMagentaArray[bias > 0 ? 4 : 2];
    Line(f, static_cast<int>(root.x - 1), static_cast<int>(root.y), static_cast<int>(tip.x),
         static_cast<int>(tip.y), vein);
    Line(f, static_cast<int>(root.x - 2), static_cast<int>(root.y), static_cast<int>(trail.x + 1),
         static_cast<int>(trail.y), vein);
  };
  wing(-1.0, -1);
  // Dangling legs.
  for (int k = 0; k < 3; ++k) {
    const double x = 10.0 + 2.5 * k, sway = (step % 2) * 0.8;
    Paint(f, Limb({x, y0 + 2}, {x - 1.5 - sway, y0 + 6.5}, 0.7, 0.5), pal::kGreen,
          {.bias = -1, .seams = false});
  }
  // Abdomen with its stinger, thorax and head.
  Paint(f, Limb({9.0, y0}, {3.5, y0 + 3.0}, 3.0, 1.3), pal::kGreen, {.bias = 0});
  for (int k = 0; k < 2; ++k) {
    const int x = 4 + 2 * k;
    Line(f, x, static_cast<int>(y0) + 2, x + 1, static_cast<int>(y0) - 1, pal::kGreenArray[0]);
  }
  Paint(f, Limb({2.8, y0 + 3.5}, {2.2, y0 + 6.0}, 0.9, 0.4), pal::kOrange, {.seams = false});
  Paint(f, Ball(12.5, y0 - 0.5, 4.2, 3.4), pal::kGreen, {.bias = 1});
  Paint(f, Ball(18.0, y0 - 1.0, 3.2, 3.0), pal::kGreen, {.bias = 0});
  Eye(f, 19.0, y0 - 1.8, pal::kOrange);
  // Mandibles.
  Line(f, 20, static_cast<int>(y0) + 1, 21, static_cast<int>(y0) + 2, pal::kOrangeArray[3]);
  Line(f, 19, static_cast<int>(y0) + 2, 19, static_cast<int>(y0) + 3, pal::kOrangeArray[2]);
  wing(0, 1);
  Outline(f, pal::kOutline);
  return f;
}

// Kind 1: a small walker under a plated dome; blades bounce off it, lasers do not.
Surface ArmouredFrame(int step) {
  Surface f(21, 27);
  const double bob = (step % 2) * 0.6;
  auto legs = [&](int side) {
    const int bias = side == 0 ? -1 : 0;
    for (int k = 0; k < 3; ++k) {
      const double hipX = 4.6 + 4.3 * k;
      const Stride s = GaitAt(step, kPi * (k % 2) + kPi * side, 1.6, 1.6);
      const Vec2 hip{hipX + side, 18.5 + bob}, foot{hipX + side + s.dx + 0.5, 24.5 - s.lift};
      Paint(f, Limb(hip, foot, 1.4, 1.1), pal::kSteel, {.bias = bias, .seams = side == 1});
      Paint(f, Slab(foot.x - 1.0, foot.y, foot.x + 1.8, foot.y + 1.2, 0.5), pal::kMetal,
            {.bias = bias + 1, .seams = false});
    }
  };
  legs(0);
  // Domed shell: the upper half of an ellipse with a rim along its lower edge.
  Shape shell = Ball(9.6, 17.0 + bob, 7.4, 10.5);
  const auto inShell = shell.contains;
  const double rimY = 18.0 + bob;
  shell.contains = [inShell, rimY](double x, double y, Vec3& n) {
    return y < rimY && inShell(x, y, n);
  };
  shell.bottom = static_cast<int>(rimY);
  Paint(f, shell, pal::kSteel, {.bias = 0});
  Paint(f, Limb({3.2, rimY}, {16.2, rimY}, 1.1, 1.1), pal::kMetal, {.bias = 1});
  // Plate joints across the dome.
  for (int k = 0; k < 3; ++k) {
    const double cx = 5.4 + 4.0 * k;
    for (double a = -1.5; a <= 0.05; a += 0.08) {
      const int x = static_cast<int>(std::floor(cx + 1.4 * std::cos(a)));
      const int y = static_cast<int>(std::floor(17.6 + bob + 10.0 * std::sin(a)));
      if (IsFigure(f, x, y - 1)) Plot(f, x, y, pal::kSteelArray[0]);
    }
  }
  // Spikes along the ridge.
  for (int k = 0; k < 3; ++k) {
    const double x = 5.6 + 4.0 * k, top = 7.4 + bob + (k == 1 ? -0.8 : 0.4);
    const std::vector<Vec2> spike = {
        {x - 1.4, top + 3.2}, {x + 0.4, top - 1.6}, {x + 1.6, top + 3.4}};
    Paint(f, Plate(spike, 0.5), pal::kCyan, {.bias = 0, .seams = false});
  }
  // Head poking out under the front of the shell, with a horn.
  Paint(f, Ball(15.8, 17.6 + bob, 2.8, 2.7), pal::kSteel, {.bias = 1});
  Paint(f, Limb({17.0, 15.8 + bob}, {18.2, 13.4 + bob}, 0.9, 0.4), pal::kSuit, {.seams = false});
  Eye(f, 16.8, 17.4 + bob, pal::kRed);
  legs(1);
  Outline(f, pal::kOutline);
  return f;
}

// Kind 2: a long-legged hopper that bounds over lava; frames run crouch, squash, push, stretch.
Surface HopperFrame(int step) {
  Surface f(24, 40);
  const double bodyY[] = {20.0, 22.0, 17.0, 13.0};
  const double kneeX[] = {16.0, 17.0, 14.5, 11.5};
  const double by = bodyY[step];
  const Vec2 hip{9.5, by + 7.0};
  const Vec2 knee{kneeX[step], (hip.y + 36.0) / 2 + (step == 3 ? 2.0 : 0.0)};
  const Vec2 heel{step == 3 ? 10.0 : 8.0, 35.5};
  // Tail, far leg, body.
  Paint(f, Limb({6.0, by + 6.0}, {2.8, by + 12.0 - step}, 2.2, 0.8), pal::kMagenta, {.bias = -1});
  Paint(f, Limb({hip.x - 0.5, hip.y}, {knee.x - 1.5, knee.y}, 2.6, 1.8), pal::kMagenta,
        {.bias = -2, .seams = false});
  Paint(f, Limb({knee.x - 1.5, knee.y}, {heel.x - 1, heel.y}, 1.6, 1.2), pal::kMagenta,
        {.bias = -2, .seams = false});
  Paint(f, Limb({heel.x - 1, heel.y + 1.6}, {heel.x + 4.5, 38.0}, 1.2, 1.0), pal::kMagenta,
        {.bias = -1, .seams = false});
  Paint(f, Limb({10.0, by + 5.5}, {14.0, by - 1.0}, 4.6, 3.6), pal::kMagenta, {.bias = 0});
  // Pale belly.
  Paint(f, Limb({12.5, by + 6.0}, {16.0, by}, 2.2, 1.6), pal::kOrange, {.bias = 1, .seams = false});
  // Head on a short neck with a wide mouth and eyes on stalks.
  const Vec2 head{17.0, by - 4.5};
  Paint(f, Ball(head.x, head.y, 4.4, 3.2), pal::kMagenta, {.bias = 1});
  Line(f, static_cast<int>(head.x), static_cast<int>(head.y + 1.5), static_cast<int>(head.x + 4),
       static_cast<int>(head.y + 1), pal::kMagentaArray[0]);
  for (int k = 0; k < 2; ++k) {
    const Vec2 eye{head.x - 1.0 + 3.0 * k, head.y - 5.0 + k};
    Paint(f, Limb({head.x - 0.5 + 2.5 * k, head.y - 2.0}, eye, 0.7, 0.6), pal::kMagenta,
          {.bias = 0, .seams = false});
    Eye(f, eye.x, eye.y, pal::kGreen);
  }
  // Little arms: raised while stretching.
  const Vec2 hand = step == 3 ? Vec2{20.0, by - 1.0} : Vec2{19.0, by + 5.0};
  Paint(f, Limb({15.0, by + 2.0}, hand, 1.0, 0.8), pal::kMagenta, {.bias = 1});
  // Near leg: a big thigh, a long shin and a flat foot.
  Paint(f, Limb(hip, knee, 3.2, 2.2), pal::kMagenta, {.bias = 0});
  Paint(f, Limb(knee, heel, 1.9, 1.4), pal::kMagenta, {.bias = 0});
  Paint(f, Limb({heel.x, heel.y + 1.6}, {heel.x + 6.0, 38.0}, 1.4, 1.0), pal::kMagenta,
        {.bias = 1});
  Outline(f, pal::kOutline);
  return f;
}

// Kind 3: a hunched, clawed brute that stalks on two legs.
Surface BruteFrame(int step) {
  Surface f(24, 40);
  const double bob = (step % 2 == 1) ? 1.0 : 0.0;
  const Vec2 hip{9.0, 24.0 + bob};
  auto leg = [&](double phase, int bias) {
    const Stride s = GaitAt(step, phase, 3.6, 2.5);
    const Vec2 foot{hip.x + 1.0 + s.dx, 36.8 - s.lift};
    const Vec2 knee{(hip.x + foot.x) / 2 + 3.0, (hip.y + foot.y) / 2 - 1.0};
    const Vec2 ankle{foot.x - 2.0, foot.y - 1.0};
    Paint(f, Limb(hip, knee, 3.2, 2.2), pal::kOchre, {.bias = bias});
    Paint(f, Limb(knee, ankle, 2.0, 1.5), pal::kOchre, {.bias = bias});
    Paint(f, Limb(ankle, {foot.x + 2.2, 37.6 - s.lift}, 1.4, 1.0), pal::kOchre, {.bias = bias});
    for (int c = 0; c < 2; ++c)
      Plot(f, static_cast<int>(foot.x + 3.0 - c * 1.5), static_cast<int>(38.2 - s.lift),
           pal::kSuitArray[3]);
  };
  auto arm = [&](double phase, int bias) {
    const Stride s = GaitAt(step, phase, 2.0, 0);
    const Vec2 shoulder{14.0, 15.0 + bob}, elbow{15.5 + s.dx * 0.5, 21.5 + bob};
    const Vec2 hand{17.5 + s.dx * 0.7, 24.5 + bob};
    Paint(f, Limb(shoulder, elbow, 2.4, 1.8), pal::kOchre, {.bias = bias});
    Paint(f, Limb(elbow, hand, 1.8, 1.5), pal::kOchre, {.bias = bias});
    for (int c = 0; c < 3; ++c)
      Line(f, static_cast<int>(hand.x + 0.5), static_cast<int>(hand.y) + c - 1,
           static_cast<int>(hand.x + 2.5), static_cast<int>(hand.y) + c, pal::kSuitArray[4 - c]);
  };
  arm(kPi, -2);
  leg(kPi, -2);
  // Humped back and chest.
  Paint(f, Limb({8.0, 22.0 + bob}, {13.0, 15.0 + bob}, 5.6, 5.0), pal::kOchre, {.bias = 0});
  // Dark stripes over the hump.
  for (int k = 0; k < 3; ++k) {
    const int x = 7 + 3 * k;
    Line(f, x, static_cast<int>(12 + bob) + k, x + 1, static_cast<int>(16 + bob) + k,
         pal::kOchreArray[1]);
  }
  // Head thrust forwards with a heavy jaw.
  const Vec2 head{18.0, 13.0 + bob};
  Paint(f, Ball(head.x, head.y, 4.0, 3.4), pal::kOchre, {.bias = 1});
  Paint(f, Ball(head.x + 1.0, head.y + 3.0, 3.0, 1.8), pal::kOchre, {.bias = -1});
  for (int t = 0; t < 3; ++t)
    Plot(f, static_cast<int>(head.x + 0.5 + 1.5 * t), static_cast<int>(head.y + 1.6),
         pal::kStarWhite);
  Eye(f, head.x + 1.0, head.y - 1.2, pal::kRed);
  // Horns swept back.
  Paint(f, Limb({head.x - 1.5, head.y - 2.5}, {head.x - 4.5, head.y - 5.5}, 1.2, 0.6), pal::kOchre,
        {.bias = 2});
  Paint(f, Limb({head.x - 4.5, head.y - 5.5}, {head.x - 6.5, head.y - 4.5}, 0.6, 0.4), pal::kOchre,
        {.bias = 2, .seams = false});
  leg(0, 0);
  arm(0, 0);
  Outline(f, pal::kOutline);
  return f;
}

// Kind 4: a tall walker, a glowing dome carried on four stilt legs. Stored with 16 colours, so
// it keeps to the green and cyan ramps.
Surface StiltFrame(int step) {
  Surface f(25, 39);
  const double bob = (step % 2 == 1) ? -0.8 : 0.0;
  const Vec2 body{12.0, 13.0 + bob};
  for (int k = 0; k < 4; ++k) {
    const bool far = k % 2 == 0;
    const Stride s = GaitAt(step, kPi * (k / 2) + (far ? kPi / 2 : 0), 3.5, 3.0);
    const double hipX = body.x - 3.5 + 7.0 * (k / 2);
    const Vec2 hip{hipX, body.y + 5.0};
    const Vec2 foot{hipX + (k / 2 == 0 ? -2.5 : 2.5) + s.dx, 37.2 - s.lift};
    const Vec2 knee{(hip.x + foot.x) / 2 + (k / 2 == 0 ? -2.0 : 2.0), hip.y + 5.0};
    Paint(f, Limb(hip, knee, 1.4, 1.0), pal::kGreen, {.bias = far ? -1 : 0, .seams = !far});
    Paint(f, Limb(knee, foot, 1.0, 0.7), pal::kGreen, {.bias = far ? -1 : 0, .seams = !far});
  }
  // The underside with hanging feelers, then the dome.
  Paint(f, Ball(body.x, body.y + 4.0, 6.5, 3.0), pal::kGreen, {.bias = -1});
  for (int k = 0; k < 3; ++k) {
    const double x = body.x - 3.0 + 3.0 * k, sway = std::sin(kPi * (step + k) / 2.0);
    Paint(f, Limb({x, body.y + 6.5}, {x + sway, body.y + 11.0}, 0.8, 0.5), pal::kCyan,
          {.bias = -1, .seams = false});
  }
  Paint(f, Ball(body.x, body.y - 1.0, 8.4, 7.2), pal::kCyan, {.bias = -1, .contrast = 1.3});
  // Spots and a band of eyes round the dome.
  const Vec2 spots[] = {{-4.0, -4.0}, {1.0, -5.5}, {-1.5, -1.5}};
  for (const Vec2& s : spots)
    Plot(f, static_cast<int>(body.x + s.x), static_cast<int>(body.y + s.y), pal::kMagentaArray[3]);
  for (int k = 0; k < 3; ++k)
    Plot(f, static_cast<int>(body.x + 3 + 2 * k), static_cast<int>(body.y + 2 - (k == 2 ? 1 : 0)),
         pal::kMagentaArray[4]);
  Outline(f, pal::kOutline);
  return f;
}

}  // namespace

Surface EnemySheet(int kind) {
  std::vector<Surface> frames;
  for (int step = 0; step < 4; ++step) {
    switch (kind) {
      case 0:
        frames.push_back(FlyerFrame(step));
        break;
      case 1:
        frames.push_back(ArmouredFrame(step));
        break;
      case 2:
        frames.push_back(HopperFrame(step));
        break;
      case 3:
        frames.push_back(BruteFrame(step));
        break;
      case 4:
        frames.push_back(StiltFrame(step));
        break;
      default:
        throw std::logic_error("no such enemy kind");
    }
  }
  return WithMaskBelow(JoinFrames(frames));
}

}  // namespace zendor::datagen
