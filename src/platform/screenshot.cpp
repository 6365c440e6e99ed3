#include "platform/screenshot.h"

#include <algorithm>
#include <filesystem>

#include "platform/image_file.h"
#include "platform/user_folders.h"

namespace zendor {
namespace {

constexpr int kPictureWidth = 256;
constexpr int kPictureHeight = 192;

}  // namespace

Surface GamePicture(const Surface& windowScreen) {
  Surface picture(kPictureWidth, kPictureHeight);
  const int zoom = std::max(
      1, std::min(windowScreen.width() / kPictureWidth, windowScreen.height() / kPictureHeight));
  const int left = (windowScreen.width() - kPictureWidth * zoom) / 2;
  const int top = (windowScreen.height() - kPictureHeight * zoom) / 2;
  for (int y = 0; y < kPictureHeight; ++y) {
    const int sy = top + y * zoom;
    if (sy < 0 || sy >= windowScreen.height()) continue;
    for (int x = 0; x < kPictureWidth; ++x) {
      const int sx = left + x * zoom;
      if (sx >= 0 && sx < windowScreen.width()) picture.row(y)[x] = windowScreen.row(sy)[sx];
    }
  }
  return picture;
}

std::optional<std::string> SaveScreenshot(const std::string& folder, std::time_t when,
                                          const Surface& picture, const Surface* asSeen,
                                          std::string* error) {
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  const std::string stem = folder + "/zendor " + DateTimeForFileName(when);
  std::string suffix;
  for (int n = 2; std::filesystem::exists(stem + suffix + ".png") ||
                  std::filesystem::exists(stem + suffix + " (as seen).png");
       ++n) {
    suffix = " " + std::to_string(n);
  }
  const std::string path = stem + suffix + ".png";
  if (!WriteImageFile(path, picture, error)) return std::nullopt;
  if (asSeen && !asSeen->empty() &&
      !WriteImageFile(stem + suffix + " (as seen).png", *asSeen, error)) {
    return std::nullopt;
  }
  return path;
}

}  // namespace zendor
