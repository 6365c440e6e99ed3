#pragma once

// Compares a picture with its committed reference in tests/golden/reference/. When they differ
// it writes "<name>.diff.png" (reference, actual, and the differing pixels in red, side by side)
// to the build's test-output/golden folder and fails, naming that file. UPDATE_GOLDEN=1 rewrites
// the reference instead.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/blit.h"
#include "platform/image_file.h"

namespace zendor::testing {

inline std::filesystem::path GoldenReferencePath(const std::string& name) {
  return std::filesystem::path(ZENDOR_SOURCE_DIR) / "tests" / "golden" / "reference" /
         (name + ".png");
}

inline std::filesystem::path GoldenOutputFolder() {
  return std::filesystem::path(ZENDOR_GAME_DIR).parent_path() / "test-output" / "golden";
}

// Reference | actual | difference (matching pixels dimmed, differing ones red), 4 pixels apart.
inline Surface GoldenDiffImage(const Surface& reference, const Surface& actual) {
  const int w = std::max(reference.width(), actual.width());
  const int h = std::max(reference.height(), actual.height());
  constexpr int kGap = 4;
  Surface diff(3 * w + 2 * kGap, h, Rgb(255, 0, 255));
  BitBlt(diff, 0, 0, w, h, reference, 0, 0, Rop::SrcCopy);
  BitBlt(diff, w + kGap, 0, w, h, actual, 0, 0, Rop::SrcCopy);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool inBoth = reference.contains(x, y) && actual.contains(x, y);
      Pixel shown = Rgb(255, 0, 0);
      if (inBoth && reference.at(x, y) == actual.at(x, y)) {
        const Pixel p = reference.at(x, y);
        shown = Rgb(RedOf(p) / 4, GreenOf(p) / 4, BlueOf(p) / 4);
      }
      diff.set(2 * (w + kGap) + x, y, shown);
    }
  return diff;
}

inline void ExpectMatchesGolden(const Surface& actual, const std::string& name) {
  const auto reference = GoldenReferencePath(name);
  const char* update = std::getenv("UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    std::filesystem::create_directories(reference.parent_path());
    std::string error;
    ASSERT_TRUE(WriteImageFile(reference, actual, &error)) << error;
    std::printf("updated %s\n", reference.string().c_str());
    return;
  }
  const ImageReadResult expected = ReadImageFile(reference);
  if (expected.ok() && expected.surface == actual) return;

  std::filesystem::create_directories(GoldenOutputFolder());
  const auto diffPath = GoldenOutputFolder() / (name + ".diff.png");
  const auto actualPath = GoldenOutputFolder() / (name + ".actual.png");
  WriteImageFile(actualPath, actual, nullptr);
  if (!expected.ok()) {
    ADD_FAILURE() << "no usable reference image: " << expected.error << "; the picture made is "
                  << actualPath << " (UPDATE_GOLDEN=1 writes it as the reference)";
    return;
  }
  WriteImageFile(diffPath, GoldenDiffImage(expected.surface, actual), nullptr);
  long differing = 0;
  int firstX = -1, firstY = -1;
  for (int y = 0; y < std::min(actual.height(), expected.surface.height()); ++y)
    for (int x = 0; x < std::min(actual.width(), expected.surface.width()); ++x)
      if (actual.at(x, y) != expected.surface.at(x, y)) {
        if (differing++ == 0) firstX = x, firstY = y;
      }
  ADD_FAILURE() << name << " differs from its reference: " << actual.width() << " x "
                << actual.height() << " against " << expected.surface.width() << " x "
                << expected.surface.height() << ", " << differing
                << " differing pixels, the first at (" << firstX << ", " << firstY << "); see "
                << diffPath;
}

}  // namespace zendor::testing
