#include "platform/user_folders.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace zendor {
namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : ".";
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::string PicturesFolder() {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> tool(
      popen("xdg-user-dir PICTURES 2>/dev/null", "r"), &pclose);
  std::string answer;
  if (tool) {
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, tool.get())) answer += buffer;
  }
  while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
  if (answer.empty() || answer[0] != '/') return WithoutTrailingSlash(HomeFolder());
  return WithoutTrailingSlash(answer);
}

std::string UserDataFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  const std::string base =
      data && *data == '/' ? std::string(data) : HomeFolder() + "/.local/share";
  return WithoutTrailingSlash(base) + "/zendor-vostrik";
}

std::string DateTimeForFileName(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H-%M-%S", &local);
  return text;
}

}  // namespace zendor
