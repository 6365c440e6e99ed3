#include "platform/sdl/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/whole_file.h"

namespace zendor {
namespace {

constexpr int kMinFrequency = 100;
constexpr int kMaxFrequency = 200000;
constexpr std::uint64_t kOne = std::uint64_t{1} << 32;  // one frame in 32.32 fixed point
constexpr float kFraction = 1.0f / 4294967296.0f;

std::int16_t SampleAt(const std::vector<std::uint8_t>& data, std::size_t index, int bits) {
  if (bits == 8) return static_cast<std::int16_t>((data[index] - 128) * 256);
  return static_cast<std::int16_t>(data[2 * index] | (data[2 * index + 1] << 8));
}

}  // namespace

float GainFromHundredthsDb(int hundredthsDb) {
  if (hundredthsDb <= SoundDevice::kSilent) return 0.0f;
  return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

// A loaded sound, converted once to interleaved 16-bit stereo.
struct Mixer::Sound {
  std::vector<std::int16_t> samples;
  std::uint32_t frameCount = 0;
  int rate = 0;
  int bytesPerFrame = 0;  // of the file's own format: positions arrive in those bytes
};

struct Mixer::Slot {
  const Sound* sound = nullptr;  // set before the slot is published, read-only afterwards

  // What the game asks for. Every Play takes a new serial, so the audio thread can tell a fresh
  // request from one it has already taken even when the flags look the same.
  std::atomic<std::uint32_t> playSerial{0};
  std::atomic<bool> wantPlaying{false};
  std::atomic<bool> wantLoop{false};
  std::atomic<std::uint32_t> positionSerial{0};
  std::atomic<std::uint32_t> positionFrame{0};
  std::atomic<int> volume{0};
  std::atomic<int> pan{0};
  std::atomic<int> frequency{0};

  // The audio thread's answer: the serial of the play that ran out at the end of the sound.
  std::atomic<std::uint32_t> endedSerial{0};

  // The game thread's own record of what it asked for.
  struct {
    std::uint32_t playSerial = 0;
    bool playing = false;
    int volume = 0;
    int pan = 0;
    int frequency = 0;
  } game;

  // The voice as the audio thread plays it.
  struct {
    bool playing = false;
    bool looping = false;
    std::uint32_t playSerial = 0;
    std::uint32_t positionSerial = 0;
    std::uint64_t position = 0;  // frames, 32.32 fixed point
    std::uint64_t step = kOne;
    int volume = 0, pan = 0, frequency = 0;
    float gainLeft = 1.0f, gainRight = 1.0f;      // where the last block ended
    float targetLeft = 1.0f, targetRight = 1.0f;  // where the next block must end
  } voice;
};

Mixer::Mixer(int outputRate) : outputRate_(outputRate), slots_(new Slot[kMaxBuffers]) {}

Mixer::~Mixer() = default;

SoundDevice::Buffer Mixer::Load(const std::string& wavPath, std::string* error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(wavPath, bytes, kLargestGameFile, error)) return -1;
  const auto sound = ParseWav(bytes, error);
  if (!sound) return -1;
  return Add(*sound);
}

SoundDevice::Buffer Mixer::Add(const WavSound& wav) {
  if (slotCount_.load(std::memory_order_relaxed) >= kMaxBuffers) return -1;
  auto sound = std::make_unique<Sound>();
  const std::size_t frames = wav.data.size() / static_cast<std::size_t>(wav.bytesPerFrame());
  sound->frameCount = static_cast<std::uint32_t>(frames);
  sound->rate = wav.sampleRate;
  sound->bytesPerFrame = wav.bytesPerFrame();
  sound->samples.resize(frames * 2);
  for (std::size_t f = 0; f < frames; ++f) {
    const std::size_t first = f * static_cast<std::size_t>(wav.channels);
    const std::int16_t left = SampleAt(wav.data, first, wav.bitsPerSample);
    const std::int16_t right =
        wav.channels == 2 ? SampleAt(wav.data, first + 1, wav.bitsPerSample) : left;
    sound->samples[2 * f] = left;
    sound->samples[2 * f + 1] = right;
  }
  sounds_.push_back(std::move(sound));
  return Publish(sounds_.back().get());
}

SoundDevice::Buffer Mixer::Duplicate(Buffer original) {
  const Slot* source = find(original);
  if (!source || slotCount_.load(std::memory_order_relaxed) >= kMaxBuffers) return -1;
  const Buffer copy = Publish(source->sound);
  // The copy starts stopped at the beginning, with the original's volume, pan and frequency.
  SetVolume(copy, source->game.volume);
  SetPan(copy, source->game.pan);
  SetFrequency(copy, source->game.frequency);
  return copy;
}

SoundDevice::Buffer Mixer::Publish(const Sound* sound) {
  const int index = slotCount_.load(std::memory_order_relaxed);
  slots_[index].sound = sound;
  slotCount_.store(index + 1, std::memory_order_release);
  return index;
}

void Mixer::Play(Buffer buffer, bool loop) {
  Slot* slot = find(buffer);
  if (!slot) return;
  slot->game.playing = true;
  const std::uint32_t serial = ++slot->game.playSerial;
  slot->wantLoop.store(loop, std::memory_order_relaxed);
  slot->wantPlaying.store(true, std::memory_order_relaxed);
  slot->playSerial.store(serial, std::memory_order_release);
}

void Mixer::Stop(Buffer buffer) {
  Slot* slot = find(buffer);
  if (!slot) return;
  slot->game.playing = false;
  slot->wantPlaying.store(false, std::memory_order_release);
}

void Mixer::SetPosition(Buffer buffer, std::uint32_t bytes) {
  Slot* slot = find(buffer);
  if (!slot) return;
  const std::uint32_t frame = std::min(
      bytes / static_cast<std::uint32_t>(slot->sound->bytesPerFrame), slot->sound->frameCount);
  slot->positionFrame.store(frame, std::memory_order_relaxed);
  slot->positionSerial.fetch_add(1, std::memory_order_release);
}

void Mixer::SetVolume(Buffer buffer, int hundredthsDb) {
  Slot* slot = find(buffer);
  if (!slot) return;
  slot->game.volume = std::clamp(hundredthsDb, SoundDevice::kSilent, 0);
  slot->volume.store(slot->game.volume, std::memory_order_relaxed);
}

void Mixer::SetPan(Buffer buffer, int hundredthsDb) {
  Slot* slot = find(buffer);
  if (!slot) return;
  slot->game.pan = std::clamp(hundredthsDb, SoundDevice::kLeftOnly, SoundDevice::kRightOnly);
  slot->pan.store(slot->game.pan, std::memory_order_relaxed);
}

void Mixer::SetFrequency(Buffer buffer, int hz) {
  Slot* slot = find(buffer);
  if (!slot) return;
  slot->game.frequency = hz == 0 ? 0 : std::clamp(hz, kMinFrequency, kMaxFrequency);
  slot->frequency.store(slot->game.frequency, std::memory_order_relaxed);
}

bool Mixer::IsPlaying(Buffer buffer) const {
  const Slot* slot = find(buffer);
  return slot && slot->game.playing &&
         slot->endedSerial.load(std::memory_order_acquire) != slot->game.playSerial;
}

int Mixer::Volume(Buffer buffer) const {
  const Slot* slot = find(buffer);
  return slot ? slot->game.volume : SoundDevice::kSilent;
}

Mixer::Slot* Mixer::find(Buffer buffer) {
  return const_cast<Slot*>(static_cast<const Mixer*>(this)->find(buffer));
}

const Mixer::Slot* Mixer::find(Buffer buffer) const {
  if (buffer < 0 || buffer >= slotCount_.load(std::memory_order_relaxed)) return nullptr;
  return &slots_[buffer];
}

void Mixer::MixInto(float* stereo, int frames) {
  const int count = slotCount_.load(std::memory_order_acquire);
  for (int i = 0; i < count; ++i) {
    TakeRequests(slots_[i]);
    MixVoice(slots_[i], stereo, frames);
  }
}

void Mixer::TakeRequests(Slot& slot) {
  auto& voice = slot.voice;
  bool fresh = false;
  // The play request first: whatever the game set before it (the position) is visible with it.
  const std::uint32_t serial = slot.playSerial.load(std::memory_order_acquire);
  const bool want = slot.wantPlaying.load(std::memory_order_acquire);
  if (serial != voice.playSerial) {
    voice.playSerial = serial;
    if (want) {
      voice.looping = slot.wantLoop.load(std::memory_order_relaxed);
      fresh = !voice.playing;
      voice.playing = true;  // a playing voice goes on where it is
    }
  }
  if (!want) voice.playing = false;  // stopping keeps the position

  const std::uint32_t positionSerial = slot.positionSerial.load(std::memory_order_acquire);
  if (positionSerial != voice.positionSerial) {
    voice.positionSerial = positionSerial;
    voice.position = std::uint64_t{slot.positionFrame.load(std::memory_order_relaxed)} << 32;
  }

  const int frequency = slot.frequency.load(std::memory_order_relaxed);
  if (frequency != voice.frequency || fresh) {
    voice.frequency = frequency;
    const int rate = frequency == 0 ? slot.sound->rate : frequency;
    voice.step = (std::uint64_t(rate) << 32) / static_cast<std::uint64_t>(outputRate_);
  }
  const int volume = slot.volume.load(std::memory_order_relaxed);
  const int pan = slot.pan.load(std::memory_order_relaxed);
  if (volume != voice.volume || pan != voice.pan || fresh) {
    voice.volume = volume;
    voice.pan = pan;
    // Pan only ever lowers the opposite side: pan +p takes p hundredths of a decibel off the left.
    voice.targetLeft =
        GainFromHundredthsDb(std::max(volume + std::min(0, -pan), SoundDevice::kSilent));
    voice.targetRight =
        GainFromHundredthsDb(std::max(volume + std::min(0, pan), SoundDevice::kSilent));
  }
  if (fresh) {  // a sound that starts takes its level at once; a playing one glides to it
    voice.gainLeft = voice.targetLeft;
    voice.gainRight = voice.targetRight;
  }
}

void Mixer::MixVoice(Slot& slot, float* stereo, int frames) {
  auto& voice = slot.voice;
  if (!voice.playing) return;
  const Sound& sound = *slot.sound;
  const std::uint64_t length = std::uint64_t{sound.frameCount} << 32;
  const auto runOut = [&] {
    voice.playing = false;
    voice.position = 0;  // a sound that played to its end starts again from the beginning
    slot.endedSerial.store(voice.playSerial, std::memory_order_release);
  };
  if (length == 0) return runOut();

  const bool silent = voice.gainLeft == 0.0f && voice.gainRight == 0.0f &&
                      voice.targetLeft == 0.0f && voice.targetRight == 0.0f;
  if (silent) {  // nothing to hear, but the sound moves on as if it were heard
    voice.position += voice.step * static_cast<std::uint64_t>(frames);
    if (voice.position >= length) {
      if (voice.looping) {
        voice.position %= length;
      } else {
        runOut();
      }
    }
    return;
  }

  const std::int16_t* samples = sound.samples.data();
  const std::uint32_t last = sound.frameCount - 1;
  const float stepLeft = (voice.targetLeft - voice.gainLeft) / static_cast<float>(frames);
  const float stepRight = (voice.targetRight - voice.gainRight) / static_cast<float>(frames);
  float gainLeft = voice.gainLeft;
  float gainRight = voice.gainRight;
  std::uint64_t position = voice.position;
  const auto mix = [&](int i, std::uint32_t index, std::uint32_t next) {
    const float fraction = static_cast<float>(position & 0xFFFFFFFFu) * kFraction;
    const float left = samples[2 * index] + (samples[2 * next] - samples[2 * index]) * fraction;
    const float right =
        samples[2 * index + 1] + (samples[2 * next + 1] - samples[2 * index + 1]) * fraction;
    gainLeft += stepLeft;
    gainRight += stepRight;
    stereo[2 * i] += left * gainLeft;
    stereo[2 * i + 1] += right * gainRight;
    position += voice.step;
  };
  const std::uint64_t lastFrame = std::uint64_t{last} << 32;
  for (int i = 0; i < frames;) {
    if (position >= length) {
      if (!voice.looping) {
        runOut();
        break;
      }
      position %= length;
    }
    if (position >= lastFrame) {  // the last frame: its neighbour is the first, or itself
      mix(i++, last, voice.looping ? 0 : last);
      continue;
    }
    // Up to the last frame every frame's neighbour is the next one: no checks on the way.
    const std::uint64_t before = voice.step == 0
                                     ? std::uint64_t(frames - i)
                                     : (lastFrame - position + voice.step - 1) / voice.step;
    const int end = i + static_cast<int>(std::min<std::uint64_t>(before, frames - i));
    for (; i < end; ++i) {
      const auto index = static_cast<std::uint32_t>(position >> 32);
      mix(i, index, index + 1);
    }
  }
  if (voice.playing) voice.position = position;
  voice.gainLeft = voice.targetLeft;
  voice.gainRight = voice.targetRight;
}

}  // namespace zendor
