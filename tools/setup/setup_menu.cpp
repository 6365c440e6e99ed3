#include "setup/setup_menu.h"

#include <algorithm>

#include "app/profile.h"
#include "platform/virtual_keys.h"

namespace zendor::setup {
namespace {

constexpr int kRows = static_cast<int>(SetupMenu::Row::Count);

std::string SizeText(const ScreenSize& size) {
  return std::to_string(size.width) + "X" + std::to_string(size.height);
}

std::string OnOff(bool on) {
  return on ? "ON" : "OFF";
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

SetupMenu::SetupMenu(const std::vector<EffectiveValue>& values,
                     std::vector<ScreenSize> desktopSizes) {
  for (const EffectiveValue& v : values) values_.push_back({v.key, v.value});
  changed_.assign(values_.size(), false);
  sizes_.push_back({0, 0});
  std::sort(desktopSizes.begin(), desktopSizes.end(), [](ScreenSize a, ScreenSize b) {
    return a.width != b.width ? a.width < b.width : a.height < b.height;
  });
  for (const ScreenSize& s : desktopSizes) {
    if (s.width > 0 && s.height > 0 && std::find(sizes_.begin(), sizes_.end(), s) == sizes_.end())
      sizes_.push_back(s);
  }
  // A size the file asks for stays on offer even when this screen lacks it.
  const ScreenSize asked{static_cast<int>(LeadingNumber(Current("Ancho"))),
                         static_cast<int>(LeadingNumber(Current("Alto")))};
  if (std::find(sizes_.begin(), sizes_.end(), asked) == sizes_.end()) sizes_.push_back(asked);
}

std::string SetupMenu::Current(const char* key) const {
  for (const Assignment& a : values_) {
    if (std::string_view(a.key.key) == key) return a.value;
  }
  return {};
}

void SetupMenu::SetValue(const char* key, const std::string& value) {
  for (std::size_t i = 0; i < values_.size(); ++i) {
    if (std::string_view(values_[i].key.key) != key) continue;
    values_[i].value = value;
    changed_[i] = true;
  }
}

int SetupMenu::SizeIndex() const {
  const ScreenSize current{static_cast<int>(LeadingNumber(Current("Ancho"))),
                           static_cast<int>(LeadingNumber(Current("Alto")))};
  const auto it = std::find(sizes_.begin(), sizes_.end(), current);
  return it == sizes_.end() ? 0 : static_cast<int>(it - sizes_.begin());
}

SetupMenu::Action SetupMenu::OnKey(int virtualKey) {
  switch (virtualKey) {
    case vk::kUp:
      selected_ = (selected_ + kRows - 1) % kRows;
      break;
    case vk::kDown:
      selected_ = (selected_ + 1) % kRows;
      break;
    case vk::kLeft:
      Change(-1);
      break;
    case vk::kRight:
      Change(+1);
      break;
    case vk::kReturn:
      return Action::Save;
    case vk::kEscape:
      return Action::Leave;
    default:
      break;
  }
  return Action::None;
}

void SetupMenu::Change(int step) {
  auto flip = [&](const char* key) { SetValue(key, LeadingNumber(Current(key)) != 0 ? "0" : "1"); };
  switch (static_cast<Row>(selected_)) {
    case Row::Display:
      flip("DDraw");
      break;
    case Row::FitToScreen: {
      const double fit = LeadingNumber(Current("PantallaCompleta"));
      SetValue("PantallaCompleta", fit == 1 || fit == 2 ? "0" : "1");
      break;
    }
    case Row::ScreenSize: {
      const int count = static_cast<int>(sizes_.size());
      const ScreenSize next =
          sizes_[static_cast<std::size_t>((SizeIndex() + step + count) % count)];
      SetValue("Ancho", std::to_string(next.width));
      SetValue("Alto", std::to_string(next.height));
      break;
    }
    case Row::Difficulty: {
      const double now = LeadingNumber(Current("Dificultad"));
      const int level = now >= 0 && now <= 5 ? static_cast<int>(now) : 0;
      SetValue("Dificultad", std::to_string(std::clamp(level + step, 0, 5)));
      break;
    }
    case Row::Sound:
      flip("SND");
      break;
    case Row::Music:
      flip("MUS");
      break;
    default:
      break;
  }
}

std::string SetupMenu::Label(Row row) const {
  switch (row) {
    case Row::Display:
      return "DISPLAY";
    case Row::FitToScreen:
      return "FIT TO SCREEN";
    case Row::ScreenSize:
      return "SCREEN SIZE";
    case Row::Difficulty:
      return "DIFFICULTY";
    case Row::Sound:
      return "SOUND EFFECTS";
    case Row::Music:
      return "MUSIC";
    default:
      return "SAVE AND LEAVE";
  }
}

std::string SetupMenu::Value(Row row) const {
  const double fit = LeadingNumber(Current("PantallaCompleta"));
  switch (row) {
    case Row::Display:
      return LeadingNumber(Current("DDraw")) != 0 ? "FULL SCREEN" : "WINDOW";
    case Row::FitToScreen:
      return OnOff(fit == 1 || fit == 2);
    case Row::ScreenSize: {
      const ScreenSize& size = sizes_[static_cast<std::size_t>(SizeIndex())];
      return size.width == 0 && size.height == 0 ? "DESKTOP" : SizeText(size);
    }
    case Row::Difficulty:
      return Current("Dificultad");
    case Row::Sound:
      return OnOff(LeadingNumber(Current("SND")) != 0);
    case Row::Music:
      return OnOff(LeadingNumber(Current("MUS")) != 0);
    default:
      return {};
  }
}

std::string SetupMenu::Explanation() const {
  const double fit = LeadingNumber(Current("PantallaCompleta"));
  const bool fitOn = fit == 1 || fit == 2;
  const bool fullScreen = LeadingNumber(Current("DDraw")) != 0;
  // The full-screen canvas has its own size; these two shape the window only.
  const char* const kWindowOnly = "USED WHEN PLAYING IN A WINDOW";
  switch (static_cast<Row>(selected_)) {
    case Row::Display:
      return fullScreen ? "320X200 PICTURE FILLS THE SCREEN" : "THE GAME PLAYS IN A WINDOW";
    case Row::FitToScreen:
      if (fullScreen) return kWindowOnly;
      return fitOn ? "WINDOW ZOOMED TO THE SCREEN SIZE" : "WINDOW AT ITS OWN 256X192 SIZE";
    case Row::ScreenSize: {
      if (fullScreen) return kWindowOnly;
      const ScreenSize& size = sizes_[static_cast<std::size_t>(SizeIndex())];
      if (size.width == 0 && size.height == 0) return "DESKTOP KEPT AS IT IS - ZOOM 1";
      const int zoom = ZoomFor(fitOn, size.width, size.height);
      return "ZOOM " + std::to_string(zoom) + " - WINDOW " + std::to_string(256 * zoom) + "X" +
             std::to_string(192 * zoom);
    }
    case Row::Difficulty: {
      const Difficulty d = DifficultyFor(LeadingNumber(Current("Dificultad")));
      return "UP TO " + std::to_string(d.maxEnemies + 1) + " ENEMIES - " +
             Upper(HowOften(d.rarityScale));
    }
    case Row::Sound:
      return LeadingNumber(Current("SND")) != 0 ? "SHOTS AND BLASTS YOU CAN HEAR"
                                                : "NO SOUND EFFECTS";
    case Row::Music:
      return LeadingNumber(Current("MUS")) != 0 ? "A THEME FOR EVERY SECTION" : "NO MUSIC";
    default:
      return "WRITE THESE SETTINGS FOR THE GAME";
  }
}

std::vector<Assignment> SetupMenu::Changes() const {
  std::vector<Assignment> changes;
  for (std::size_t i = 0; i < values_.size(); ++i) {
    if (changed_[i]) changes.push_back(values_[i]);
  }
  return changes;
}

}  // namespace zendor::setup
