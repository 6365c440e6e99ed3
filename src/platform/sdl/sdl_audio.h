#pragma once

#include <SDL2/SDL_audio.h>

#include <filesystem>
#include <memory>
#include <optional>

#include "platform/sdl/audio_mixdown.h"
#include "platform/sdl/fluid_music_player.h"
#include "platform/sdl/mixer.h"

namespace zendor {

// The one SDL audio stream of the game: 44,100 Hz, 16-bit stereo, blocks of 1,024 frames. The
// sound effects and the music are both mixed into it by its callback.
class SdlAudioOutput {
 public:
  static constexpr int kRate = 44100;

  // Nullptr when SDL cannot open an audio device (the reason is in SDL_GetError).
  static std::shared_ptr<SdlAudioOutput> Open();
  ~SdlAudioOutput();
  SdlAudioOutput(const SdlAudioOutput&) = delete;
  SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

  // Connect or disconnect (nullptr) a source; returns once the callback has let go of the old one.
  void SetEffects(AudioSource* effects);
  void SetMusic(AudioSource* music);

 private:
  SdlAudioOutput() = default;
  static void SDLCALL Feed(void* self, Uint8* stream, int bytes);

  SDL_AudioDeviceID device_ = 0;
  AudioMixdown mixdown_{kRate};
};

// The sound-effect device: the mixer, heard through the shared audio stream.
class SdlSoundDevice final : public Mixer {
 public:
  explicit SdlSoundDevice(std::shared_ptr<SdlAudioOutput> output);
  ~SdlSoundDevice() override;

 private:
  std::shared_ptr<SdlAudioOutput> output_;
};

// The music player, heard through the shared audio stream.
class SdlMusicPlayer final : public FluidMusicPlayer {
 public:
  SdlMusicPlayer(std::shared_ptr<SdlAudioOutput> output,
                 std::optional<std::filesystem::path> soundFont);
  ~SdlMusicPlayer() override;

 private:
  std::shared_ptr<SdlAudioOutput> output_;
};

}  // namespace zendor
