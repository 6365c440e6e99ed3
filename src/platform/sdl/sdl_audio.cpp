#include "platform/sdl/sdl_audio.h"

#include <SDL2/SDL.h>

namespace zendor {

std::shared_ptr<SdlAudioOutput> SdlAudioOutput::Open() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  std::shared_ptr<SdlAudioOutput> output(new SdlAudioOutput);
  SDL_AudioSpec want{};
  want.freq = kRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = AudioMixdown::kBlockFrames;
  want.callback = &SdlAudioOutput::Feed;
  want.userdata = output.get();
  // SDL converts if the device wants something else, so the callback always sees this format.
  output->device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (output->device_ == 0) return nullptr;  // the destructor gives the subsystem back
  SDL_PauseAudioDevice(output->device_, 0);
  return output;
}

SdlAudioOutput::~SdlAudioOutput() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioOutput::Feed(void* self, Uint8* stream, int bytes) {
  auto* output = static_cast<SdlAudioOutput*>(self);
  output->mixdown_.Render(reinterpret_cast<std::int16_t*>(stream), bytes / 4);
}

void SdlAudioOutput::SetEffects(AudioSource* effects) {
  SDL_LockAudioDevice(device_);
  mixdown_.SetEffects(effects);
  SDL_UnlockAudioDevice(device_);
}

void SdlAudioOutput::SetMusic(AudioSource* music) {
  SDL_LockAudioDevice(device_);
  mixdown_.SetMusic(music);
  SDL_UnlockAudioDevice(device_);
}

SdlSoundDevice::SdlSoundDevice(std::shared_ptr<SdlAudioOutput> output)
    : Mixer(SdlAudioOutput::kRate), output_(std::move(output)) {
  output_->SetEffects(this);
}

SdlSoundDevice::~SdlSoundDevice() {
  output_->SetEffects(nullptr);
}

SdlMusicPlayer::SdlMusicPlayer(std::shared_ptr<SdlAudioOutput> output,
                               std::optional<std::filesystem::path> soundFont)
    : FluidMusicPlayer(std::move(soundFont), SdlAudioOutput::kRate), output_(std::move(output)) {
  output_->SetMusic(this);
}

SdlMusicPlayer::~SdlMusicPlayer() {
  output_->SetMusic(nullptr);
}

}  // namespace zendor
