#include "common/sound_system.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "assets/temp_files.h"
#include "common/tracer.h"
#include "platform/platform.h"

namespace zendor {
namespace {

bool InRange(int n, int count) {
  return n >= 0 && n < count;
}

// Names a restored file that is there but cannot be played by the file it came from. A missing
// one has already been accounted for when the files were unpacked.
void ReportUnplayable(const std::string& unpacked, const std::string& shipped,
                      const std::string& error) {
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(unpacked, ec);
  if (ec || status.type() == std::filesystem::file_type::not_found) return;
  std::fprintf(stderr, "zendor: %s: %s; it stays silent\n", shipped.c_str(), error.c_str());
}

}  // namespace

void SoundSystem::LoadSoundsAndMusic(Platform& platform, bool soundOn, bool musicOn,
                                     const std::string& tempFolder,
                                     const std::string& programFolder) {
  auto shipped = [&](const std::string& unpacked, const std::string& stored) {
    return programFolder.empty() ? unpacked : programFolder + stored;
  };
  soundOn_ = soundOn;
  musicOn_ = musicOn;
  buffers_.fill(-1);
  copiedFrom_.fill(-1);
  for (auto& made : copiesMade_) made.clear();
  segments_.fill(-1);
  segmentStates_.fill(-1);
  if (soundOn) {
    device_ = platform.CreateSoundDevice();
    if (!device_) platform.Beep();
  }
  if (soundOn && device_) {
    for (int n = 0; n < kBufferCount; ++n) {
      const std::string path = tempFolder + UnpackedSoundName(n);
      std::string error;
      buffers_[n] = device_->Load(path, &error);
      if (buffers_[n] < 0) ReportUnplayable(path, shipped(path, StoredSoundName(n)), error);
    }
  }
  if (musicOn) {
    music_ = platform.CreateMusicPlayer();
    if (music_) {
      for (int n = 0; n < kThemeCount; ++n) {
        const std::string path = tempFolder + UnpackedThemeName(n);
        std::string error;
        segments_[n] = music_->Load(path, &error);
        if (segments_[n] < 0) ReportUnplayable(path, shipped(path, StoredThemeName(n)), error);
      }
      music_->ThemesLoaded();
      music_->SetMasterVolume(masterVolume_);
    }
  }
}

SoundDevice::Buffer SoundSystem::buffer(int n) const {
  return device_ && InRange(n, kBufferCount) ? buffers_[n] : -1;
}

MusicPlayer::Segment SoundSystem::segment(int theme) const {
  return music_ && InRange(theme, kThemeCount) ? segments_[theme] : -1;
}

void SoundSystem::Play(int n, bool loop) {
  if (traceSound()) tracer_.Sound("play", n, std::nullopt, loop);
  if (const auto b = buffer(n); b >= 0) device_->Play(b, loop);
}

void SoundSystem::Stop(int n) {
  if (traceSound()) tracer_.Sound("stop", n, std::nullopt, std::nullopt);
  if (const auto b = buffer(n); b >= 0) device_->Stop(b);
}

void SoundSystem::Rewind(int n) {
  if (traceSound()) tracer_.Sound("rewind", n, std::nullopt, std::nullopt);
  if (const auto b = buffer(n); b >= 0) device_->SetPosition(b, 0);
}

void SoundSystem::SetVolume(int n, int v) {
  if (traceSound()) tracer_.Sound("volume", n, v, std::nullopt);
  if (const auto b = buffer(n); b >= 0) {
    device_->SetVolume(b, v);
    settings_[n].volume = v;
  }
}

void SoundSystem::SetPan(int n, int v) {
  if (traceSound()) tracer_.Sound("pan", n, v, std::nullopt);
  if (const auto b = buffer(n); b >= 0) {
    device_->SetPan(b, v);
    settings_[n].pan = v;
  }
}

void SoundSystem::SetFrequency(int n, int hz) {
  if (traceSound()) tracer_.Sound("frequency", n, hz, std::nullopt);
  if (const auto b = buffer(n); b >= 0) {
    device_->SetFrequency(b, hz);
    settings_[n].frequency = hz;
  }
}

void SoundSystem::Restart(int n, std::optional<int> hz) {
  Stop(n);
  Rewind(n);
  if (hz) SetFrequency(n, *hz);
  Play(n, false);
}

void SoundSystem::Duplicate(int n, int from) {
  if (traceSound()) tracer_.Sound("duplicate", n, from, std::nullopt);
  if (!device_ || !InRange(n, kBufferCount)) return;
  const auto source = buffer(from);
  if (source < 0) {  // a copy of nothing is nothing
    if (buffers_[n] >= 0) device_->Stop(buffers_[n]);
    buffers_[n] = -1;
    copiedFrom_[n] = -1;
    return;
  }
  const auto old = buffers_[n];
  if (old >= 0 && copiedFrom_[n] == from) {
    // The same sound as before: the old copy, silenced and set back, is as good as a new one.
    device_->Stop(old);
    device_->SetPosition(old, 0);
  } else {
    if (old >= 0) device_->Stop(old);  // a copy of something else: it falls silent
    auto& made = copiesMade_[n];
    if (const auto earlier = made.find(source); earlier != made.end()) {
      buffers_[n] = earlier->second;
      device_->Stop(buffers_[n]);
      device_->SetPosition(buffers_[n], 0);
    } else {
      buffers_[n] = device_->Duplicate(source);
      if (buffers_[n] >= 0) made[source] = buffers_[n];
    }
    copiedFrom_[n] = buffers_[n] >= 0 ? from : -1;
    if (buffers_[n] < 0) return;
  }
  // A copy starts with the volume, pan and frequency of what it copies.
  settings_[n] = settings_[from];
  device_->SetVolume(buffers_[n], settings_[n].volume);
  device_->SetPan(buffers_[n], settings_[n].pan);
  device_->SetFrequency(buffers_[n], settings_[n].frequency);
}

bool SoundSystem::IsPlaying(int n) const {
  const auto b = buffer(n);
  return b >= 0 && device_->IsPlaying(b);
}

void SoundSystem::SetRepeats(int theme, int repeats) {
  if (const auto s = segment(theme); s >= 0) music_->SetRepeats(s, repeats);
}

void SoundSystem::SetLoop(int theme, bool loop) {
  if (const auto s = segment(theme); s >= 0) music_->SetLoop(s, loop);
}

void SoundSystem::PlayTheme(int theme, int flags) {
  if (musicOn_) tracer_.Music("play", theme, std::nullopt);
  if (const auto s = segment(theme); s >= 0) segmentStates_[theme] = music_->Play(s, flags);
}

void SoundSystem::StopTheme(int theme) {
  if (musicOn_) tracer_.Music("stop", theme, std::nullopt);
  if (const auto s = segment(theme); s >= 0) music_->Stop(s, segmentStates_[theme]);
}

void SoundSystem::SetMasterVolume(int hundredthsDb) {
  if (musicOn_) tracer_.Music("volume", std::nullopt, hundredthsDb);
  masterVolume_ = hundredthsDb;
  if (music_) music_->SetMasterVolume(hundredthsDb);
}

}  // namespace zendor
